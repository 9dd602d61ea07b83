// The log follower on real files: what each poll hands out after appends, rotations,
// deletions and truncations made between polls.
#include "pelorin/log_follower.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using pelorin::FollowBatch;
using pelorin::LogFollower;

constexpr std::chrono::seconds kDeadline{5};

// By FollowEventKind, in its order.
constexpr const char* kEventNames[] = {"<rotated>",      "<truncated>", "<missing>",
                                       "<unfollowable>", "<back>",      "<read failed>"};

// Polls until a poll leaves nothing more to read, or the deadline passes: the lines, as
// "number:text", and the events, in order.
std::vector<std::string> Poll(LogFollower& follower, std::size_t budget = 1 << 20) {
    std::vector<std::string> got;
    FollowBatch batch;
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    do {
        follower.poll(batch, budget);
        std::size_t event = 0;
        for (std::size_t k = 0; k <= batch.lines.size(); ++k) {
            for (; event < batch.events.size() && batch.events[event].beforeLine == k; ++event) {
                got.emplace_back(kEventNames[static_cast<int>(batch.events[event].kind)]);
            }
            if (k < batch.lines.size()) {
                const auto& line = batch.lines[k];
                got.push_back(std::to_string(line.number) + ":" + std::string(batch.text(line)));
            }
        }
    } while (batch.more && std::chrono::steady_clock::now() < deadline);
    return got;
}

void Append(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::app) << text;
}

using Lines = std::vector<std::string>;

class Follower : public testing::Test {
  protected:
    TempFolder tmp;
    fs::path log = tmp / "rot.log";
    LogFollower follower{log.string()};

    void Start(const std::string& content) {
        WriteFile(log, content);
        ASSERT_EQ(follower.start(), 0);
    }
};

TEST_F(Follower, HandsOutCompleteLinesOnly) {
    Start("a\r\nb\n");
    EXPECT_EQ(Poll(follower), (Lines{"1:a", "2:b"}));
    Append(log, "par");
    EXPECT_EQ(Poll(follower), Lines{});
    EXPECT_EQ(follower.pendingBytes(), 3);
    Append(log, "tial\r");
    EXPECT_EQ(Poll(follower), Lines{"3:partial"});
    Append(log, "\nnext\n");
    EXPECT_EQ(Poll(follower), Lines{"4:next"}) << "the CR and the LF are one line end";
    Append(log, std::string(3 << 20, 'x') + "\n");
    EXPECT_EQ(Poll(follower, 4096).size(), 1U) << "a line longer than any budget";
}

TEST_F(Follower, RenamedFileIsReadToItsEndThenTheNewOne) {
    Start("1\n");
    EXPECT_EQ(Poll(follower), Lines{"1:1"});
    Append(log, "2\nhal");
    fs::rename(log, tmp / "rot.log.1");
    WriteFile(log, "new\n");
    EXPECT_EQ(Poll(follower), (Lines{"2:2", "3:hal", "<rotated>", "1:new"}));
    Append(tmp / "rot.log.1", "late\n");
    Append(log, "more\n");
    EXPECT_EQ(Poll(follower), Lines{"2:more"});

    // A new file of UTF-16 text is refused as at the start, once, until a UTF-8 one comes.
    fs::rename(log, tmp / "rot.log.2");
    WriteFile(log, std::string("\xFF\xFEx\0\n\0", 6));
    EXPECT_EQ(Poll(follower), Lines{"<unfollowable>"});
    EXPECT_EQ(Poll(follower), Lines{});
    fs::remove(log);
    WriteFile(log, "utf8\n");
    EXPECT_EQ(Poll(follower), (Lines{"<back>", "1:utf8"}));
}

TEST_F(Follower, DeletedFileIsWaitedFor) {
    Start("1\n");
    EXPECT_EQ(Poll(follower), Lines{"1:1"});
    {
        std::ofstream writer(log, std::ios::binary | std::ios::app);
        fs::remove(log);
        writer << "2\n" << std::flush;
        EXPECT_EQ(Poll(follower), (Lines{"2:2", "<missing>"}));
        EXPECT_EQ(Poll(follower), Lines{}) << "said once";
        writer << "3\n" << std::flush;
        EXPECT_EQ(Poll(follower), Lines{"3:3"}) << "the open file is still read";
    }
    fs::create_directory(log);
    EXPECT_EQ(Poll(follower), Lines{"<unfollowable>"});
    EXPECT_EQ(Poll(follower), Lines{});
    fs::remove(log);
    WriteFile(log, "back\n");
    EXPECT_EQ(Poll(follower), (Lines{"<back>", "1:back"}));
}

struct Rewrite {
    const char* name;
    std::string before;  // read in full
    std::string after;   // what the file holds at the next poll
    Lines expected;
};

// The file emptied and written again between two polls, shorter or already longer than what
// had been read; the same content grown further is no truncation.
TEST_F(Follower, TruncationIsFoundEvenWhenTheFileRegrew) {
    const std::string banner(300, '#');
    const std::vector<Rewrite> cases = {
        {"emptied", "1\n2\n", "", {"<truncated>"}},
        {"shorter", "1\n2\n", "x\n", {"<truncated>", "1:x"}},
        {"regrown past the place",
         "1\n2\n",
         "n1\nn2\nn3\n",
         {"<truncated>", "1:n1", "2:n2", "3:n3"}},
        {"same head, other bytes before the place",
         banner + "\na\n",
         banner + "\nbb\nc\n",
         {"<truncated>", "1:" + banner, "2:bb", "3:c"}},
        {"same content, grown", "1\n2\n", "1\n2\n3\n", {"3:3"}},
    };
    for (const Rewrite& c : cases) {
        LogFollower f(log.string());
        WriteFile(log, c.before);
        ASSERT_EQ(f.start(), 0);
        Poll(f);
        fs::resize_file(log, 0);
        Append(log, c.after);
        EXPECT_EQ(Poll(f), c.expected) << c.name;
    }
}

TEST(FollowerStart, RefusesWhatCannotBeFollowed) {
    TempFolder tmp;
    EXPECT_EQ(LogFollower((tmp / "none").string()).start(), ENOENT);
    EXPECT_EQ(LogFollower(tmp.path().string()).start(), pelorin::kNotRegularFile);
    // Text with a UTF-16 or UTF-32 byte order mark; UTF-8 with its mark is followed.
    for (const std::string& mark :
         {std::string("\xFF\xFE", 2), std::string("\xFE\xFF", 2), std::string("\xFF\xFE\0\0", 4),
          std::string("\0\0\xFE\xFF", 4)}) {
        WriteFile(tmp / "wide.log", mark + std::string("x\0\n\0", 4));
        EXPECT_EQ(LogFollower((tmp / "wide.log").string()).start(), pelorin::kWideText);
    }
    WriteFile(tmp / "utf8.log", "\xEF\xBB\xBFline\n");
    EXPECT_EQ(LogFollower((tmp / "utf8.log").string()).start(), 0);
}

}  // namespace
