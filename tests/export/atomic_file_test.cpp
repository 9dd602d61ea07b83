#include "pelorin/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "child_process.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using pelorin::WriteFileAtomically;
using pelorin::WriteResult;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class AtomicWrite : public testing::Test {
  protected:
    TempFolder tmp;
    fs::path folder = tmp / "export";
    fs::path target = folder / "pelorin_telemetry.csv";

    void SetUp() override {
        fs::create_directory(folder);
        ::chmod(folder.c_str(), 0755);
        WriteFile(target, "old export\r\n");
    }
};

TEST_F(AtomicWrite, ReplacesTheOldFileAndLeavesNoTemporary) {
    ::chmod(target.c_str(), 0640);
    const WriteResult r = WriteFileAtomically(target, "new\r\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_EQ(EntriesIn(folder), 1U);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicWrite, NewFileInAnUnwritableFolderFailsNamingTheFolder) {
    ::chmod(folder.c_str(), 0555);
    const WriteResult r =
        InChild(DropPrivileges, [&] { return WriteFileAtomically(folder / "new.csv", "new"); });
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(folder.string() + ": Permission denied"), std::string::npos) << r.error;
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, WritableFileInAnUnwritableFolderIsWrittenInPlace) {
    WriteFile(target, "a much longer old export\r\n");
    if (::geteuid() == 0) {  // as the superuser: nobody's own file, written as nobody
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    ::chmod(folder.c_str(), 0555);
    const WriteResult r =
        InChild(DropPrivileges, [&] { return WriteFileAtomically(target, "new\r\n"); });
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ReadFile(target), "new\r\n");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, ReadOnlyFileIsRefusedAndKept) {
    ::chmod(target.c_str(), 0444);
    const WriteResult r = WriteFileAtomically(target, "new");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, target.string() + " is read-only");
    EXPECT_EQ(ReadFile(target), "old export\r\n");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, SetuidAndSetgidBitsAreNeverCarried) {
    for (const auto mode : {pelorin::WriteMode::WhenComplete, pelorin::WriteMode::AsWritten}) {
        ::chmod(target.c_str(), 06755);
        pelorin::AtomicFile file(target, mode);
        ASSERT_TRUE(file.open().ok);
        ASSERT_TRUE(file.write("new").ok);
        ASSERT_TRUE(file.commit().ok);
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755U);
        EXPECT_EQ(ReadFile(target), "new");
    }
}

TEST_F(AtomicWrite, NamesUpToTheLongestAllowedWork) {
    for (const std::size_t length : {233, 234, 250, 255}) {
        const fs::path path = folder / std::string(length, 'n');
        const WriteResult r = WriteFileAtomically(path, "long");
        EXPECT_TRUE(r.ok) << length << ": " << r.error;
        EXPECT_EQ(ReadFile(path), "long");
        fs::remove(path);
    }
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, FailedWriteRemovesTheTemporaryAndKeepsTheOldFile) {
    const auto limitFileSize = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const WriteResult r =
        InChild(limitFileSize, [&] { return WriteFileAtomically(target, std::string(1000, 'x')); });
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("File too large"), std::string::npos) << r.error;
    EXPECT_EQ(ReadFile(target), "old export\r\n");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, MissingFolderNamesTheFolder) {
    const WriteResult r = WriteFileAtomically(folder / "gone" / "x.csv", "new");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find((folder / "gone").string() + ": No such file or directory"),
              std::string::npos)
        << r.error;
}

TEST_F(AtomicWrite, DiscardedOrUncommittedWriteLeavesTheOldFile) {
    {
        pelorin::AtomicFile file(target);
        ASSERT_TRUE(file.open().ok);
        ASSERT_TRUE(file.write("half of a new expo").ok);
        EXPECT_EQ(EntriesIn(folder), 2U);
    }
    EXPECT_EQ(ReadFile(target), "old export\r\n");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST_F(AtomicWrite, SymbolicLinkStaysAndItsFileIsReplaced) {
    const fs::path link = tmp / "link.csv";
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link, "via link").ok);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadFile(target), "via link");
}

TEST_F(AtomicWrite, DanglingLinkStaysAndItsFileIsCreated) {
    const fs::path link = tmp / "link.csv";
    fs::create_symlink("export/new.csv", link);
    ASSERT_TRUE(WriteFileAtomically(link, "via link").ok);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadFile(folder / "new.csv"), "via link");
}

TEST_F(AtomicWrite, PipeIsWrittenDirectly) {
    const fs::path fifo = tmp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t reader = ::fork();
    if (reader == 0) {
        const std::string got = ReadFile(fifo);
        ::_exit(got == "through the pipe" ? 0 : 1);
    }
    const WriteResult r = WriteFileAtomically(fifo, "through the pipe");
    int status = 0;
    ::waitpid(reader, &status, 0);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// The window's way: a FIFO that no program reads is refused at once, never waited for; one with
// a reader is written as usual.
TEST_F(AtomicWrite, PipeWithoutReaderIsRefusedWhenNotWaiting) {
    const fs::path fifo = tmp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const WriteResult refused = WriteFileAtomically(fifo, "nobody", pelorin::ReaderWait::Refuse);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("no program is reading this FIFO"), std::string::npos)
        << refused.error;
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const WriteResult r = WriteFileAtomically(fifo, "read", pelorin::ReaderWait::Refuse);
    EXPECT_TRUE(r.ok) << r.error;
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 4);
    EXPECT_STREQ(got, "read");
    ::close(reader);
}

TEST_F(AtomicWrite, FolderAsTargetIsRefused) {
    const WriteResult r = WriteFileAtomically(folder, "x");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Is a directory"), std::string::npos) << r.error;
}

}  // namespace
