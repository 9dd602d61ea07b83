#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
