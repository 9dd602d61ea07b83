#include "pelorin/encoding_source.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "pelorin/unicode_chars.h"

namespace pelorin {
namespace {

constexpr std::size_t kReadBytes = std::size_t{1} << 16;
constexpr std::size_t kMarkBytes = 4;  // the longest byte order mark
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kHighSurrogate = 0xD800;
constexpr char32_t kLowSurrogate = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;

}  // namespace

// The byte order marks, UTF-32 first: its little-endian mark begins with UTF-16's.
struct EncodingSource::Mark {
    std::string_view bytes;
    Encoding encoding;
};

const EncodingSource::Mark* EncodingSource::MarkOf(std::string_view firstBytes) {
    using namespace std::string_view_literals;
    static constexpr std::array<Mark, 4> kMarks = {{{"\xFF\xFE\x00\x00"sv, Encoding::Utf32Le},
                                                    {"\x00\x00\xFE\xFF"sv, Encoding::Utf32Be},
                                                    {"\xFF\xFE"sv, Encoding::Utf16Le},
                                                    {"\xFE\xFF"sv, Encoding::Utf16Be}}};
    for (const Mark& mark : kMarks) {
        if (firstBytes.substr(0, mark.bytes.size()) == mark.bytes) {
            return &mark;
        }
    }
    return nullptr;
}

bool IsWideText(std::string_view firstBytes) {
    return EncodingSource::MarkOf(firstBytes) != nullptr;
}

ReadOutcome EncodingSource::read(char* buffer, std::size_t capacity) {
    // UTF-8 passes straight through, uncopied, once the bytes read to tell it are handed out.
    if (encoding_ == Encoding::Utf8 && handed_ == text_.size()) {
        return source_.read(buffer, capacity);
    }
    // A read that brought only part of the mark or of a unit is not yet the end of the data.
    while (handed_ == text_.size()) {
        text_.clear();
        handed_ = 0;
        const ReadOutcome outcome = fill();
        if (outcome.error != 0 || (outcome.bytes == 0 && text_.empty())) {
            return {0, outcome.error};
        }
    }
    const std::size_t n = std::min(capacity, text_.size() - handed_);
    std::memcpy(buffer, text_.data() + handed_, n);
    handed_ += n;
    return {n, 0};
}

// Reads once from the source and converts what can be; at the end of the data also what is
// left of a cut-off unit. Returns the source's outcome.
ReadOutcome EncodingSource::fill() {
    const std::size_t kept = raw_.size();
    raw_.resize(kept + kReadBytes);
    const ReadOutcome outcome = source_.read(raw_.data() + kept, kReadBytes);
    raw_.resize(kept + outcome.bytes);
    if (outcome.error != 0) {
        return outcome;
    }
    const bool atEnd = outcome.bytes == 0;
    if (encoding_ == Encoding::Unknown) {
        detect(atEnd);
    }
    if (encoding_ == Encoding::Utf8) {
        text_.swap(raw_);
        raw_.clear();
    } else if (encoding_ != Encoding::Unknown) {
        convert(atEnd);
    }
    return outcome;
}

// The mark needs its four bytes, or the end of the text, to tell UTF-32 LE from UTF-16 LE.
void EncodingSource::detect(bool atEnd) {
    if (raw_.size() < kMarkBytes && !atEnd) {
        return;
    }
    const Mark* mark = MarkOf(raw_);
    encoding_ = mark != nullptr ? mark->encoding : Encoding::Utf8;
    if (mark != nullptr) {
        raw_.erase(0, mark->bytes.size());
    }
}

std::size_t EncodingSource::unitBytes() const {
    return encoding_ == Encoding::Utf32Le || encoding_ == Encoding::Utf32Be ? 4 : 2;
}

char32_t EncodingSource::unitAt(std::size_t at) const {
    const std::size_t size = unitBytes();
    const bool little = encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf32Le;
    char32_t unit = 0;
    for (std::size_t k = 0; k < size; ++k) {
        const auto b = static_cast<unsigned char>(raw_[at + (little ? size - 1 - k : k)]);
        unit = (unit << 8) | b;
    }
    return unit;
}

// Surrogates pair as the core reads UTF-16 (ReadChar); one left without its pair is no
// character here, since UTF-8 cannot hold it.
void EncodingSource::convert(bool atEnd) {
    const std::size_t size = unitBytes();
    std::size_t at = 0;
    for (; at + size <= raw_.size(); at += size) {
        char32_t c = unitAt(at);
        if (size == 2) {
            const bool pairFits = at + 2 * size <= raw_.size();
            if (c >= kHighSurrogate && c < kLowSurrogate && !pairFits && !atEnd) {
                break;  // its pair may come with the next read
            }
            const std::array<char16_t, 2> units = {
                static_cast<char16_t>(c),
                pairFits ? static_cast<char16_t>(unitAt(at + size)) : u'\0'};
            const CharRead read = ReadChar(std::u16string_view(units.data(), units.size()));
            c = read.codePoint;
            at += (read.units - 1) * size;
        }
        if ((c >= kHighSurrogate && c < kSurrogateEnd) || c > kLastCodePoint) {
            c = kReplacementChar;
        }
        AppendUtf8(text_, c);
    }
    raw_.erase(0, at);
    if (atEnd && !raw_.empty()) {
        AppendUtf8(text_, kReplacementChar);  // a unit cut off by the end of the text
        raw_.clear();
    }
}

}  // namespace pelorin
