#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "pelorin/number_text.h"
#include "pelorin/unicode_chars.h"

namespace pelorin {

// UTF-8 text as the controls show it, read by the core's rule (a byte that is not part of a
// well-formed sequence is one U+FFFD), as pelorin-decode and the file loader read it.
inline QString ToQString(std::string_view utf8) {
    QString text(static_cast<qsizetype>(utf8.size()), Qt::Uninitialized);
    const Utf16Conversion converted =
        Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(text.data()), true);
    text.truncate(static_cast<qsizetype>(converted.unitsWritten));
    return text;
}

// The UTF-16 code units of `text`, for the core; valid while `text` is.
inline std::u16string_view Utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Decimal text of a whole number, minus sign only, no grouping, whatever the locale.
inline QString IntegerText(std::int64_t n) {
    return QString::fromStdString(FormatInteger(n));
}

}  // namespace pelorin
