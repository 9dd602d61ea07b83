#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <thread>

#include "archive_engines.h"
#include "archive_lines.h"
#include "pelorin/archive_store.h"
#include "pelorin/decoder.h"
#include "temp_folder.h"

namespace {

using pelorin::AddCounts;
using pelorin::ArchiveAccess;
using testarchive::entries;
using testarchive::logLine;

using testarchive::Engine;

// Each behaviour on every engine.
class ArchiveStoreTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        PELORIN_REQUIRE_ENGINE(locations_);
        location_ = locations_.fresh();
    }
    std::unique_ptr<pelorin::ArchiveStore> open(ArchiveAccess access = ArchiveAccess::Write) {
        return pelorin::OpenArchive(location_, access);
    }
    std::unique_ptr<pelorin::ArchiveStore> openFresh() {
        return pelorin::OpenArchive(locations_.fresh(), ArchiveAccess::Write);
    }
    testarchive::ArchiveLocations locations_{GetParam()};
    std::string location_;
};

struct AddStep {
    const char* what;
    std::vector<std::string> lines;
    std::string station;
    std::string source;
    AddCounts expected;
};

void expectCounts(const AddCounts& got, const AddCounts& expected, const char* what) {
    EXPECT_EQ(got.newFrames, expected.newFrames) << what;
    EXPECT_EQ(got.knownFrames, expected.knownFrames) << what;
    EXPECT_EQ(got.newReceptions, expected.newReceptions) << what;
}

TEST_P(ArchiveStoreTest, AddingIsIdempotentAndOverlapsAddReceptionsOnly) {
    const std::vector<std::string> log = {logLine(60), "beacon", logLine(120), logLine(60)};
    const AddStep steps[] = {
        {"first add; the repeated frame is one frame", log, "", "a.log", {2, 1, 3}},
        {"the same log again", log, "", "a.log", {0, 3, 0}},
        {"another station hears it", log, "W1ABC", "b.log", {0, 3, 3}},
        {"the same lines from another source", log, "", "c.log", {0, 3, 3}},
        {"a new frame among known ones", {logLine(120), logLine(180)}, "", "d.log", {1, 1, 2}},
    };
    auto store = open();
    for (const AddStep& step : steps) {
        expectCounts(store->add(entries(step.lines, step.station, step.source)), step.expected,
                     step.what);
    }
    const pelorin::ArchiveStats stats = store->stats();
    EXPECT_EQ(stats.frames, 3);
    EXPECT_EQ(stats.receptions, 11);
    EXPECT_EQ(stats.stations, 2);
    const auto passes = store->passes({});
    ASSERT_EQ(passes.size(), 1U);
    EXPECT_EQ(passes[0].receptions, 11);
    EXPECT_EQ(passes[0].stations, 2);
    // A reopened archive holds the same.
    store.reset();
    EXPECT_EQ(open(ArchiveAccess::Read)->stats().receptions, 11);
}

TEST_P(ArchiveStoreTest, DigitsAndValuesAreTheDecodersAndTheFirstReceptionIsTheEarliest) {
    std::string lower = testframes::line();
    std::transform(lower.begin() + 10, lower.end(), lower.begin() + 10, ::tolower);
    auto store = open();
    store->add(entries({"2026-12-08T13:25:40Z " + lower}, "B", "late"));
    store->add(entries({testframes::line()}, "C", "untimed"));
    store->add(entries({"[2026-12-08 13:20:00.5] " + testframes::line()}, "A", "early"));
    const auto frames = testarchive::frameDump(*store);
    ASSERT_EQ(frames.size(), 1U);
    pelorin::FrameText text{};
    pelorin::ExamineLine(testframes::line(), text);
    pelorin::TelemetryRecord decoded{};
    pelorin::DecodeFrame(text, decoded);
    store->forEachFrame({}, [&decoded](const pelorin::ArchivedFrame& f) {
        EXPECT_EQ(f.values, decoded);
        EXPECT_EQ(pelorin::FormatUtcTime(*f.firstReceived), "2026-12-08T13:20:00.500Z");
        EXPECT_EQ(f.source, "early");
        EXPECT_EQ(f.stations, (std::vector<std::string>{"A", "B", "C"}));
    });
}

