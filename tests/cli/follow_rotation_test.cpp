// pelorin-decode --follow through log rotation, deletion and copy-and-truncate: each said once
// on standard error, and every line of the followed name decoded once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include "decoder_process.h"
#include "frames.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

std::string Lines(std::initializer_list<unsigned> times) {
    std::string text;
    for (const unsigned t : times) {
        text += testframes::lineWithTime(t) + "\r\n";
    }
    return text;
}

void Append(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary | std::ios::app) << text;
}

TEST(FollowRotation, EachChangeIsSaidOnceAndNoLineIsLost) {
    TempFolder tmp;
    const fs::path log = tmp / "rot\x1b.log";
    const std::string shown = (tmp / "rot\\x1B.log").string();
    const fs::path out = tmp / "out.jsonl";
    WriteFile(log, Lines({1}));
    DecoderProcess process(tmp, {"--follow", "--format=jsonl", "-o", out.string(), log.string()});
    const auto records = [&](std::size_t n) {
        return DecoderProcess::waitForFile(
            out, [n](const std::string& s) { return Count(s, "\"record\":") == n; });
    };
    const auto said = [&](const std::string& message) {
        return DecoderProcess::waitUntil([&] { return Count(process.err(), message) == 1; });
    };
    ASSERT_TRUE(records(1));

    // Renamed away and replaced in one step, so the name never names nothing.
    Append(log, Lines({2}));
    ASSERT_EQ(::link(log.c_str(), (tmp / "rot.log.1").c_str()), 0);
    WriteFile(tmp / "new", Lines({3}));
    fs::rename(tmp / "new", log);
    ASSERT_TRUE(records(3));
    EXPECT_TRUE(said(shown + " was rotated; decoding the new file from the start"));
    Append(tmp / "rot.log.1", Lines({99}));

    fs::remove(log);
    EXPECT_TRUE(said(shown + " no longer exists; waiting for it to come back"));
    WriteFile(log, Lines({4}));
    ASSERT_TRUE(records(4));
    EXPECT_TRUE(said(shown + " is back; decoding it"));

    // Emptied and at once written past the place reached.
    fs::resize_file(log, 0);
    Append(log, Lines({5, 6, 7}));
    ASSERT_TRUE(records(7));
    EXPECT_TRUE(said(shown + " was truncated; decoding it from the start"));

    process.signal(SIGINT);
    EXPECT_EQ(process.wait(), 130);
    EXPECT_NE(process.err().find("7 lines read, 7 telemetry lines decoded"), std::string::npos)
        << process.err();
    const std::string jsonl = ReadFile(out);
    for (unsigned t = 1; t <= 7; ++t) {
        EXPECT_EQ(Count(jsonl, "\"values\":[" + std::to_string(t) + ","), 1U) << t;
    }
    EXPECT_FALSE(HasTemporary(tmp.path()));
}

}  // namespace
