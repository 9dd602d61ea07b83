#include "history/HistoryData.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "pelorin/frame_marker.h"
#include "pelorin/pass_grouper.h"

namespace pelorin::history {
namespace {

constexpr double kMillisPerSecond = 1000.0;
constexpr double kPassGapSeconds = static_cast<double>(kPassGapMillis) / kMillisPerSecond;
constexpr int kTimeValue = 0;

double TimeOf(const HistoryData& data, TimeBase base, std::size_t k) {
    return base == TimeBase::Reception ? data.received[k] : data.onboard[k];
}

// The frames charted on `base`, in the order of their time there.
std::vector<std::size_t> ChartedOrder(const HistoryData& data, TimeBase base) {
    std::vector<std::size_t> order;
    order.reserve(data.size());
    for (std::size_t k = 0; k < data.size(); ++k) {
        if (!std::isnan(TimeOf(data, base, k))) {
            order.push_back(k);
        }
    }
    // Frames come by first reception already; on board a reboot may put times out of order.
    if (base == TimeBase::Onboard) {
        std::stable_sort(order.begin(), order.end(), [&data](std::size_t a, std::size_t b) {
            return data.onboard[a] < data.onboard[b];
        });
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
    return ExtentOf(data, base, [](std::size_t) { return true; });
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

HistoryData LoadHistory(ArchiveStore& store, std::span<const int> valueIndices) {
    HistoryData data;
    data.valueIndices.assign(valueIndices.begin(), valueIndices.end());
    data.columns.resize(valueIndices.size());
    PassGrouper grouper;
    store.forEachFrame({}, [&](const ArchivedFrame& frame) {
        const double onboard = frame.values[kTimeValue];
        data.received.push_back(frame.firstReceived
                                    ? static_cast<double>(*frame.firstReceived) / kMillisPerSecond
                                    : std::numeric_limits<double>::quiet_NaN());
        data.untimed += frame.firstReceived ? 0 : 1;
        data.onboard.push_back(onboard);
        data.pass.push_back(
            static_cast<std::uint32_t>(grouper.addFrame(frame.id, frame.firstReceived, onboard)));
        for (std::size_t c = 0; c < valueIndices.size(); ++c) {
            data.columns[c].push_back(
                static_cast<float>(frame.values[static_cast<std::size_t>(valueIndices[c])]));
        }
    });
    return data;
}

PlotSeries MakeSeries(const HistoryData& data, TimeBase base, int valueIndex) {
    PlotSeries series;
    const std::vector<float>* column = data.column(valueIndex);
    if (column == nullptr) {
        return series;
    }
    const std::vector<std::size_t> order = ChartedOrder(data, base);
    series.x.reserve(order.size());
    series.y.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t k = order[i];
        const double x = TimeOf(data, base, k);
        const bool breaks = i == 0 || data.pass[k] != data.pass[order[i - 1]] ||
                            x - series.x.back() > kPassGapSeconds;
        if (breaks) {
            series.runStarts.push_back(series.x.size());
        }
        series.x.push_back(x);
        series.y.push_back((*column)[k]);
    }
    return series;
}

}  // namespace pelorin::history
