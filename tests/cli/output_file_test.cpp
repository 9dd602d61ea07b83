// Where -o writes, and that it never loses what was there or what was decoded.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "decoder_process.h"
#include "frames.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeaderStart = "5 Volts ;5 Volts ;";

std::string Frames(unsigned count) {
    std::string text;
    for (unsigned t = 1; t <= count; ++t) {
        text += testframes::lineWithTime(t) + "\r\n";
    }
    return text;
}

std::size_t LineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::function<void()> AppendTo(const fs::path& file, int fd) {
    return [file, fd] {
        const int opened = ::open(file.c_str(), O_WRONLY | O_APPEND);
        ::dup2(opened, fd);
        ::close(opened);
    };
}

class OutputFile : public testing::Test {
  protected:
    TempFolder tmp;
    fs::path input = tmp / "pass.txt";
    void SetUp() override { WriteFile(input, Frames(3)); }
};

// "-o /dev/stdout >> all.csv" and "-o /dev/stderr 2>> log.txt" append as the shell asked.
TEST_F(OutputFile, OwnDescriptorsAreWrittenInTheirAppendMode) {
    struct Case {
        std::string output;
        int fd;
    };
    const std::string link = (tmp / "to-stdout").string();
    fs::create_symlink("/dev/stdout", link);
    for (const Case& c : {Case{"/dev/stdout", STDOUT_FILENO}, Case{"/dev/stderr", STDERR_FILENO},
                          Case{"/proc/self/fd/1", STDOUT_FILENO}, Case{link, STDOUT_FILENO}}) {
        const fs::path log = tmp / "all.csv";
        WriteFile(log, "earlier line\n");
        DecoderProcess process(tmp, {"-o", c.output, input.string()}, "/dev/null",
                               AppendTo(log, c.fd));
        EXPECT_EQ(process.wait(), 0) << c.output << ": " << process.err();
        const std::string all = ReadFile(log);
        EXPECT_EQ(all.rfind("earlier line\n", 0), 0U) << c.output << ": " << all;
        EXPECT_EQ(all.find(kHeaderStart), std::string("earlier line\n").size()) << c.output;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(log)));
    }
}

TEST_F(OutputFile, OutputThatIsStandardInputIsRefused) {
    const std::string raw = ReadFile(input);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-o", input.string()}, {"-o", input.string(), "-"}}) {
        DecoderProcess process(tmp, args, input);
        EXPECT_EQ(process.wait(), 1);
        EXPECT_NE(process.err().find(input.string() + " is also standard input"), std::string::npos)
            << process.err();
        EXPECT_EQ(ReadFile(input), raw);
    }
    DecoderProcess devices(tmp, {"-o", "/dev/null"}, "/dev/null");
    EXPECT_EQ(devices.wait(), 0) << "a device is no file to protect: " << devices.err();
}

TEST_F(OutputFile, FollowWritesEachRecordAsItArrives) {
    const fs::path out = tmp / "out.csv";
    WriteFile(out, "an earlier export\r\n");
    DecoderProcess process(tmp, {"--follow", "-o", out.string(), input.string()});
    const auto lines = [](std::size_t n) {
        return [n](const std::string& text) { return LineCount(text) == n; };
    };
    ASSERT_TRUE(DecoderProcess::waitForFile(out, lines(4))) << ReadFile(out);
    std::ofstream(input, std::ios::app) << testframes::lineWithTime(4) << "\r\n" << std::flush;
    ASSERT_TRUE(DecoderProcess::waitForFile(out, lines(5))) << ReadFile(out);
    process.signal(SIGKILL);
    process.wait();
    const std::string csv = ReadFile(out);
    EXPECT_EQ(csv.rfind(kHeaderStart, 0), 0U);
    EXPECT_NE(csv.find("\r\n4;"), std::string::npos);
    EXPECT_FALSE(HasTemporary(tmp.path()));
}

TEST_F(OutputFile, FileSizeLimitIsAWriteErrorThatLeavesNothingBehind) {
    const fs::path folder = tmp / "xf";
    fs::create_directory(folder);
    const fs::path out = folder / "out.csv";
    WriteFile(out, "an earlier export\r\n");
    WriteFile(input, Frames(2000));
    constexpr rlim_t kLimit = 100 * 1024;
    DecoderProcess process(tmp, {"-o", out.string(), input.string()}, "/dev/null", [] {
        const rlimit limit{kLimit, kLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(process.wait(), 1) << "killed by signal " << process.killedBy();
    EXPECT_NE(process.err().find("File too large"), std::string::npos) << process.err();
    EXPECT_EQ(ReadFile(out), "an earlier export\r\n");
    EXPECT_FALSE(HasTemporary(folder));
}

}  // namespace
