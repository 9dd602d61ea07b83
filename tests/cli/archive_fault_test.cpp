#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <fstream>

#include "decoder_process.h"
#include "frames.h"

namespace {

// How long an add of a large log may take on a busy machine.
constexpr std::chrono::seconds kSlowRun{90};

// A log of `frames` distinct telemetry lines, on-board times from `first` on, a beacon between.
void writeLog(const std::filesystem::path& path, unsigned first, unsigned frames) {
    std::ofstream out(path, std::ios::binary);
    for (unsigned k = 0; k < frames; ++k) {
        out << testframes::lineWithTime(first + k) << "\nbeacon\n";
    }
}

std::vector<std::string> archiveArgs(const std::filesystem::path& archive,
                                     std::vector<std::string> args) {
    args.insert(args.begin(), {"--archive", archive.string()});
    return args;
}

// The frames' digits in the order they were archived.
std::vector<std::string> archivedDigits(const std::filesystem::path& archive) {
    std::vector<std::string> digits;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(archive.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    EXPECT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, "SELECT digits FROM frames ORDER BY id", -1, &rows, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        digits.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(rows, 0)));
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);
    return digits;
}

std::int64_t frameCount(const std::filesystem::path& archive) {
    sqlite3* db = nullptr;
    std::int64_t count = 0;
    if (sqlite3_open_v2(archive.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* rows = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM frames", -1, &rows, nullptr);
        count = sqlite3_step(rows) == SQLITE_ROW ? sqlite3_column_int64(rows, 0) : 0;
        sqlite3_finalize(rows);
    }
    sqlite3_close(db);
    return count;
}

std::string digitsOf(unsigned seconds) {
    return testframes::lineWithTime(seconds).substr(pelorin::FrameMarker.size());
}

// The window following a log while pelorin-archive imports a large one: both finish and every
// frame of both is there.
TEST(ArchiveFaults, TwoWritersAtOnceLoseNothing) {
    TempFolder folder;
    const auto archive = folder / "a.sqlite";
    const auto followed = folder / "today.log";
    const auto large = folder / "large.log";
    constexpr unsigned kFollowed = 300;
    constexpr unsigned kLarge = 100'000;
    writeLog(large, 1'000'000, kLarge);
    WriteFile(followed, "");
    TempFolder followIo;
    TempFolder importIo;
    DecoderProcess follow(followIo, archiveArgs(archive, {"add", "-f", followed.string()}),
                          "/dev/null", {}, PELORIN_ARCHIVE_EXE);
    DecoderProcess import(importIo, archiveArgs(archive, {"add", large.string()}), "/dev/null", {},
                          PELORIN_ARCHIVE_EXE);
    {
        std::ofstream out(followed, std::ios::binary | std::ios::app);
        for (unsigned k = 0; k < kFollowed; ++k) {
            out << testframes::lineWithTime(k) << '\n' << std::flush;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    EXPECT_EQ(import.wait(kSlowRun), 0) << import.err();
    ASSERT_TRUE(
        DecoderProcess::waitUntil([&] { return frameCount(archive) == kFollowed + kLarge; }));
    follow.signal(SIGINT);
    EXPECT_EQ(follow.wait(), 130) << follow.err();
    EXPECT_NE(follow.err().find(std::to_string(kFollowed) + " new frames"), std::string::npos)
        << follow.err();
}

TEST(ArchiveFaults, AFileThatIsNoArchiveIsRefusedAndLeftAlone) {
    TempFolder folder;
    const auto archive = folder / "a.sqlite";
    std::string bytes;
    for (int k = 0; k < 4096; ++k) {
        bytes.push_back(static_cast<char>(k * 7919 % 251));
    }
    WriteFile(archive, bytes);
    writeLog(folder / "log", 0, 10);
    for (const char* command : {"add", "stats"}) {
        std::vector<std::string> args{command};
        if (args[0] == "add") {
            args.push_back((folder / "log").string());
        }
        TempFolder io;
        DecoderProcess run(io, archiveArgs(archive, args), "/dev/null", {}, PELORIN_ARCHIVE_EXE);
        EXPECT_EQ(run.wait(), 1) << command;
        EXPECT_NE(run.err().find(archive.string() + " is not an archive"), std::string::npos)
            << run.err();
        EXPECT_EQ(ReadFile(archive), bytes) << command;
    }
}

// The disk fills up in the middle of an add (a file-size limit, which fails writes as a full
// disk does): that batch is rolled back and the archive keeps what it held.
TEST(ArchiveFaults, AFullDiskRollsBackTheBatch) {
    TempFolder folder;
    const auto archive = folder / "a.sqlite";
    writeLog(folder / "small.log", 0, 50);
    writeLog(folder / "large.log", 1000, 30'000);
    {
        TempFolder io;
        DecoderProcess first(io, archiveArgs(archive, {"add", (folder / "small.log").string()}),
                             "/dev/null", {}, PELORIN_ARCHIVE_EXE);
        ASSERT_EQ(first.wait(), 0);
    }
    const std::vector<std::string> before = archivedDigits(archive);
    const auto limit = static_cast<rlim_t>(std::filesystem::file_size(archive) + 256 * 1024);
    TempFolder io;
    DecoderProcess full(
        io, archiveArgs(archive, {"add", (folder / "large.log").string()}), "/dev/null",
        [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        },
        PELORIN_ARCHIVE_EXE);
    EXPECT_EQ(full.wait(), 1);
    EXPECT_NE(full.err().find("could not write the archive " + archive.string()), std::string::npos)
        << full.err();
    EXPECT_EQ(archivedDigits(archive), before);
}

// Killed in the middle of an add, the archive opens and holds what was committed: the log's
// frames up to some point, in order, and an add again completes it.
TEST(ArchiveFaults, KilledMidAddKeepsEveryCommittedFrame) {
    TempFolder folder;
    const auto archive = folder / "a.sqlite";
    const auto log = folder / "large.log";
    constexpr unsigned kFrames = 100'000;
    writeLog(log, 0, kFrames);
    {
        TempFolder io;
        DecoderProcess add(io, archiveArgs(archive, {"add", log.string()}), "/dev/null", {},
                           PELORIN_ARCHIVE_EXE);
        ASSERT_TRUE(DecoderProcess::waitUntil([&] { return frameCount(archive) > 0; }));
        add.signal(SIGKILL);
        add.wait();
        EXPECT_EQ(add.killedBy(), SIGKILL);
    }
    const std::vector<std::string> kept = archivedDigits(archive);
    ASSERT_GT(kept.size(), 0U);
    ASSERT_LT(kept.size(), kFrames);
    for (std::size_t k = 0; k < kept.size(); k += 997) {
        EXPECT_EQ(kept[k], digitsOf(static_cast<unsigned>(k)));
    }
    EXPECT_EQ(kept.back(), digitsOf(static_cast<unsigned>(kept.size() - 1)));
    TempFolder io;
    DecoderProcess again(io, archiveArgs(archive, {"add", log.string()}), "/dev/null", {},
                         PELORIN_ARCHIVE_EXE);
    EXPECT_EQ(again.wait(kSlowRun), 0);
    EXPECT_EQ(archivedDigits(archive).size(), kFrames);
}

}  // namespace
