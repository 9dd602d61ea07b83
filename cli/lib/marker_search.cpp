#include "marker_search.h"

#include "pelorin/frame_marker.h"

namespace pelorin::cli {
namespace {

constexpr char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool markerAt(std::string_view bytes, std::size_t pos) {
    for (std::size_t k = 0; k < FrameMarker.size(); ++k) {
        if (upperAscii(bytes[pos + k]) != FrameMarker[k]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t FindFrameMarker(std::string_view bytes) {
    if (bytes.size() < FrameMarker.size()) {
        return std::string_view::npos;
    }
    const std::size_t last = bytes.size() - FrameMarker.size();
    for (std::size_t pos = 0; pos <= last; ++pos) {
        if (markerAt(bytes, pos)) {
            return pos;
        }
    }
    return std::string_view::npos;
}

}  // namespace pelorin::cli