struct FirstReceptionCase {
    const char* what;
    std::vector<std::vector<pelorin::ArchiveEntry>> adds;
    const char* first;  // the frame's first reception afterwards
    std::int64_t receptions;
};

// The one test frame, heard by `station` on `line` of "log" at `stamp` (none when empty).
pelorin::ArchiveEntry heard(const char* station, std::int64_t line, const std::string& stamp) {
    pelorin::ArchiveEntry e = entries({logLine(60, stamp)}, station, "log").front();
    e.line = line;
    return e;
}

// Only a reception that is added counts: a line archived before, heard again with another
// time, leaves the frame's first reception as it was, in one batch or in two.
TEST_P(ArchiveStoreTest, TheFirstReceptionIsTheEarliestOfThoseAdded) {
    const std::string early = "2026-12-08T10:00:00Z";
    const std::string late = "2026-12-08T10:05:00Z";
    const FirstReceptionCase cases[] = {
        {"an earlier one later in the batch",
         {{heard("A", 1, late), heard("B", 1, early), heard("C", 1, "")}},
         "2026-12-08T10:00:00.000Z",
         3},
        {"an earlier one in a later batch",
         {{heard("A", 1, late)}, {heard("B", 1, ""), heard("B", 2, early)}},
         "2026-12-08T10:00:00.000Z",
         3},
        {"the same line again with an earlier time, in the batch",
         {{heard("A", 1, late), heard("A", 1, early)}},
         "2026-12-08T10:05:00.000Z",
         1},
        {"the same line again with an earlier time, later",
         {{heard("A", 1, late)}, {heard("A", 1, early), heard("B", 1, "")}},
         "2026-12-08T10:05:00.000Z",
         2},
    };
    for (const FirstReceptionCase& c : cases) {
        auto store = openFresh();
        for (const auto& batch : c.adds) {
            store->add(batch);
        }
        const auto dump = testarchive::frameDump(*store);
        ASSERT_EQ(dump.size(), 1U) << c.what;
        EXPECT_NE(dump[0].find(c.first), std::string::npos) << c.what << ": " << dump[0];
        EXPECT_EQ(store->stats().receptions, c.receptions) << c.what;
    }
}

struct PassCase {
    const char* what;
    std::vector<std::string> lines;
    std::vector<std::int64_t> framesPerPass;
};

TEST_P(ArchiveStoreTest, PassesSplitAtGapsAndReboots) {
    const PassCase cases[] = {
        {"reception times 15 minutes apart stay together",
         {logLine(1, "2026-12-08T10:00:00Z"), logLine(2, "2026-12-08T10:15:00Z"),
          logLine(3, "2026-12-08T10:30:00.001Z"), logLine(4, "2026-12-08T10:31:00Z")},
         {2, 2}},
        {"frames without time go by on-board time; a reboot starts a pass",
         {logLine(5000), logLine(5060), logLine(5960), logLine(6861), logLine(30), logLine(90)},
         {3, 1, 2}},
        {"timed frames come first, then the others",
         {logLine(100), logLine(7, "2026-12-08T10:00:00Z")},
         {1, 1}},
    };
    for (const PassCase& c : cases) {
        auto store = openFresh();
        store->add(entries(c.lines));
        std::vector<std::int64_t> sizes;
        for (const pelorin::PassSummary& pass : store->passes({})) {
            sizes.push_back(pass.frames);
            // Each pass exports exactly its frames.
            EXPECT_EQ(testarchive::frameDump(*store, {{}, pass.number}).size(),
                      static_cast<std::size_t>(pass.frames))
                << c.what;
        }
        EXPECT_EQ(sizes, c.framesPerPass) << c.what;
    }
}

