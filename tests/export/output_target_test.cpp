// Outputs that are no file of their own to replace: the process's descriptors, sockets, and
// names that lead elsewhere through symbolic links. (Appending descriptors: tests/cli.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "child_process.h"
#include "pelorin/atomic_file.h"
#include "pelorin/number_text.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using pelorin::FormatInteger;
using pelorin::WriteFileAtomically;
using pelorin::WriteResult;

constexpr int kPatienceMs = 10000;

class OutputTarget : public testing::Test {
  protected:
    TempFolder tmp;
};

// The input's descriptor, named as /dev/fd/N, must not become a way to overwrite the input.
TEST_F(OutputTarget, ReadOnlyDescriptorIsRefused) {
    const fs::path input = tmp / "input.txt";
    WriteFile(input, "kept");
    const int fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string name = "/dev/fd/" + FormatInteger(fd);
    const WriteResult r = WriteFileAtomically(name, "x");
    ::close(fd);
    EXPECT_NE(r.error.find(name + ": Bad file descriptor"), std::string::npos) << r.error;
    EXPECT_EQ(ReadFile(input), "kept");
}

TEST_F(OutputTarget, SocketIsWrittenInPlace) {
    const fs::path path = tmp / "socket";
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 1), 0);
    std::string got;
    std::thread reader([&] {
        pollfd waiting{server, POLLIN, 0};
        if (::poll(&waiting, 1, kPatienceMs) != 1) {
            return;
        }
        const int peer = ::accept(server, nullptr, nullptr);
        char buf[64];
        for (ssize_t n; (n = ::read(peer, buf, sizeof buf)) > 0;) {
            got.append(buf, static_cast<std::size_t>(n));
        }
        ::close(peer);
    });
    const WriteResult r = WriteFileAtomically(path, "through the socket");
    reader.join();
    ::close(server);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(got, "through the socket");
    EXPECT_TRUE(fs::is_socket(path));
}

// The kernel's protected-symlinks rule, which a writer that resolves links itself must apply:
// in a sticky folder that everyone may write to, only links of the folder's owner or of the
// writer are followed.
TEST_F(OutputTarget, ForeignLinkInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs the superuser to plant links of other users";
    }
    const fs::path victim = tmp / "victim";
    const fs::path shared = tmp / "shared";
    struct Case {
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const Case cases[] = {
        {0, kNobody, false},
        {0, 0, true},
        {kNobody, kNobody, true},
    };
    for (const Case& c : cases) {
        WriteFile(victim, "precious");
        fs::create_directory(shared);
        ::chmod(shared.c_str(), 01777);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
        const fs::path link = shared / "out.csv";
        fs::create_symlink(victim, link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        const WriteResult r = WriteFileAtomically(link, "new");
        EXPECT_EQ(r.ok, c.followed) << c.folderOwner << "/" << c.linkOwner << ": " << r.error;
        EXPECT_EQ(ReadFile(victim), c.followed ? "new" : "precious");
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
        fs::remove_all(shared);
    }
}

}  // namespace
