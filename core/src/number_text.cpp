#include "pelorin/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace pelorin {
namespace {

constexpr int kGeneralDigits = 15;
constexpr int kPlainMinExponent = -4;  // 0.0001 is plain, 0.00001 becomes 1E-05
constexpr int kPlainMaxExponent = kGeneralDigits - 1;
constexpr int kFixedDecimals = 3;

void appendWithSeparator(std::string& out, std::string_view text, std::string_view separator) {
    for (const char c : text) {
        if (c == '.') {
            out.append(separator);
        } else {
            out.push_back(c);
        }
    }
}

bool appendNonFinite(std::string& out, double value) {
    if (std::isnan(value)) {
        out.append("NaN");
        return true;
    }
    if (std::isinf(value)) {
        out.append(value < 0 ? "-Inf" : "Inf");
        return true;
    }
    return false;
}

// The significant digits (no trailing zeros) and decimal exponent of |value| rounded to 15
// significant digits: value = 0.d1d2d3... x 10^(exponent + 1).
struct Digits {
    char digits[kGeneralDigits + 1];
    int count;
    int exponent;
};

Digits significantDigits(double magnitude) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   kGeneralDigits - 1);
    Digits d{};
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits[d.count++] = *p;
        }
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, d.exponent);
    while (d.count > 1 && d.digits[d.count - 1] == '0') {
        --d.count;
    }
    return d;
}

void appendPlain(std::string& out, const Digits& d, std::string_view separator) {
    if (d.exponent < 0) {
        out.push_back('0');
        out.append(separator);
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out.append(d.digits, static_cast<std::size_t>(d.count));
        return;
    }
    const int integerDigits = d.exponent + 1;
    for (int k = 0; k < integerDigits; ++k) {
        out.push_back(k < d.count ? d.digits[k] : '0');
    }
    if (d.count > integerDigits) {
        out.append(separator);
        out.append(d.digits + integerDigits, static_cast<std::size_t>(d.count - integerDigits));
    }
}

void appendExponent(std::string& out, const Digits& d, std::string_view separator) {
    out.push_back(d.digits[0]);
    if (d.count > 1) {
        out.append(separator);
        out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    out.push_back('E');
    out.push_back(d.exponent < 0 ? '-' : '+');
    const int e = std::abs(d.exponent);
    if (e < 10) {
        out.push_back('0');
    }
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, e);
    out.append(buf, res.ptr);
}

}  // namespace

std::string FormatFixed3(double value, std::string_view decimalSeparator) {
    std::string out;
    if (appendNonFinite(out, value)) {
        return out;
    }
    char buf[400];  // enough for any finite double in fixed notation
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, kFixedDecimals);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    if (text == "-0.000") {
        text.remove_prefix(1);
    }
    appendWithSeparator(out, text, decimalSeparator);
    return out;
}

void AppendGeneral(std::string& out, double value, std::string_view decimalSeparator) {
    if (appendNonFinite(out, value)) {
        return;
    }
    if (value == 0.0) {
        out.push_back('0');
        return;
    }
    if (value < 0) {
        out.push_back('-');
    }
    const Digits d = significantDigits(std::fabs(value));
    if (d.exponent >= kPlainMinExponent && d.exponent <= kPlainMaxExponent) {
        appendPlain(out, d, decimalSeparator);
    } else {
        appendExponent(out, d, decimalSeparator);
    }
}

std::string FormatGeneral(double value, std::string_view decimalSeparator) {
    std::string out;
    AppendGeneral(out, value, decimalSeparator);
    return out;
}

std::string FormatShortest(double value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

char* WriteShortestWhole(char* out, std::int32_t value) {
    constexpr std::ptrdiff_t kExponentFormExtra = 4;  // "e+09": an int32 has at most 10 digits
    // The exponent form saves characters only from five trailing zeros on ("1e+05").
    constexpr std::int32_t kFewestZerosShorter = 100000;
    if (value % kFewestZerosShorter != 0) {
        return std::to_chars(out, out + kMaxWholeText, value).ptr;
    }
    char buf[kMaxWholeText];
    char* const end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    const char* const first = buf + (value < 0 ? 1 : 0);
    const char* last = end;  // after the last digit that is not a trailing zero
    while (last - first > 1 && last[-1] == '0') {
        --last;
    }
    const std::ptrdiff_t significant = last - first;
    const std::ptrdiff_t exponentForm =
        significant + (significant > 1 ? 1 : 0) + kExponentFormExtra;
    if (exponentForm >= end - first) {  // a tie goes to the plain digits
        return std::copy(buf, end, out);
    }
    out = std::copy(static_cast<const char*>(buf), first + 1, out);  // sign and first digit
    if (significant > 1) {
        *out++ = '.';
        out = std::copy(first + 1, last, out);
    }
    const auto exponent = static_cast<int>(end - first - 1);
    *out++ = 'e';
    *out++ = '+';
    *out++ = static_cast<char>('0' + exponent / 10);
    *out++ = static_cast<char>('0' + exponent % 10);
    return out;
}

std::int32_t RoundHalfEven32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(r);
}

std::string FormatInteger(std::int64_t value) {
    std::string out;
    AppendInteger(out, value);
    return out;
}

std::string CountText(std::int64_t n, std::string_view singular, std::string_view plural) {
    std::string text = FormatInteger(n);
    text.append(" ").append(n == 1 ? singular : plural);
    return text;
}

std::string CountText(std::int64_t n, std::string_view noun) {
    return CountText(n, noun, std::string(noun) + 's');
}

void AppendInteger(std::string& out, std::int64_t value) {
    char buf[kMaxIntegerText];
    out.append(buf, WriteInteger(buf, value));
}

char* WriteInteger(char* out, std::int64_t value) {
    return std::to_chars(out, out + kMaxIntegerText, value).ptr;
}

}  // namespace pelorin
