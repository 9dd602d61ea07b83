// Stop signals end pelorin-decode promptly wherever it is, and no signal but SIGKILL leaves a
// temporary file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "decoder_process.h"
#include "frames.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::chrono::seconds kPromptly{5};  // a second, with room for a loaded machine

bool HasTemporary(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) {
            return true;
        }
    }
    return false;
}

void NoCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

class Interruption : public testing::Test {
  protected:
    TempFolder tmp;
    fs::path out = tmp / "out.csv";
    fs::path fifo = tmp / "fifo";
    void SetUp() override {
        WriteFile(out, "an earlier export\r\n");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    }
    void waitForTemporary() const {
        ASSERT_TRUE(DecoderProcess::waitUntil([&] { return HasTemporary(tmp.path()); }));
    }
};

// Inside a line that never ends (/dev/zero) and while waiting for a FIFO's writer.
TEST_F(Interruption, StopSignalEndsTheRunWithTheSummaryAndStatus) {
    struct Case {
        const char* input;
        int signal;
        int status;
    };
    const Case cases[] = {
        {"/dev/zero", SIGINT, 130},
        {"/dev/zero", SIGTERM, 143},
        {"/dev/zero", SIGHUP, 129},
        {"fifo", SIGINT, 130},
    };
    for (const Case& c : cases) {
        const std::string input = c.input == std::string("fifo") ? fifo.string() : c.input;
        DecoderProcess process(tmp, {"-o", out.string(), input});
        waitForTemporary();
        std::this_thread::sleep_for(100ms);
        process.signal(c.signal);
        EXPECT_EQ(process.wait(kPromptly), c.status) << c.input << " " << c.signal;
        const std::string err = process.err();
        EXPECT_NE(err.find("0 lines read"), std::string::npos) << err;
        EXPECT_EQ(err.find("Interrupted system call"), std::string::npos) << err;
        EXPECT_EQ(ReadFile(out), "an earlier export\r\n");
        EXPECT_FALSE(HasTemporary(tmp.path())) << c.input << " " << c.signal;
    }
}

TEST_F(Interruption, FatalSignalsLeaveNoTemporary) {
    for (const int signal : {SIGUSR1, SIGPIPE, SIGALRM, SIGQUIT}) {
        DecoderProcess process(tmp, {"-o", out.string(), fifo.string()}, "/dev/null", NoCoreDumps);
        waitForTemporary();
        process.signal(signal);
        process.wait(kPromptly);
        EXPECT_EQ(process.killedBy(), signal);
        EXPECT_FALSE(HasTemporary(tmp.path())) << signal;
        EXPECT_EQ(ReadFile(out), "an earlier export\r\n");
    }
}

// Ctrl-C while standard output is a full pipe: the write gives up, and the summary does not
// take the lines still to be decoded for a last line without an end.
TEST_F(Interruption, StopWhileWritingSaysWhereItStopped) {
    const fs::path input = tmp / "pass.txt";
    std::string text;
    for (unsigned t = 1; t <= 3000; ++t) {
        text += testframes::lineWithTime(t) + "\r\n";
    }
    WriteFile(input, text);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    DecoderProcess process(tmp, {input.string()}, "/dev/null", [&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        ::dup2(fd, STDOUT_FILENO);
    });
    // About full: the decoder waits in a write, or is about to, with lines still to decode.
    const int capacity = ::fcntl(reader, F_GETPIPE_SZ);
    ASSERT_TRUE(DecoderProcess::waitUntil([&] {
        int held = 0;
        return ::ioctl(reader, FIONREAD, &held) == 0 && held > capacity / 2;
    }));
    process.signal(SIGINT);
    EXPECT_EQ(process.wait(kPromptly), 130);
    ::close(reader);
    const std::string err = process.err();
    EXPECT_EQ(err.find("had not ended"), std::string::npos) << err;
    EXPECT_NE(err.find("interrupted before the end of " + input.string()), std::string::npos)
        << err;
}

}  // namespace
