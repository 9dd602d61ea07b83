#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "pelorin/line_recognition.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// The fields' integer readings, by value index, before scaling (value_info.h says how each is
// read and scaled).
using RawRecord = std::array<std::int32_t, kValuesPerRecord>;

// DecodeFrame's readings of the fields, unscaled; the same return value.
bool DecodeFrameRaw(const FrameText& frame, RawRecord& raw);
// The scaled values of `raw`, which DecodeFrame stores. Never fails.
void ScaleRecord(const RawRecord& raw, TelemetryRecord& record);

// What one line of UTF-8 was, and for telemetry whether a character among its digits is no
// hexadecimal digit (the record then holds what the hex conversions make of it).
struct LineReading {
    LineKind kind;
    bool suspect;
};

// ExamineLine and DecodeFrame in one, for a line of UTF-8 (no line break in it), leaving the
// fields' readings in `raw`. A line that is ASCII from its marker on is judged and read straight
// from its bytes; any other as ExamineLine reads it. `raw` is unspecified unless the line is
// Telemetry. Never fails.
LineReading ReadLine(std::string_view utf8Line, RawRecord& raw);

}  // namespace pelorin
