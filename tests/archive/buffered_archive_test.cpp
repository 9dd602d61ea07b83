#include <gtest/gtest.h>

#include "archive_engines.h"
#include "archive_lines.h"
#include "pelorin/buffered_archive.h"

namespace {

using pelorin::ArchiveAccess;
using pelorin::BufferedArchive;
using testarchive::Engine;

class BufferedArchiveTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override { PELORIN_REQUIRE_ENGINE(locations_); }
    testarchive::ArchiveLocations locations_{GetParam()};
    TempFolder folder_;
};

// Where an archive cannot be opened: no server at that socket, no folder under a device.
std::string unreachable(Engine engine) {
    return engine == Engine::Postgres ? "postgresql:///pelorin?host=/nonexistent-pelorin-socket"
                                      : "/dev/null/archive.sqlite";
}

// While the archive is away the frames wait, the oldest past the bound go to the local archive,
// and once it is back all the rest are written in order: every frame is in one of the two.
TEST_P(BufferedArchiveTest, NothingIsLostWhileTheArchiveIsAway) {
    constexpr std::size_t kBound = 5;
    const std::string archive = locations_.fresh();
    const std::string local = (folder_ / "local.sqlite").string();
    bool away = true;
    std::vector<std::string> told;
    BufferedArchive buffer(
        [&] {
            return pelorin::OpenArchive(away ? unreachable(GetParam()) : archive,
                                        ArchiveAccess::Write);
        },
        [&] { return pelorin::OpenArchive(local, ArchiveAccess::Write); }, local,
        [&told](const std::string& message) { told.push_back(message); },
        {kBound, std::chrono::seconds(1), std::chrono::seconds(4)});
    BufferedArchive::Clock::time_point now{};
    std::vector<std::string> lines;
    for (unsigned k = 0; k < 8; ++k) {
        lines.push_back(testarchive::logLine(k, "2026-12-08T10:00:0" + std::to_string(k) + "Z"));
        buffer.add(testarchive::entries({lines.back()}, "S", "log"), now);
        now += std::chrono::milliseconds(700);
    }
    EXPECT_TRUE(buffer.lost());
    EXPECT_EQ(buffer.waiting(), kBound);
    ASSERT_EQ(told.size(), 4U) << "lost once, then an overflow for each frame past the bound";
    EXPECT_EQ(told[0].find("could not open"), 0U) << told[0];
    EXPECT_NE(told[1].find("went to " + local), std::string::npos) << told[1];

    away = false;
    buffer.add({}, now);  // retried only once the pause is over
    EXPECT_TRUE(buffer.lost());
    now += std::chrono::seconds(4);
    EXPECT_EQ(buffer.add({}, now).newFrames, static_cast<std::int64_t>(kBound));
    EXPECT_FALSE(buffer.lost());
    EXPECT_EQ(told.size(), 5U);
    EXPECT_EQ(told.back().find("the archive is back"), 0U) << told.back();

    auto onServer = testarchive::frameDump(*pelorin::OpenArchive(archive, ArchiveAccess::Read));
    const auto overflowed =
        testarchive::frameDump(*pelorin::OpenArchive(local, ArchiveAccess::Read));
    onServer.insert(onServer.begin(), overflowed.begin(), overflowed.end());
    const auto all = pelorin::OpenArchive(locations_.fresh(), ArchiveAccess::Write);
    for (const std::string& line : lines) {
        all->add(testarchive::entries({line}, "S", "log"));
    }
    const auto expected = testarchive::frameDump(*all);
    EXPECT_EQ(onServer, expected);
}

INSTANTIATE_TEST_SUITE_P(Engines, BufferedArchiveTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         testarchive::EngineName);

}  // namespace
