#include "history/HistoryLoad.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <map>
#include <numeric>
#include <thread>
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

// The frames `ids` of `store`, with room taken for `expected` of them at once rather than grown.
Rows ReadRows(ArchiveStore& store, std::span<const int> wanted, FrameIds ids,
              std::size_t expected) {
    Rows rows;
    rows.columns.resize(wanted.size() - 1);
    rows.ids.reserve(expected);
    rows.received.reserve(expected);
    rows.onboard.reserve(expected);
    for (std::vector<float>& column : rows.columns) {
        column.reserve(expected);
    }
    store.forEachChartFrame(wanted, ids, [&rows](const ChartFrame& frame) {
        rows.ids.push_back(frame.id);
        rows.received.push_back(frame.firstReceived);
        rows.onboard.push_back(frame.values[0]);
        for (std::size_t c = 0; c < rows.columns.size(); ++c) {
            rows.columns[c].push_back(static_cast<float>(frame.values[c + 1]));
        }
    });
    return rows;
}

template <typename T>
void Append(std::vector<T>& to, std::vector<T>&& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from = {};
}

// The values a read asks for: the on-board time, then `valueIndices`.
std::vector<int> WantedValues(std::span<const int> valueIndices) {
    std::vector<int> wanted{kOnboardTimeValue};
    wanted.insert(wanted.end(), valueIndices.begin(), valueIndices.end());
    return wanted;
}

