#include "pelorin/frame_marker.h"

#include <cstring>
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

// The marker's one '.', a character that has no other case: a marker can begin only kDot
// characters before a '.', so memchr finds the few places worth comparing.
constexpr std::size_t kDot = FrameMarker.find('.');
constexpr std::size_t kAfterDot = FrameMarker.size() - kDot - 1;
static_assert(FrameMarker.find('.', kDot + 1) == std::string_view::npos);

}  // namespace

std::size_t FindFrameMarker(std::string_view text) {
    if (text.size() < FrameMarker.size()) {
        return std::string_view::npos;
    }
    const char* const data = text.data();
    const char* const end = data + text.size() - kAfterDot;  // no '.' from here on fits
    for (const char* p = data + kDot; p < end; ++p) {
        p = static_cast<const char*>(std::memchr(p, '.', static_cast<std::size_t>(end - p)));
        if (p == nullptr) {
            break;
        }
        const auto pos = static_cast<std::size_t>(p - data) - kDot;
        if (markerAt(text, pos)) {
            return pos;
        }
    }
    return std::string_view::npos;
}
std::size_t FindFrameMarker(std::u16string_view text) {
    return findMarker(text);
}

}  // namespace pelorin
