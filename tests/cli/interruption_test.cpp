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

constexpr std::chrono::seconds kPromptly{5};  // a second, with room for a loaded machine

class Interruption : public testing::Test {
  protected:
    TempFolder tmp;
    fs::path out = tmp / "out.csv";
    fs::path fifo = tmp / "fifo";
    void SetUp() override {
        WriteFile(out, "an earlier export\r\n");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    }
};

// Stop signals inside a line that never ends (/dev/zero) and while waiting for a FIFO's
// writer; other fatal signals while the output is still a temporary file.
TEST_F(Interruption, SignalsEndTheRunLeavingNoTemporary) {
    struct Case {
        std::string input;
        int signal;
        int status;  // -1: the signal ends the program
    };
    const Case cases[] = {
        {"/dev/zero", SIGINT, 130},   {"/dev/zero", SIGTERM, 143},  {"/dev/zero", SIGHUP, 129},
        {fifo.string(), SIGINT, 130}, {fifo.string(), SIGUSR1, -1}, {fifo.string(), SIGPIPE, -1},
        {fifo.string(), SIGQUIT, -1},
    };
    for (const Case& c : cases) {
        DecoderProcess process(tmp, {"-o", out.string(), c.input}, "/dev/null", [] {
            const rlimit noCoreDump{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCoreDump);
        });
        ASSERT_TRUE(DecoderProcess::waitUntil([&] { return HasTemporary(tmp.path()); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        process.signal(c.signal);
        const int status = process.wait(kPromptly);
        const std::string what = c.input + " " + std::to_string(c.signal) + ": " + process.err();
        EXPECT_EQ(status, c.status) << what;
        if (c.status < 0) {
            EXPECT_EQ(process.killedBy(), c.signal) << what;
        } else {
            EXPECT_NE(process.err().find("0 lines read"), std::string::npos) << what;
            EXPECT_EQ(process.err().find("Interrupted system call"), std::string::npos) << what;
        }
        EXPECT_EQ(ReadFile(out), "an earlier export\r\n");
        EXPECT_FALSE(HasTemporary(tmp.path())) << what;
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
    DecoderProcess process(tmp, {input.string()}, "/dev/null",
                           [&] { ::dup2(::open(fifo.c_str(), O_WRONLY), STDOUT_FILENO); });
    // About full: the decoder waits in a write, or is about to, with lines still to decode.
    const int capacity = ::fcntl(reader, F_GETPIPE_SZ);
    ASSERT_TRUE(DecoderProcess::waitUntil([&] {
        int held = 0;
        return ::ioctl(reader, FIONREAD, &held) == 0 && held > capacity / 2;
    }));
    process.signal(SIGINT);
    EXPECT_EQ(process.wait(kPromptly), 130);
    ::close(reader);
    EXPECT_EQ(process.err().find("had not ended"), std::string::npos) << process.err();
    EXPECT_NE(process.err().find("interrupted before the end of " + input.string()),
              std::string::npos)
        << process.err();
}

}  // namespace
