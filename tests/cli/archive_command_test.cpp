#include <gtest/gtest.h>

#include <sstream>

#include "archive_options.h"
#include "decoder_process.h"

namespace {

using pelorin::cli::ParseArchiveOptions;

const std::string kSample = std::string(PELORIN_SAMPLES_DIR) + "/pass.txt";

// Runs pelorin-archive on the archive in `folder`; the exit status.
int archive(const TempFolder& folder, std::vector<std::string> args, std::string* out = nullptr,
            std::string* err = nullptr) {
    args.insert(args.begin(), {"--archive", (folder / "a.sqlite").string()});
    TempFolder io;
    DecoderProcess run(io, args, "/dev/null", {}, PELORIN_ARCHIVE_EXE);
    const int status = run.wait();
    if (out != nullptr) {
        *out = run.out();
    }
    if (err != nullptr) {
        *err = run.err();
    }
    return status;
}

std::string decode(std::vector<std::string> args) {
    TempFolder io;
    DecoderProcess run(io, args);
    EXPECT_EQ(run.wait(), 0);
    return run.out();
}

struct CommandLine {
    std::vector<std::string_view> args;
    bool good;
};

TEST(ArchiveOptions, CommandsTakeTheirOwnOptionsOnly) {
    const CommandLine cases[] = {
        {{"add", "log"}, true},
        {{"--archive", "x", "add", "--station", "W1ABC", "-f", "log"}, true},
        {{"export", "--pass", "3", "--format", "jsonl", "-o", "out.jsonl"}, true},
        {{"export", "--header=names", "--decimal-comma", "--since", "7d"}, true},
        {{"passes", "--since", "2026-12-08", "--until", "2026-12-09T00:00:00Z", "--json"}, true},
        {{"stats"}, true},
        {{}, false},
        {{"add"}, false},
        {{"remove", "log"}, false},
        {{"passes", "log"}, false},
        {{"stats", "--json"}, false},
        {{"passes", "-o", "x"}, false},
        {{"add", "--follow", "a", "b"}, false},
        {{"export", "--format", "xml"}, false},
        {{"export", "--format", "jsonl", "--header", "names"}, false},
        {{"export", "--pass", "0"}, false},
        {{"passes", "--since", "3x"}, false},
        {{"passes", "--since", "2026-12-09", "--until", "2026-12-08"}, false},
        {{"--archive", "", "stats"}, false},
    };
    for (const CommandLine& c : cases) {
        std::ostringstream line;
        for (const auto a : c.args) {
            line << a << ' ';
        }
        EXPECT_EQ(ParseArchiveOptions(c.args, 0).error.empty(), c.good) << line.str();
    }
    const std::int64_t now = 1'000'000'000'000;
    EXPECT_EQ(pelorin::cli::ParseTimeArgument("24h", now), now - 86'400'000);
    EXPECT_EQ(pelorin::cli::ParseTimeArgument("7d", now), now - 7 * 86'400'000);
}

// The archive's export is pelorin-decode's output on the same frames, from the same writer.
TEST(ArchiveCommand, ExportIsWhatPelorinDecodeWrites) {
    TempFolder folder;
    ASSERT_EQ(archive(folder, {"add", "-q", kSample}), 0);
    for (const std::vector<std::string>& form :
         {std::vector<std::string>{}, {"--header", "names", "--decimal-comma"}}) {
        std::string exported;
        std::vector<std::string> args{"export"};
        args.insert(args.end(), form.begin(), form.end());
        EXPECT_EQ(archive(folder, args, &exported), 0);
        std::vector<std::string> decodeArgs = form;
        decodeArgs.push_back(kSample);
        EXPECT_EQ(exported, decode(decodeArgs));
    }
    // jsonl: the same records, with the first reception and the stations added; "file" is the
    // log's absolute path.
    std::string exported;
    EXPECT_EQ(archive(folder, {"export", "--format", "jsonl"}, &exported), 0);
    std::istringstream decoded(decode({"--format", "jsonl", kSample}));
    std::istringstream archived(exported);
    std::string want;
    std::string got;
    int records = 0;
    while (std::getline(decoded, want)) {
        ASSERT_TRUE(std::getline(archived, got));
        want.insert(want.find("]") + 1, R"(,"received":null,"stations":[""])");
        EXPECT_EQ(got, want);
        ++records;
    }
    EXPECT_GT(records, 100);
    EXPECT_FALSE(std::getline(archived, got));
}

TEST(ArchiveCommand, SummaryAndExitStatuses) {
    TempFolder folder;
    std::string err;
    EXPECT_EQ(archive(folder, {"passes"}, nullptr, &err), 1);
    EXPECT_NE(err.find((folder / "a.sqlite").string()), std::string::npos) << err;
    EXPECT_EQ(archive(folder, {"add", kSample}, nullptr, &err), 0);
    EXPECT_NE(err.find("150 telemetry lines: 150 new frames, 0 frames already archived, 150 new "
                       "receptions"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("damaged: 6 lines"), std::string::npos) << err;
    // An unreadable input is an error, but the others are still added.
    EXPECT_EQ(archive(folder, {"add", (folder / "none.txt").string(), kSample, "--station", "B"},
                      nullptr, &err),
              1);
    EXPECT_NE(err.find("0 new frames, 150 frames already archived, 150 new receptions"),
              std::string::npos)
        << err;
    EXPECT_EQ(archive(folder, {"export", "-o", (folder / "a.sqlite").string()}, nullptr, &err), 2);
    EXPECT_EQ(archive(folder, {"export", "--frobnicate"}), 2);
    std::string out;
    EXPECT_EQ(archive(folder, {"stats"}, &out), 0);
    EXPECT_NE(out.find("receptions: 300\nstations: 2\n"), std::string::npos) << out;
}

}  // namespace
