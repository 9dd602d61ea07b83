#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "pelorin/number_text.h"

namespace pelorin {

// A UTF-8 text of the core as the controls show it.
inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
