#include "history/HistoryLoad.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>

#include "pelorin/pass_grouper.h"

namespace pelorin::history {
namespace {

constexpr std::uint32_t kNoRow = std::numeric_limits<std::uint32_t>::max();

// The frames as the archive hands them out, in no set order.
struct Rows {
    std::vector<std::int64_t> ids;
    std::vector<std::optional<UtcMillis>> received;
    std::vector<double> onboard;
    std::vector<std::vector<float>> columns;
};

Rows ReadRows(ArchiveStore& store, std::span<const int> valueIndices) {
    std::vector<int> wanted{kOnboardTimeValue};
    wanted.insert(wanted.end(), valueIndices.begin(), valueIndices.end());
    Rows rows;
    rows.columns.resize(valueIndices.size());
    // Ids count the frames, so that the room is taken once rather than grown.
    const auto expected = static_cast<std::size_t>(std::max<std::int64_t>(store.newestFrame(), 0));
    rows.ids.reserve(expected);
    rows.received.reserve(expected);
    rows.onboard.reserve(expected);
    for (std::vector<float>& column : rows.columns) {
        column.reserve(expected);
    }
    store.forEachChartFrame(wanted, [&rows](const ChartFrame& frame) {
        rows.ids.push_back(frame.id);
        rows.received.push_back(frame.firstReceived);
        rows.onboard.push_back(frame.values[0]);
        for (std::size_t c = 0; c < rows.columns.size(); ++c) {
            rows.columns[c].push_back(static_cast<float>(frame.values[c + 1]));
        }
    });
    return rows;
}

// The export's order: by first reception, then on-board time and id; the frames without a
// reception after them by on-board time and id.
std::vector<std::uint32_t> ExportOrder(const Rows& rows) {
    const auto before = [&rows](std::uint32_t a, std::uint32_t b) {
        const auto& ra = rows.received[a];
        const auto& rb = rows.received[b];
        if (ra.has_value() != rb.has_value()) {
            return ra.has_value();
        }
        if (ra && *ra != *rb) {
            return *ra < *rb;
        }
        if (rows.onboard[a] != rows.onboard[b]) {
            return rows.onboard[a] < rows.onboard[b];
        }
        return rows.ids[a] < rows.ids[b];
    };
    std::vector<std::uint32_t> order(rows.ids.size());
    std::iota(order.begin(), order.end(), 0U);
    // Frames are mostly archived as they are heard: then the archive's order is already right.
    if (!std::is_sorted(order.begin(), order.end(), before)) {
        std::sort(order.begin(), order.end(), before);
    }
    return order;
}

template <typename T>
std::vector<T> Permuted(std::vector<T>& values, const std::vector<std::uint32_t>& order) {
    if (std::is_sorted(order.begin(), order.end())) {
        return std::move(values);
    }
    std::vector<T> out(order.size());
    std::transform(order.begin(), order.end(), out.begin(),
                   [&values](std::uint32_t k) { return values[k]; });
    return out;
}

void TakeRows(HistoryData& data, Rows rows) {
    const std::vector<std::uint32_t> order = ExportOrder(rows);
    data.ids = Permuted(rows.ids, order);
    data.onboard = Permuted(rows.onboard, order);
    data.received.resize(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::optional<UtcMillis>& at = rows.received[order[k]];
        data.received[k] = at ? Seconds(*at) : std::numeric_limits<double>::quiet_NaN();
        data.untimed += at ? 0 : 1;
    }
    for (std::vector<float>& column : rows.columns) {
        data.columns.push_back(Permuted(column, order));
        column = {};
    }
}

// Frames by the pass rule: the timed ones in export order, then the others in archive order.
void GroupFrames(HistoryData& data, PassGrouper& grouper) {
    const std::size_t timed = data.size() - static_cast<std::size_t>(data.untimed);
    std::vector<std::uint32_t> order(data.size());
    std::iota(order.begin(), order.end(), 0U);
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(timed), order.end(),
              [&data](std::uint32_t a, std::uint32_t b) { return data.ids[a] < data.ids[b]; });
    data.pass.resize(data.size());
    for (const std::uint32_t k : order) {
        const std::optional<UtcMillis> at =
            k < timed ? std::optional<UtcMillis>(Millis(data.received[k])) : std::nullopt;
        data.pass[k] =
            static_cast<std::uint32_t>(grouper.addFrame(data.ids[k], at, data.onboard[k]));
    }
}

// Each frame's stations as one of a few distinct sets, and each pass's receptions counted.
// Neighbouring frames are mostly heard by the same stations: their set is found without a
// search.
std::vector<std::int64_t> ReadStations(ArchiveStore& store, HistoryData& data, std::size_t passes) {
    std::vector<std::uint32_t> rowOf(static_cast<std::size_t>(data.newestFrame) + 1, kNoRow);
    for (std::size_t k = 0; k < data.size(); ++k) {
        rowOf[static_cast<std::size_t>(data.ids[k])] = static_cast<std::uint32_t>(k);
    }
    std::map<std::vector<std::string>, std::uint32_t> setIds{{{}, 0}};
    data.stationSets = {{}};
    data.stationSet.assign(data.size(), 0);
    std::vector<std::int64_t> receptions(passes);
    std::uint32_t row = kNoRow;
    std::uint32_t lastSet = 0;
    std::vector<std::string> heard;
    const auto finishFrame = [&] {
        if (row == kNoRow) {
            return;
        }
        if (data.stationSets[lastSet] != heard) {
            const auto [it, fresh] =
                setIds.try_emplace(heard, static_cast<std::uint32_t>(data.stationSets.size()));
            if (fresh) {
                data.stationSets.push_back(heard);
            }
            lastSet = it->second;
        }
        data.stationSet[row] = lastSet;
    };
    store.forEachStation([&](std::int64_t frameId, std::string_view station) {
        if (frameId < 0 || frameId > data.newestFrame ||
            rowOf[static_cast<std::size_t>(frameId)] == kNoRow) {
            return;  // a frame added since the frames were read
        }
        if (rowOf[static_cast<std::size_t>(frameId)] != row) {
            finishFrame();
            row = rowOf[static_cast<std::size_t>(frameId)];
            heard.clear();
        }
        if (heard.empty() || heard.back() != station) {
            heard.emplace_back(station);
        }
        ++receptions[data.pass[row]];
    });
    finishFrame();
    return receptions;
}

// Each pass's receptions and distinct stations, "" counting as one.
void CountPassStations(HistoryData& data, const std::vector<std::int64_t>& receptions) {
    std::vector<std::vector<std::uint32_t>> setsOfPass(data.passes.size());
    for (std::size_t k = 0; k < data.size(); ++k) {
        std::vector<std::uint32_t>& sets = setsOfPass[data.pass[k]];
        if (sets.empty() || sets.back() != data.stationSet[k]) {
            sets.push_back(data.stationSet[k]);
        }
    }
    for (std::size_t p = 0; p < data.passes.size(); ++p) {
        std::vector<std::string> names;
        for (const std::uint32_t set : setsOfPass[p]) {
            names.insert(names.end(), data.stationSets[set].begin(), data.stationSets[set].end());
        }
        std::sort(names.begin(), names.end());
        data.passes[p].stations = std::unique(names.begin(), names.end()) - names.begin();
        data.passes[p].receptions = receptions[p];
    }
}

}  // namespace

HistoryData LoadHistory(ArchiveStore& store, std::span<const int> valueIndices) {
    HistoryData data;
    data.valueIndices.assign(valueIndices.begin(), valueIndices.end());
    TakeRows(data, ReadRows(store, valueIndices));
    data.newestFrame = data.ids.empty() ? 0 : *std::max_element(data.ids.begin(), data.ids.end());
    PassGrouper grouper;
    GroupFrames(data, grouper);
    data.passes = grouper.finish();
    CountPassStations(data, ReadStations(store, data, data.passes.size()));
    for (const TimeBase base : {TimeBase::Reception, TimeBase::Onboard}) {
        data.axes[static_cast<std::size_t>(base)] =
            std::make_shared<const SeriesAxis>(MakeAxis(data, base));
    }
    return data;
}

}  // namespace pelorin::history
