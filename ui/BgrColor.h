#pragma once

#include <QColor>
#include <cstdint>

namespace pelorin {

// Colours are packed as 0x00BBGGRR: red in the low byte, blue in the high byte.
inline QColor ColorFromBgr(std::int32_t packed) {
    const auto bits = static_cast<std::uint32_t>(packed);
    return QColor(static_cast<int>(bits & 0xFFU), static_cast<int>((bits >> 8) & 0xFFU),
                  static_cast<int>((bits >> 16) & 0xFFU));
}

inline std::int32_t BgrFromColor(const QColor& color) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     (static_cast<std::uint32_t>(color.green()) << 8) |
                                     (static_cast<std::uint32_t>(color.blue()) << 16));
}

}  // namespace pelorin