// Every frame, the ids split into equal stretches, one for each store, each read on a thread of
// its own: the first store's stretch, on the calling thread, has room for all.
Rows ReadAllRows(std::span<ArchiveStore* const> stores, std::span<const int> valueIndices) {
    const std::vector<int> wanted = WantedValues(valueIndices);
    // Ids count the frames.
    const std::int64_t newest = std::max<std::int64_t>(stores[0]->newestFrame(), 0);
    const auto count = static_cast<std::int64_t>(stores.size());
    const auto stretch = [newest, count](std::int64_t k) {
        FrameIds ids;
        ids.first = k == 0 ? ids.first : newest * k / count + 1;
        ids.last = k + 1 == count ? ids.last : newest * (k + 1) / count;
        return ids;
    };
    std::vector<Rows> parts(stores.size());
    std::vector<std::exception_ptr> errors(stores.size());
    std::vector<std::jthread> readers;
    for (std::size_t k = 1; k < stores.size(); ++k) {
        readers.emplace_back([&, k] {
            try {
                const auto share = static_cast<std::size_t>(newest / count + 1);
                parts[k] =
                    ReadRows(*stores[k], wanted, stretch(static_cast<std::int64_t>(k)), share);
            } catch (...) {
                errors[k] = std::current_exception();
            }
        });
    }
    try {
        parts[0] = ReadRows(*stores[0], wanted, stretch(0), static_cast<std::size_t>(newest));
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::jthread& reader : readers) {
        reader.join();
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
    Rows& rows = parts[0];
    for (std::size_t k = 1; k < parts.size(); ++k) {
        Append(rows.ids, std::move(parts[k].ids));
        Append(rows.received, std::move(parts[k].received));
        Append(rows.onboard, std::move(parts[k].onboard));
        for (std::size_t c = 0; c < rows.columns.size(); ++c) {
            Append(rows.columns[c], std::move(parts[k].columns[c]));
        }
    }
    return std::move(rows);
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

// Each reception's frame id and station, as the archive hands them out: by frame id, each
// station's name kept once.
struct Receptions {
    std::vector<std::int64_t> frameIds;
    std::vector<std::uint32_t> stations;  // index into names
    std::vector<std::string> names;
};

Receptions ReadReceptions(ArchiveStore& store, FrameIds ids) {
    Receptions read;
    std::map<std::string, std::uint32_t, std::less<>> index;
    std::uint32_t last = kNoRow;
    store.forEachStation(ids, [&](std::int64_t frameId, std::string_view station) {
        if (last == kNoRow || read.names[last] != station) {
            const auto [it, fresh] =
                index.try_emplace(std::string(station), static_cast<std::uint32_t>(index.size()));
            if (fresh) {
                read.names.emplace_back(station);
            }
            last = it->second;
        }
        read.frameIds.push_back(frameId);
        read.stations.push_back(last);
    });
    return read;
}

// The stations of each frame from row `firstRow` on as one of a few distinct sets (those found
// before kept), and each of their receptions counted into its frame's pass. Neighbouring frames
// are mostly heard by the same stations: their set is found without a search.
void TakeStations(HistoryData& data, const Receptions& read, std::size_t firstRow,
                  std::vector<std::int64_t>& receptions) {
    std::vector<std::uint32_t> rowOf(static_cast<std::size_t>(data.newestFrame) + 1, kNoRow);
    for (std::size_t k = firstRow; k < data.size(); ++k) {
        rowOf[static_cast<std::size_t>(data.ids[k])] = static_cast<std::uint32_t>(k);
    }
    if (data.stationSets.empty()) {
        data.stationSets = {{}};
    }
    std::map<std::vector<std::string>, std::uint32_t> setIds;
    for (std::size_t k = 0; k < data.stationSets.size(); ++k) {
        setIds.emplace(data.stationSets[k], static_cast<std::uint32_t>(k));
    }
    data.stationSet.resize(data.size(), 0);
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
    for (std::size_t r = 0; r < read.frameIds.size(); ++r) {
        const std::int64_t frameId = read.frameIds[r];
        if (frameId < 0 || frameId > data.newestFrame ||
            rowOf[static_cast<std::size_t>(frameId)] == kNoRow) {
            continue;  // a frame added since the frames were read
        }
        if (rowOf[static_cast<std::size_t>(frameId)] != row) {
            finishFrame();
            row = rowOf[static_cast<std::size_t>(frameId)];
            heard.clear();
        }
        const std::string& station = read.names[read.stations[r]];
        if (heard.empty() || heard.back() != station) {
            heard.push_back(station);
        }
        ++receptions[data.pass[row]];
    }
    finishFrame();
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

HistoryData LoadHistory(std::span<ArchiveStore* const> stores, std::span<const int> valueIndices) {
    HistoryData data;
    data.valueIndices.assign(valueIndices.begin(), valueIndices.end());
    TakeRows(data, ReadAllRows(stores, valueIndices));
    // The receptions are read, on the last store, while the frames are grouped and ordered.
    Receptions read;
    std::exception_ptr error;
    std::jthread reader([&read, &error, store = stores.back()] {
        try {
            read = ReadReceptions(*store, {});
        } catch (...) {
            error = std::current_exception();
        }
    });
    data.newestFrame = data.ids.empty() ? 0 : *std::max_element(data.ids.begin(), data.ids.end());
    PassGrouper grouper;
    GroupFrames(data, grouper);
    data.passes = grouper.finish();
    for (const TimeBase base : {TimeBase::Reception, TimeBase::Onboard}) {
        data.axes[static_cast<std::size_t>(base)] =
            std::make_shared<const SeriesAxis>(MakeAxis(data, base));
    }
    reader.join();
    if (error) {
        std::rethrow_exception(error);
    }
    std::vector<std::int64_t> receptions(data.passes.size());
    TakeStations(data, read, 0, receptions);
    CountPassStations(data, receptions);
    return data;
}

namespace {

// Whether the frames of `added`, all timed and in the export's order, come after every frame of
// `data` on both time axes, so that appending them keeps each axis in order.
bool ComesAfter(const HistoryData& data, const HistoryData& added) {
    const SeriesAxis& onboard = data.axis(TimeBase::Onboard);
    return added.untimed == 0 && data.untimed == 0 && data.size() > 0 && added.size() > 0 &&
           added.received.front() > data.received.back() &&
           std::none_of(added.onboard.begin(), added.onboard.end(),
                        [](double t) { return std::isnan(t); }) &&
           std::is_sorted(added.onboard.begin(), added.onboard.end()) &&
           (onboard.x.empty() || added.onboard.front() >= onboard.x.back());
}

}  // namespace

std::optional<HistoryData> ExtendHistory(const HistoryData& previous, ArchiveStore& store) {
    const FrameIds fresh{previous.newestFrame + 1, FrameIds{}.last};
    HistoryData added;
    TakeRows(added, ReadRows(store, WantedValues(previous.valueIndices), fresh, 0));
    if (!ComesAfter(previous, added)) {
        return std::nullopt;
    }
    HistoryData data = previous;
    data.series.clear();
    const std::size_t firstRow = data.size();
    data.newestFrame =
        std::max(data.newestFrame, *std::max_element(added.ids.begin(), added.ids.end()));
    Append(data.ids, std::move(added.ids));
    Append(data.received, std::move(added.received));
    Append(data.onboard, std::move(added.onboard));
    for (std::size_t c = 0; c < data.columns.size(); ++c) {
        Append(data.columns[c], std::move(added.columns[c]));
    }
    PassGrouper grouper(previous.passes);
    for (std::size_t k = firstRow; k < data.size(); ++k) {
        data.pass.push_back(static_cast<std::uint32_t>(
            grouper.addFrame(data.ids[k], Millis(data.received[k]), data.onboard[k])));
    }
    data.passes = grouper.finish();
    std::vector<std::uint32_t> rows(data.size() - firstRow);
    std::iota(rows.begin(), rows.end(), static_cast<std::uint32_t>(firstRow));
    for (const TimeBase base : {TimeBase::Reception, TimeBase::Onboard}) {
        auto axis = std::make_shared<SeriesAxis>(previous.axis(base));
        AppendToAxis(data, base, rows, *axis);
        data.axes[static_cast<std::size_t>(base)] = std::move(axis);
    }
    std::vector<std::int64_t> receptions(data.passes.size());
    for (std::size_t p = 0; p < previous.passes.size(); ++p) {
        receptions[p] = previous.passes[p].receptions;
    }
    TakeStations(data, ReadReceptions(store, fresh), firstRow, receptions);
    CountPassStations(data, receptions);
    return data;
}

}  // namespace pelorin::history
