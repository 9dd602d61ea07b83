#pragma once

#include <cstdint>
#include <string_view>

// Reading code points out of UTF-8 or UTF-16 text. Only what the decoder needs: one character
// per code point, and one per code unit that is not part of a well-formed sequence, so that
// damaged input is counted, never skipped.
namespace pelorin::unicode {

inline constexpr char32_t kReplacement = 0xFFFD;

// Upper-cases ASCII letters only. No other character's upper case is a hexadecimal digit or
// a marker character, so this decides everything a full case mapping would, and it never
// changes the number of characters.
constexpr char32_t upperAscii(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - 0x20 : c;
}

template <typename Unit>
class CharReader;

template <>
class CharReader<char16_t> {
  public:
    explicit CharReader(std::u16string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    char32_t next() {
        const char16_t c = text_[pos_++];
        if (c >= 0xD800 && c <= 0xDBFF && pos_ < text_.size()) {
            const char16_t low = text_[pos_];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++pos_;
                return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return c;  // lone surrogates stand for themselves, one character each
    }

  private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

template <>
class CharReader<char> {
  public:
    explicit CharReader(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    char32_t next() {
        const auto lead = static_cast<unsigned char>(text_[pos_++]);
        if (lead < 0x80) {
            return lead;
        }
        int trail = 0;
        char32_t c = 0;
        char32_t min = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1, c = lead & 0x1F, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2, c = lead & 0x0F, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3, c = lead & 0x07, min = 0x10000;
        } else {
            return kReplacement;
        }
        if (text_.size() - pos_ < static_cast<std::size_t>(trail)) {
            return kReplacement;
        }
        for (int k = 0; k < trail; ++k) {
            const auto t = static_cast<unsigned char>(text_[pos_ + k]);
            if ((t & 0xC0) != 0x80) {
                return kReplacement;
            }
            c = (c << 6) | (t & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return kReplacement;
        }
        pos_ += trail;
        return c;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace pelorin::unicode