TEST_P(ArchiveStoreTest, ExportOrderAndTimeRange) {
    auto store = open();
    store->add(entries({logLine(300), logLine(3, "2026-12-08T12:00:00Z"), logLine(100),
                        logLine(1, "2026-12-08T10:00:00Z"), logLine(2, "2026-12-07T10:00:00Z")}));
    std::vector<double> order;
    store->forEachFrame({}, [&order](const auto& f) { order.push_back(f.values[0]); });
    EXPECT_EQ(order, (std::vector<double>{2, 1, 3, 100, 300}));
    order.clear();
    const pelorin::TimeRange day{pelorin::ParseUtcTime("2026-12-08"),
                                 pelorin::ParseUtcTime("2026-12-08T11:00:00Z")};
    store->forEachFrame({day, {}}, [&order](const auto& f) { order.push_back(f.values[0]); });
    EXPECT_EQ(order, (std::vector<double>{1}));
    EXPECT_EQ(store->passes(day).size(), 1U);
}

// Random logs, added whole or in pieces and in any order, end as the same frames.
TEST_P(ArchiveStoreTest, AnyOrderAndBatchingGiveTheSameFrames) {
    std::mt19937 random(20261208);
    std::vector<std::vector<pelorin::ArchiveEntry>> logs;
    for (int log = 0; log < 4; ++log) {
        std::vector<std::string> lines;
        for (int k = 0; k < 60; ++k) {
            const unsigned seconds = random() % 90;
            const bool timed = random() % 3 != 0;
            const std::string stamp = "2026-12-08T1" + std::to_string(random() % 10) + ":0" +
                                      std::to_string(random() % 10) + ":00Z";
            lines.push_back(logLine(seconds, timed ? stamp : ""));
        }
        logs.push_back(entries(lines, "S" + std::to_string(log % 2), "log" + std::to_string(log)));
    }
    std::vector<std::string> reference;
    for (int round = 0; round < 5; ++round) {
        auto store = openFresh();
        std::vector<std::size_t> order = {0, 1, 2, 3};
        std::shuffle(order.begin(), order.end(), random);
        for (const std::size_t log : order) {
            const auto& all = logs[log];
            for (std::size_t at = 0; at < all.size();) {
                const std::size_t size = round == 0 ? all.size() : 1 + random() % 20;
                const std::size_t end = std::min(all.size(), at + size);
                store->add({all.begin() + static_cast<std::ptrdiff_t>(at),
                            all.begin() + static_cast<std::ptrdiff_t>(end)});
                at = end;
            }
        }
        const auto dump = testarchive::frameDump(*store);
        if (round == 0) {
            reference = dump;
            EXPECT_EQ(store->stats().receptions, 240);
        } else {
            EXPECT_EQ(dump, reference) << "round " << round;
        }
    }
}

