#include "pelorin/frame_marker.h"

#include <type_traits>

#include "pelorin/ascii_case.h"

namespace pelorin {
namespace {

template <typename Unit>
bool markerAt(std::basic_string_view<Unit> text, std::size_t pos) {
    for (std::size_t k = 0; k < FrameMarker.size(); ++k) {
        const auto c = static_cast<std::make_unsigned_t<Unit>>(text[pos + k]);
        if (UpperAscii(c) != static_cast<char32_t>(FrameMarker[k])) {
            return false;
        }
    }
    return true;
}

template <typename Unit>
std::size_t findMarker(std::basic_string_view<Unit> text) {
    if (text.size() < FrameMarker.size()) {
        return std::basic_string_view<Unit>::npos;
    }
    const std::size_t last = text.size() - FrameMarker.size();
    for (std::size_t pos = 0; pos <= last; ++pos) {
        if (markerAt(text, pos)) {
            return pos;
        }
    }
    return std::basic_string_view<Unit>::npos;
}

}  // namespace

std::size_t FindFrameMarker(std::string_view text) {
    return findMarker(text);
}
std::size_t FindFrameMarker(std::u16string_view text) {
    return findMarker(text);
}

}  // namespace pelorin
