#include "pelorin/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using pelorin::WriteFileAtomically;
using pelorin::WriteResult;

constexpr uid_t kNobody = 65534;

// Runs `write` in a child process (so that it may drop privileges or limits) and returns its
// result.
WriteResult InChild(const std::function<void()>& prepare,
                    const std::function<WriteResult()>& write) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {false, "pipe failed"};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        prepare();
        const WriteResult r = write();
        const std::string message = (r.ok ? "1" : "0") + r.error;
        [[maybe_unused]] auto n = ::write(fds[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string message;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) {
        message.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (message.empty()) {
        return {false, "the child reported nothing"};
    }
    return {message[0] == '1', message.substr(1)};
}

// Permission bits do not stop the superuser: act as nobody then.
void DropPrivileges() {
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        ::_exit(1);
    }
}

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

TEST_F(AtomicWrite, UnwritableFolderFailsWithTheReasonAndKeepsTheOldFile) {
    ::chmod(folder.c_str(), 0555);
    const WriteResult r =
        InChild(DropPrivileges, [&] { return WriteFileAtomically(target, "new"); });
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Permission denied"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(folder.string()), std::string::npos) << r.error;
    EXPECT_EQ(ReadFile(target), "old export\r\n");
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

TEST_F(AtomicWrite, FolderAsTargetIsRefused) {
    const WriteResult r = WriteFileAtomically(folder, "x");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Is a directory"), std::string::npos) << r.error;
}

}  // namespace
