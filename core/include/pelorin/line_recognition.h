#pragma once

#include <array>
#include <string_view>

#include "pelorin/frame_marker.h"

namespace pelorin {

// What one line of text turned out to be.
enum class LineKind {
    Other,      // no marker: beacons, messages, blank lines
    Telemetry,  // the marker followed by exactly 112 characters: decoded
    Damaged,    // holds the marker, but not exactly 122 characters from it on
};

// The 122 characters of an accepted line, upper-cased, marker first. Characters are Unicode
// code points, so a non-ASCII character takes one place like any other.
using FrameText = std::array<char32_t, kFrameLength>;

// Upper-cases `line` (no line break in it), drops what stands before the first FrameMarker and,
// when exactly 122 characters remain, copies them into `frame`. Characters are read as
// unicode_chars.h says, so a byte of UTF-8 that is not part of a well-formed sequence is one
// character. Never fails; `frame` is unspecified unless the line is Telemetry.
LineKind ExamineLine(std::u16string_view line, FrameText& frame);
LineKind ExamineLine(std::string_view utf8Line, FrameText& frame);

}  // namespace pelorin
