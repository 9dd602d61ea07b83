#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "history/HistoryRange.h"
#include "pelorin/archive_store.h"

// The archive's frames as the History window charts them, in plain C++ so that the arithmetic
// is tested with plain numbers.
namespace pelorin::history {

// Which time a frame is charted at.
enum class TimeBase { Reception, Onboard };

// Every archived frame, in the archive's export order, with only the values asked for. Values
// are kept as float: a million frames and sixteen values then fit in well under 100 MB, and the
// fields' three-digit readings lose nothing a chart could show.
struct HistoryData {
    std::vector<int> valueIndices;    // the value index of each column
    std::vector<double> received;     // first reception in UTC seconds; NaN when never received
    std::vector<double> onboard;      // on-board time in seconds (value 0)
    std::vector<std::uint32_t> pass;  // 0-based, by the archive's pass rule
    std::vector<std::vector<float>> columns;
    std::int64_t untimed = 0;  // frames without a reception time

    std::size_t size() const { return onboard.size(); }
    // The column of `valueIndex`, or nullptr when it was not read.
    const std::vector<float>* column(int valueIndex) const;
};

// Reads every frame of `store` with the values `valueIndices` (each 1..35). Throws ArchiveError
// as the store does.
HistoryData LoadHistory(ArchiveStore& store, std::span<const int> valueIndices);

// One quantity against one time base: x ascending (seconds), a run per pass that a line may
// join; frames without that time are left out.
struct PlotSeries {
    std::vector<double> x;
    std::vector<float> y;
    std::vector<std::size_t> runStarts;  // index of each run's first point, ascending
};

// The series of column `valueIndex` (empty when it was not read). On board, frames are ordered
// by their on-board time and a run also ends where that time jumps by more than a pass gap.
PlotSeries MakeSeries(const HistoryData& data, TimeBase base, int valueIndex);

// The telemetry line of an archived frame, as a logger writes it: its first reception time
// first, when it has one, then the marker and the digits.
std::string TelemetryLine(const ArchivedFrame& frame);

// The span of the frames charted on `base`: all of them, or those of pass `pass` (0-based).
// Nothing when there are none.
std::optional<TimeSpan> DataExtent(const HistoryData& data, TimeBase base);
std::optional<TimeSpan> PassExtent(const HistoryData& data, TimeBase base, std::uint32_t pass);

}  // namespace pelorin::history
