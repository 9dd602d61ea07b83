#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>

#include "archive_lines.h"
#include "history/HistoryData.h"
#include "history/HistoryLoad.h"
#include "temp_folder.h"

using namespace pelorin;
using namespace pelorin::history;

namespace {

constexpr int kBusVoltageAverage = 19;

// Two passes two hours apart, the second heard by two stations, and two frames never timed.
std::unique_ptr<ArchiveStore> TwoPassArchive(const TempFolder& folder) {
    auto store = OpenArchive((folder / "a.sqlite").string(), ArchiveAccess::Write);
    store->add(testarchive::entries({testarchive::logLine(100, "2026-12-01T10:00:00Z"),
                                     testarchive::logLine(160, "2026-12-01T10:01:00Z"),
                                     testarchive::logLine(220, "2026-12-01T10:02:00Z")},
                                    "north"));
    const std::vector<std::string> second{testarchive::logLine(7300, "2026-12-01T12:00:00Z"),
                                          testarchive::logLine(7360, "2026-12-01T12:01:00Z")};
    store->add(testarchive::entries(second, "north"));
    store->add(testarchive::entries(second, "south"));
    store->add(testarchive::entries({testarchive::logLine(9000), testarchive::logLine(9060)}));
    return store;
}

// The archive of `folder` opened `count` times, as the window's readers open it.
std::vector<std::unique_ptr<ArchiveStore>> Readers(const TempFolder& folder, int count) {
    std::vector<std::unique_ptr<ArchiveStore>> readers;
    for (int k = 0; k < count; ++k) {
        readers.push_back(OpenArchive((folder / "a.sqlite").string(), ArchiveAccess::Read));
    }
    return readers;
}

class HistoryDataTest : public ::testing::TestWithParam<int> {};

TEST_P(HistoryDataTest, FramesFallIntoTheArchivesPassesAndSeriesBreakBetweenThem) {
    TempFolder folder;
    auto store = TwoPassArchive(folder);
    const std::vector<int> wanted{kBusVoltageAverage};
    const auto readers = Readers(folder, GetParam());
    std::vector<ArchiveStore*> stores;
    for (const auto& reader : readers) {
        stores.push_back(reader.get());
    }
    const HistoryData data = LoadHistory(stores, wanted);

    const std::vector<PassSummary> passes = store->passes({});
    ASSERT_EQ(data.size(), 7U);
    ASSERT_EQ(data.passes.size(), passes.size());
    for (std::size_t p = 0; p < passes.size(); ++p) {
        EXPECT_EQ(data.passes[p].frames, passes[p].frames);
        EXPECT_EQ(data.passes[p].receptions, passes[p].receptions);
        EXPECT_EQ(data.passes[p].stations, passes[p].stations);
        EXPECT_EQ(data.passes[p].start, passes[p].start);
    }
    std::vector<std::int64_t> exported;
    store->forEachFrame({}, [&exported](const ArchivedFrame& f) { exported.push_back(f.id); });
    EXPECT_EQ(data.ids, exported);
    const std::vector<std::string> both{"north", "south"};
    EXPECT_EQ(data.stations(0), std::vector<std::string>{"north"});
    EXPECT_EQ(data.stations(3), both);
    std::vector<std::int64_t> framesPerPass(passes.size());
    for (std::uint32_t p : data.pass) {
        ++framesPerPass.at(p);
    }
    for (std::size_t p = 0; p < passes.size(); ++p) {
        EXPECT_EQ(framesPerPass[p], passes[p].frames) << "pass " << passes[p].number;
    }
    EXPECT_EQ(data.untimed, 2);
    EXPECT_EQ(data.column(kBusVoltageAverage)->size(), data.size());
    EXPECT_EQ(data.column(kBusVoltageAverage + 1), nullptr);

    struct Expected {
        TimeBase base;
        std::size_t points;
        std::vector<std::size_t> runStarts;
    };
    // On board the untimed frames come 1640 s after the second pass, beyond a pass gap.
    for (const Expected& e :
         {Expected{TimeBase::Reception, 5, {0, 3}}, Expected{TimeBase::Onboard, 7, {0, 3, 5}}}) {
        const PlotSeries s = MakeSeries(data, e.base, kBusVoltageAverage);
        EXPECT_EQ(s.size(), e.points);
        EXPECT_EQ(s.axis->runStarts, e.runStarts);
        EXPECT_TRUE(std::is_sorted(s.axis->x.begin(), s.axis->x.end()));
    }
    EXPECT_EQ(MakeSeries(data, TimeBase::Reception, kBusVoltageAverage).axis->x.front(),
              static_cast<double>(*ParseUtcTime("2026-12-01T10:00:00Z")) / 1000.0);
}

// One reader, and the frames split between two and among three (stretches of two or three ids).
INSTANTIATE_TEST_SUITE_P(Readers, HistoryDataTest, ::testing::Values(1, 2, 3));

void ExpectSameHistory(const HistoryData& a, const HistoryData& b) {
    EXPECT_EQ(a.ids, b.ids);
    EXPECT_EQ(a.received, b.received);
    EXPECT_EQ(a.onboard, b.onboard);
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.pass, b.pass);
    ASSERT_EQ(a.passes.size(), b.passes.size());
    for (std::size_t p = 0; p < a.passes.size(); ++p) {
        const auto fields = [](const PassSummary& s) {
            return std::make_tuple(s.number, s.start, s.end, s.frames, s.receptions, s.stations);
        };
        EXPECT_EQ(fields(a.passes[p]), fields(b.passes[p])) << "pass " << p + 1;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a.stations(k), b.stations(k)) << "frame " << a.ids[k];
    }
    for (const TimeBase base : {TimeBase::Reception, TimeBase::Onboard}) {
        EXPECT_EQ(a.axis(base).x, b.axis(base).x);
        EXPECT_EQ(a.axis(base).runStarts, b.axis(base).runStarts);
        EXPECT_EQ(a.axis(base).frames, b.axis(base).frames);
    }
}

TEST(HistoryData, FramesHeardLaterExtendWhatWasReadAsReadingItAllWould) {
    using testarchive::entries;
    using testarchive::logLine;
    TempFolder folder;
    auto store = OpenArchive((folder / "a.sqlite").string(), ArchiveAccess::Write);
    store->add(entries({logLine(100, "2026-12-01T10:00:00Z"), logLine(160, "2026-12-01T10:01:00Z")},
                       "north"));
    const std::vector<int> wanted{kBusVoltageAverage};
    const std::vector<ArchiveStore*> one{store.get()};
    const HistoryData before = LoadHistory(one, wanted);

    // The pass goes on, heard by two stations now, and the next one begins.
    const std::vector<std::string> later{logLine(220, "2026-12-01T10:02:00Z"),
                                         logLine(7300, "2026-12-01T12:00:00Z")};
    store->add(entries(later, "north"));
    store->add(entries({later[0]}, "south"));
    const std::optional<HistoryData> extended = ExtendHistory(before, *store);
    ASSERT_TRUE(extended.has_value());
    const HistoryData whole = LoadHistory(one, wanted);
    ASSERT_EQ(whole.passes.size(), 2U);
    ExpectSameHistory(*extended, whole);

    // Frames that would fall among those read, or that have no time: the archive is read whole.
    for (const std::string& line : {logLine(9000, "2026-12-01T09:00:00Z"), logLine(9100)}) {
        store->add(entries({line}, "north"));
        EXPECT_FALSE(ExtendHistory(whole, *store).has_value()) << line;
    }
}

}  // namespace
