// Where following a file starts so as to begin with its newest telemetry lines.
#include "pelorin/tail_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/log_follower.h"
#include "temp_folder.h"

namespace {

using pelorin::FindTailStart;

struct TailCase {
    const char* name;
    std::string text;
    std::size_t count;
    std::string expectedFrom;  // the text from the expected start on
};

TEST(TailStart, FirstOfTheLastTelemetryLines) {
    const std::string t1 = testframes::lineWithTime(1);
    const std::string t2 = testframes::lineWithTime(2);
    const std::string t3 = testframes::lineWithTime(3);
    const std::string others(200000, 'x');  // more than the first window of a small count
    const std::vector<TailCase> cases = {
        {"fewer than asked", "a\n" + t1 + "\n", 2, "a\n" + t1 + "\n"},
        {"empty", "", 1, ""},
        {"lines between", "a\r\n" + t1 + "\r\nb\r\n" + t2 + "\r\nc\r\n", 1, t2 + "\r\nc\r\n"},
        {"CR line ends", t1 + "\r" + t2 + "\rb\r", 2, t1 + "\r" + t2 + "\rb\r"},
        {"an unended last line does not count", t1 + "\n" + t2 + "\n" + t3, 1, t2 + "\n" + t3},
        {"damaged and other lines do not count", t1 + "\n" + t2 + "0\nPLRN-1.TLM\n", 1,
         t1 + "\n" + t2 + "0\nPLRN-1.TLM\n"},
        {"far back", t1 + "\n" + t2 + "\n" + others + "\n" + others + "\n", 2,
         t1 + "\n" + t2 + "\n" + others + "\n" + others + "\n"},
        {"a long line cut by the window", t1 + "\n" + others + t2 + "\n" + t3 + "\n", 2,
         others + t2 + "\n" + t3 + "\n"},
    };
    TempFolder tmp;
    const auto log = tmp / "pass.log";
    for (const TailCase& c : cases) {
        WriteFile(log, c.text);
        const pelorin::TailStart start = FindTailStart(log.string(), c.count);
        EXPECT_EQ(start.error, 0) << c.name;
        EXPECT_EQ(c.text.substr(static_cast<std::size_t>(start.offset)), c.expectedFrom) << c.name;
    }
    EXPECT_EQ(FindTailStart((tmp / "none").string(), 1).error, ENOENT);
}

// A log of few telemetry lines is read from its last `maxBytes` on, from a line start, and says
// so; one whose telemetry lies within them is not cut.
TEST(TailStart, NeverReadsMoreThanTheBoundFromTheEnd) {
    TempFolder tmp;
    const auto log = tmp / "beacons.log";
    std::string beacons;
    for (int k = 0; k < 20000; ++k) {
        beacons += "beacon " + std::to_string(k) + "\n";
    }
    const std::string t1 = testframes::lineWithTime(1) + "\n";
    WriteFile(log, t1 + beacons);
    const pelorin::TailStart cut = FindTailStart(log.string(), 1000, 100000);
    EXPECT_TRUE(cut.cut);
    const std::string text = t1 + beacons;
    EXPECT_LE(static_cast<std::int64_t>(text.size()) - cut.offset, 100000);
    EXPECT_GT(static_cast<std::int64_t>(text.size()) - cut.offset, 99000);
    EXPECT_EQ(text[static_cast<std::size_t>(cut.offset) - 1], '\n');
    const pelorin::TailStart whole = FindTailStart(log.string(), 1000, 1 << 20);
    EXPECT_FALSE(whole.cut);
    EXPECT_EQ(whole.offset, 0);
}

// The part of the file read first begins a little before, at or after a CR LF: the first line
// taken whole is the one after it.
TEST(TailStart, ReadingFromInsideTheFileFindsTheLineStarts) {
    TempFolder tmp;
    const auto log = tmp / "pass.log";
    const std::string head =
        testframes::lineWithTime(1) + "\r\n" + std::string(70000, 'x') + "\r\n";
    const std::string newest = testframes::lineWithTime(2) + "\r\n";
    // Around 64 KiB from the end, where a scan for one line begins.
    for (std::size_t pad = 65380; pad < 65440; ++pad) {
        WriteFile(log, head + newest + std::string(pad, 'y') + "\r\n");
        ASSERT_EQ(FindTailStart(log.string(), 1).offset, static_cast<std::int64_t>(head.size()))
            << pad;
    }
}

// Following from the tail start gives the newest records first, then what is appended.
TEST(TailStart, FollowingStartsThere) {
    TempFolder tmp;
    const auto log = tmp / "pass.log";
    std::string text;
    for (unsigned k = 1; k <= 1500; ++k) {
        text += testframes::lineWithTime(k) + "\r\nbeacon\r\n";
    }
    WriteFile(log, text);
    pelorin::LogFollower follower(log.string());
    ASSERT_EQ(follower.start(FindTailStart(log.string(), 1000).offset), 0);
    pelorin::FollowBatch batch;
    follower.poll(batch);
    ASSERT_EQ(batch.lines.size(), 2000U);
    EXPECT_EQ(batch.text(batch.lines.front()), testframes::lineWithTime(501));
    EXPECT_EQ(batch.lines.front().number, 1);
}

}  // namespace
