#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin {

// All number texts are made here, locale-free; the decimal separator is always given by the
// caller (the user's regional one in the window, "." or "," in files).

// The pattern "0.000": at least one integer digit, exactly three decimals, "-" for negatives,
// no grouping. A value that rounds to zero is written without a sign.
std::string FormatFixed3(double value, std::string_view decimalSeparator);

// The general text of a double with at most 15 significant digits: no trailing zeros, no
// separator for whole numbers, plain from 0.0001 up to 15 integer digits, else "1.5E-07",
// "1E+15" style. NaN and infinities give "NaN", "Inf", "-Inf".
std::string FormatGeneral(double value, std::string_view decimalSeparator);
// Appends FormatGeneral's text to `out` without a temporary string.
void AppendGeneral(std::string& out, double value, std::string_view decimalSeparator);

// The shortest text that reads back as the same double ("." separator, as JSON wants).
std::string FormatShortest(double value);
// FormatShortest's text of a whole number, made from its digits: them, or the exponent form
// where that is shorter ("1e+05", "1.2e+07"). Writes at most kMaxWholeText characters at `out`;
// returns the end of the text.
inline constexpr std::size_t kMaxWholeText = 16;
char* WriteShortestWhole(char* out, std::int32_t value);

// Rounds to the nearest 32-bit integer, halves to the even neighbour; saturates outside the
// 32-bit range, NaN gives 0.
std::int32_t RoundHalfEven32(double value);

// Plain decimal text of a whole number: "-" for negatives, no grouping, no padding.
std::string FormatInteger(std::int64_t value);
// Appends FormatInteger's text to `out` without a temporary string.
void AppendInteger(std::string& out, std::int64_t value);
// Writes FormatInteger's text, at most kMaxIntegerText characters, at `out`; returns its end.
inline constexpr std::size_t kMaxIntegerText = 20;
char* WriteInteger(char* out, std::int64_t value);

// A count with its noun: "1 line", "2 lines", "0 lines"; `singular` for 1, else `plural`.
std::string CountText(std::int64_t n, std::string_view singular, std::string_view plural);
// The same for a noun whose plural adds an "s".
std::string CountText(std::int64_t n, std::string_view noun);

}  // namespace pelorin
