#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/ExtremesIndex.h"
#include "history/HistoryRange.h"
#include "pelorin/archive_store.h"

// The archive's frames as the History window charts them, in plain C++ so that the arithmetic
// is tested with plain numbers.
namespace pelorin::history {

// Which time a frame is charted at.
enum class TimeBase { Reception, Onboard };

// Value 0, the on-board time: the second time axis.
inline constexpr int kOnboardTimeValue = 0;
inline constexpr double kMillisPerSecond = 1000.0;

// A reception time in seconds, as the axes chart it, and back to the millisecond.
inline double Seconds(UtcMillis time) {
    return static_cast<double>(time) / kMillisPerSecond;
}
inline UtcMillis Millis(double seconds) {
    return static_cast<UtcMillis>(std::llround(seconds * kMillisPerSecond));
}

// The frames charted on one time base, in the order of their time there: the times, where a
// line may join them, and the frame each point is.
struct SeriesAxis {
    std::vector<double> x;               // ascending, seconds
    std::vector<std::size_t> runStarts;  // index of each run's first point, ascending
    std::vector<std::uint32_t> frames;   // the frame (row of HistoryData) of each point
};

// Every archived frame, in the archive's export order, with only the values charted. Values
// are kept as float: the fields' three-digit readings lose nothing a chart could show.
struct PlotSeries;

struct HistoryData {
    std::vector<int> valueIndices;    // the value index of each column
    std::vector<std::int64_t> ids;    // the archive's frame ids
    std::vector<double> received;     // first reception in UTC seconds; NaN when never received
    std::vector<double> onboard;      // on-board time in seconds (value 0)
    std::vector<std::uint32_t> pass;  // 0-based index into passes
    std::vector<std::uint32_t> stationSet;              // index into stationSets
    std::vector<std::vector<std::string>> stationSets;  // distinct sets, names sorted
    std::vector<std::vector<float>> columns;
    std::vector<PassSummary> passes;  // by the archive's pass rule, oldest first
    std::int64_t untimed = 0;         // frames without a reception time
    std::int64_t newestFrame = 0;     // the largest frame id
    std::array<std::shared_ptr<const SeriesAxis>, 2> axes;  // by TimeBase
    // Series made ahead, by time base and value index.
    std::map<std::pair<TimeBase, int>, std::shared_ptr<const PlotSeries>> series;

    std::size_t size() const { return onboard.size(); }
    // The column of `valueIndex`, or nullptr when it was not read.
    const std::vector<float>* column(int valueIndex) const;
    const SeriesAxis& axis(TimeBase base) const { return *axes[static_cast<std::size_t>(base)]; }
    const std::vector<std::string>& stations(std::size_t frame) const {
        return stationSets[stationSet[frame]];
    }
};

// One quantity against one time base: y for each of the axis's points, and its extremes.
struct PlotSeries {
    std::shared_ptr<const SeriesAxis> axis;
    std::vector<float> y;
    ExtremesIndex extremes;

    std::size_t size() const { return y.size(); }
};

// `y` over `axis`, indexed for drawing.
PlotSeries MakePlotSeries(std::shared_ptr<const SeriesAxis> axis, std::vector<float> y);

// The axis of `base` over `data`'s times and passes: on board, frames are ordered by their
// on-board time and a run also ends where that time jumps by more than a pass gap; frames
// without the time are left out.
SeriesAxis MakeAxis(const HistoryData& data, TimeBase base);
// Appends `frames` (rows of `data`, charted on `base`, in the order of their time there and after
// the axis's last point) to `axis`, with MakeAxis's breaks.
void AppendToAxis(const HistoryData& data, TimeBase base, std::span<const std::uint32_t> frames,
                  SeriesAxis& axis);

// The series of column `valueIndex` (with no points when it was not read).
PlotSeries MakeSeries(const HistoryData& data, TimeBase base, int valueIndex);
// The series of every column on `base`, made ahead on `threads` threads at once.
void MakeAllSeries(HistoryData& data, TimeBase base, unsigned threads);
// The series made ahead, or else made now.
std::shared_ptr<const PlotSeries> SeriesOf(const HistoryData& data, TimeBase base, int valueIndex);

// The telemetry line of an archived frame, as a logger writes it: its first reception time
// first, when it has one, then the marker and the digits.
std::string TelemetryLine(const ArchivedFrame& frame);

// The span of the frames charted on `base`: all of them, or those of pass `pass` (0-based).
// Nothing when there are none.
std::optional<TimeSpan> DataExtent(const HistoryData& data, TimeBase base);
std::optional<TimeSpan> PassExtent(const HistoryData& data, TimeBase base, std::uint32_t pass);

}  // namespace pelorin::history
