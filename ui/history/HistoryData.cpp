#include "history/HistoryData.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numeric>
#include <thread>

#include "pelorin/frame_marker.h"
#include "pelorin/pass_grouper.h"

namespace pelorin::history {
namespace {

constexpr double kPassGapSeconds = static_cast<double>(kPassGapMillis) / kMillisPerSecond;

double TimeOf(const HistoryData& data, TimeBase base, std::size_t k) {
    return base == TimeBase::Reception ? data.received[k] : data.onboard[k];
}

// The frames charted on `base`, in the order of their time there.
std::vector<std::uint32_t> ChartedOrder(const HistoryData& data, TimeBase base) {
    std::vector<std::uint32_t> order;
    order.reserve(data.size());
    for (std::size_t k = 0; k < data.size(); ++k) {
        if (!std::isnan(TimeOf(data, base, k))) {
            order.push_back(static_cast<std::uint32_t>(k));
        }
    }
    // Frames come by first reception already; on board a reboot may put times out of order.
    const auto earlier = [&data](std::uint32_t a, std::uint32_t b) {
        return data.onboard[a] < data.onboard[b];
    };
    if (base == TimeBase::Onboard && !std::is_sorted(order.begin(), order.end(), earlier)) {
        std::stable_sort(order.begin(), order.end(), earlier);
    }
    return order;
}

// The span of the charted frames that `keep` keeps.
template <typename Keep>
std::optional<TimeSpan> ExtentOf(const HistoryData& data, TimeBase base, Keep keep) {
    std::optional<TimeSpan> extent;
    for (std::size_t k = 0; k < data.size(); ++k) {
        const double t = TimeOf(data, base, k);
        if (std::isnan(t) || !keep(k)) {
            continue;
        }
        extent =
            extent ? TimeSpan{std::min(extent->from, t), std::max(extent->to, t)} : TimeSpan{t, t};
    }
    return extent;
}

}  // namespace

std::string TelemetryLine(const ArchivedFrame& frame) {
    std::string line = frame.firstReceived ? FormatUtcTime(*frame.firstReceived) + " " : "";
    return line.append(FrameMarker).append(frame.digits);
}

std::optional<TimeSpan> DataExtent(const HistoryData& data, TimeBase base) {
    const std::vector<double>& x = data.axis(base).x;
    return x.empty() ? std::nullopt : std::optional<TimeSpan>({x.front(), x.back()});
}

std::optional<TimeSpan> PassExtent(const HistoryData& data, TimeBase base, std::uint32_t pass) {
    return ExtentOf(data, base, [&data, pass](std::size_t k) { return data.pass[k] == pass; });
}

const std::vector<float>* HistoryData::column(int valueIndex) const {
    const auto found = std::find(valueIndices.begin(), valueIndices.end(), valueIndex);
    return found == valueIndices.end()
               ? nullptr
               : &columns[static_cast<std::size_t>(found - valueIndices.begin())];
}

PlotSeries MakePlotSeries(std::shared_ptr<const SeriesAxis> axis, std::vector<float> y) {
    PlotSeries series{std::move(axis), std::move(y), {}};
    series.extremes = ExtremesIndex(series.y);
    return series;
}

SeriesAxis MakeAxis(const HistoryData& data, TimeBase base) {
    SeriesAxis axis;
    AppendToAxis(data, base, ChartedOrder(data, base), axis);
    return axis;
}

void AppendToAxis(const HistoryData& data, TimeBase base, std::span<const std::uint32_t> frames,
                  SeriesAxis& axis) {
    axis.x.reserve(axis.x.size() + frames.size());
    axis.frames.reserve(axis.frames.size() + frames.size());
    for (const std::uint32_t k : frames) {
        const double x = TimeOf(data, base, k);
        const bool breaks = axis.frames.empty() || data.pass[k] != data.pass[axis.frames.back()] ||
                            x - axis.x.back() > kPassGapSeconds;
        if (breaks) {
            axis.runStarts.push_back(axis.x.size());
        }
        axis.x.push_back(x);
        axis.frames.push_back(k);
    }
}

PlotSeries MakeSeries(const HistoryData& data, TimeBase base, int valueIndex) {
    const std::shared_ptr<const SeriesAxis>& axis = data.axes[static_cast<std::size_t>(base)];
    const std::vector<float>* column = data.column(valueIndex);
    if (column == nullptr) {
        return MakePlotSeries(std::make_shared<const SeriesAxis>(), {});
    }
    std::vector<float> y(axis->frames.size());
    std::transform(axis->frames.begin(), axis->frames.end(), y.begin(),
                   [column](std::uint32_t k) { return (*column)[k]; });
    return MakePlotSeries(axis, std::move(y));
}

void MakeAllSeries(HistoryData& data, TimeBase base, unsigned threads) {
    std::vector<std::shared_ptr<const PlotSeries>> made(data.valueIndices.size());
    std::atomic<std::size_t> next{0};
    // Each thread takes the next column not yet taken: the columns cost the same.
    const auto work = [&] {
        for (std::size_t k = next++; k < made.size(); k = next++) {
            made[k] =
                std::make_shared<const PlotSeries>(MakeSeries(data, base, data.valueIndices[k]));
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < std::min<std::size_t>(threads, made.size()); ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (std::size_t k = 0; k < made.size(); ++k) {
        data.series[{base, data.valueIndices[k]}] = std::move(made[k]);
    }
}

std::shared_ptr<const PlotSeries> SeriesOf(const HistoryData& data, TimeBase base, int valueIndex) {
    const auto found = data.series.find({base, valueIndex});
    return found != data.series.end()
               ? found->second
               : std::make_shared<const PlotSeries>(MakeSeries(data, base, valueIndex));
}

}  // namespace pelorin::history