// Stations adding overlapping logs at once, each through its own connection and from the very
// first add, end with what one station adding them all in turn ends with: every frame once,
// every reception, the earliest reception first.
TEST_P(ArchiveStoreTest, ConcurrentWritersWithOverlappingLogsEndWithTheUnion) {
    constexpr unsigned kFramesPerLog = 100;
    constexpr unsigned kOverlapStep = 50;
    constexpr std::size_t kBatch = 10;
    for (const unsigned writers : {2U, 8U}) {
        std::vector<std::vector<pelorin::ArchiveEntry>> logs;
        for (unsigned k = 0; k < writers; ++k) {
            std::vector<std::string> lines;
            for (unsigned j = 0; j < kFramesPerLog; ++j) {
                const unsigned s = k * kOverlapStep + j;
                const std::string stamp = "2026-12-08T10:" + std::to_string(10 + s / 60) + ":" +
                                          std::to_string(10 + s % 50) + "." +
                                          std::to_string(100 + (writers - k)) + "Z";
                lines.push_back(logLine(s, stamp));
            }
            logs.push_back(entries(lines, "S" + std::to_string(k), "station.log"));
        }
        auto reference = openFresh();
        for (const auto& log : logs) {
            reference->add(log);
        }
        const std::string shared = locations_.fresh();
        std::vector<std::string> errors(writers);
        std::vector<std::thread> threads;
        for (unsigned k = 0; k < writers; ++k) {
            threads.emplace_back([&, k] {
                try {
                    auto store = pelorin::OpenArchive(shared, ArchiveAccess::Write);
                    const auto& log = logs[k];
                    for (std::size_t at = 0; at < log.size(); at += kBatch) {
                        store->add({log.begin() + static_cast<std::ptrdiff_t>(at),
                                    log.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(log.size(), at + kBatch))});
                    }
                } catch (const pelorin::ArchiveError& error) {
                    errors[k] = error.what();
                }
            });
        }
        for (std::thread& t : threads) {
            t.join();
        }
        EXPECT_EQ(errors, std::vector<std::string>(writers)) << writers << " writers";
        auto store = pelorin::OpenArchive(shared, ArchiveAccess::Read);
        EXPECT_EQ(store->stats().frames, reference->stats().frames) << writers << " writers";
        EXPECT_EQ(store->stats().receptions, writers * kFramesPerLog) << writers << " writers";
        EXPECT_EQ(testarchive::frameDump(*store), testarchive::frameDump(*reference))
            << writers << " writers";
    }
}

TEST_P(ArchiveStoreTest, ChartReadsGiveWhatExportGivesOfTheValuesAskedFor) {
    auto store = open();
    EXPECT_EQ(store->newestFrame(), 0);
    store->add(entries({logLine(60, "2026-12-08T10:00:00Z"), logLine(120)}, "north"));
    store->add(entries({logLine(60, "2026-12-08T09:59:00Z")}, "south"));
    const std::vector<int> wanted{20, 0, 35};

    std::map<std::int64_t, std::string> chart;
    store->forEachChartFrame(wanted, {}, [&](const pelorin::ChartFrame& f) {
        ASSERT_EQ(f.values.size(), wanted.size());
        std::string text = f.firstReceived ? pelorin::FormatUtcTime(*f.firstReceived) : "-";
        for (double v : f.values) {
            text.append(" ").append(std::to_string(v));
        }
        EXPECT_TRUE(chart.emplace(f.id, text).second) << "frame " << f.id << " twice";
    });
    std::map<std::int64_t, std::string> exported;
    std::map<std::int64_t, std::vector<std::string>> heard;
    store->forEachFrame({}, [&](const pelorin::ArchivedFrame& f) {
        std::string text = f.firstReceived ? pelorin::FormatUtcTime(*f.firstReceived) : "-";
        for (int v : wanted) {
            text.append(" ").append(std::to_string(f.values[static_cast<std::size_t>(v)]));
        }
        exported[f.id] = text;
        heard[f.id] = f.stations;
    });
    EXPECT_EQ(chart, exported);

    std::map<std::int64_t, std::vector<std::string>> stations;
    std::int64_t last = 0;
    store->forEachStation({}, [&](std::int64_t id, std::string_view station) {
        EXPECT_GE(id, last) << "not by frame id";
        last = id;
        stations[id].emplace_back(station);
    });
    EXPECT_EQ(stations, heard);

    // A stretch of ids, as readers split the archive among them: both ends included.
    const std::int64_t second = std::next(exported.begin())->first;
    std::vector<std::int64_t> read;
    store->forEachChartFrame(wanted, {second, second},
                             [&](const pelorin::ChartFrame& f) { read.push_back(f.id); });
    store->forEachStation({.first = second},
                          [&](std::int64_t id, std::string_view) { read.push_back(id); });
    EXPECT_EQ(read, std::vector<std::int64_t>(1 + heard[second].size(), second));

    const std::int64_t newest = store->newestFrame();
    EXPECT_EQ(newest, exported.rbegin()->first);
    store->add(entries({logLine(180)}));
    EXPECT_GT(store->newestFrame(), newest);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveStoreTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         testarchive::EngineName);

}  // namespace
