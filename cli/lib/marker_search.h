#pragma once

#include <cstddef>
#include <string_view>

namespace pelorin::cli {

// Offset of the first frame marker in `bytes`, letters compared regardless of case as the
// core's line recognition does; npos if there is none.
std::size_t FindFrameMarker(std::string_view bytes);

}  // namespace pelorin::cli
