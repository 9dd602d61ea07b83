#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pelorin/byte_source.h"

namespace pelorin {

// Hands on the bytes of another source as UTF-8. Text that starts with the byte order mark of
// UTF-16 or UTF-32 (either byte order) is converted, its mark dropped; any other text passes
// unchanged. A unit that is no character (a surrogate without its pair, a code beyond U+10FFFF,
// bytes cut off at the end) becomes U+FFFD, one character as it was one, so that lines keep
// their lengths in characters. The window reads such files alike. A read of no bytes is taken
// as the end of the text: for a whole file or pipe, not for one still being written.
class EncodingSource final : public ByteSource {
  public:
    explicit EncodingSource(ByteSource& source) : source_(source) {}
    ReadOutcome read(char* buffer, std::size_t capacity) override;

    enum class Encoding { Unknown, Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be };
    struct Mark;
    // The byte order mark that `firstBytes` start with, or null.
    static const Mark* MarkOf(std::string_view firstBytes);

  private:
    ReadOutcome fill();
    void detect(bool atEnd);
    void convert(bool atEnd);
    std::size_t unitBytes() const;
    char32_t unitAt(std::size_t at) const;

    ByteSource& source_;
    Encoding encoding_ = Encoding::Unknown;
    std::string raw_;   // bytes read but not yet converted
    std::string text_;  // UTF-8 not yet handed out
    std::size_t handed_ = 0;
};

// Whether text starting with `firstBytes` (its first four bytes, or all of a shorter text) is
// UTF-16 or UTF-32 by its byte order mark.
bool IsWideText(std::string_view firstBytes);

}  // namespace pelorin
