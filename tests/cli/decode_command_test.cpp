#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "decoder_process.h"
#include "frames.h"
#include "pelorin/csv_export.h"
#include "pelorin/decoder.h"
#include "temp_folder.h"

namespace {

using namespace std::string_literals;

const std::string kSamplePass = std::string(PELORIN_SAMPLES_DIR) + "/pass.txt";

struct Result {
    int status;
    std::string out;
    std::string err;
};

class DecodeCommand : public testing::Test {
  protected:
    TempFolder tmp;

    Result Run(const std::vector<std::string>& args, const std::string& input = {}) {
        WriteFile(tmp / "stdin", input);
        DecoderProcess process(tmp, args, tmp / "stdin");
        const int status = process.wait();
        return {status, process.out(), process.err()};
    }
    std::string File(const std::string& name, const std::string& content) {
        WriteFile(tmp / name, content);
        return (tmp / name).string();
    }
};

// The window's view of a text: UTF-16, split at CR LF only, at most 1000 records.
pelorin::TelemetryStore DecodeAsTheWindowDoes(const std::string& asciiText) {
    for (const char c : asciiText) {
        EXPECT_GE(c, 0) << "the sample is expected to be ASCII";
    }
    pelorin::TelemetryStore store;
    pelorin::Decode_Text(testframes::toU16(asciiText), store);
    return store;
}

std::vector<std::string> Lines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t e; (e = text.find(end, start)) != std::string::npos; start = e + end.size()) {
        lines.push_back(text.substr(start, e - start));
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

TEST_F(DecodeCommand, SamplePassAsCsvIsTheWindowsExportByteForByte) {
    const std::string pass = ReadFile(kSamplePass);
    const auto store = DecodeAsTheWindowDoes(pass);
    ASSERT_GT(store.RecordCount(), 100);

    const Result point = Run({kSamplePass});
    EXPECT_EQ(point.status, 0) << point.err;
    EXPECT_EQ(point.out, pelorin::BuildCsvFile(store, "."));

    const Result comma = Run({"--decimal-comma", "-o", (tmp / "out.csv").string(), kSamplePass});
    EXPECT_EQ(comma.status, 0) << comma.err;
    EXPECT_EQ(comma.out, "");
    EXPECT_EQ(ReadFile(tmp / "out.csv"), pelorin::BuildCsvFile(store, ","));
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields = Lines(line, ";");
    if (!line.empty() && line.back() == ';') {
        fields.emplace_back();  // a reader sees the empty field after a final ";"
    }
    return fields;
}

// What a CSV reader makes of the analysis form: 35 columns under 35 distinct names that
// tools take as identifiers, over the export's values.
TEST_F(DecodeCommand, HeaderNamesGiveThirtyFiveDistinctColumns) {
    const Result names = Run({"--header", "names", kSamplePass});
    ASSERT_EQ(names.status, 0) << names.err;
    const Result captions = Run({"--header=captions", kSamplePass});
    EXPECT_EQ(captions.out,
              pelorin::BuildCsvFile(DecodeAsTheWindowDoes(ReadFile(kSamplePass)), "."));

    const std::vector<std::string> lines = Lines(names.out, "\r\n");
    const std::vector<std::string> exported = Lines(captions.out, "\r\n");
    ASSERT_EQ(lines.size(), exported.size());
    const std::vector<std::string> header = Fields(lines[0]);
    EXPECT_EQ(header.size(), 35U) << lines[0];
    EXPECT_EQ(std::set<std::string>(header.begin(), header.end()).size(), 35U) << lines[0];
    EXPECT_EQ(header.front(), "time_s");
    EXPECT_EQ(header.back(), "errors_all2");
    const std::regex identifier("[a-z][a-z0-9_]*(_[A-Za-z]+)?");
    for (const std::string& name : header) {
        EXPECT_TRUE(std::regex_match(name, identifier)) << name;
    }
    for (std::size_t k = 1; k < lines.size(); ++k) {
        EXPECT_EQ(Fields(lines[k]).size(), 35U) << k;
        EXPECT_EQ(lines[k] + ";", exported[k]) << k;
    }
}

// The numbers of the "values" array of one JSON line.
std::vector<double> JsonValues(const std::string& jsonLine) {
    std::vector<double> values;
    const std::size_t open = jsonLine.find("\"values\":[");
    if (open == std::string::npos) {
        return values;
    }
    const char* p = jsonLine.data() + open + 10;
    const char* end = jsonLine.data() + jsonLine.size();
    while (p < end && *p != ']') {
        double v = 0;
        const auto r = std::from_chars(p, end, v);
        if (r.ec != std::errc()) {
            break;
        }
        values.push_back(v);
        p = r.ptr + (*r.ptr == ',' ? 1 : 0);
    }
    return values;
}

TEST_F(DecodeCommand, JsonlValuesAreTheCoresDoublesBitForBit) {
    const std::string pass = ReadFile(kSamplePass);
    const auto store = DecodeAsTheWindowDoes(pass);
    const auto passLines = Lines(pass, "\r\n");
    const Result r = Run({"--format", "jsonl", kSamplePass});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = Lines(r.out, "\n");
    ASSERT_EQ(static_cast<int>(json.size()), store.RecordCount());
    pelorin::FrameText frame;
    std::size_t passLine = 0;
    for (int rec = 1; rec <= store.RecordCount(); ++rec) {
        while (pelorin::ExamineLine(passLines.at(passLine++), frame) !=
               pelorin::LineKind::Telemetry) {
        }
        const std::string& j = json[static_cast<std::size_t>(rec - 1)];
        const std::string head = "{\"record\":" + std::to_string(rec) + ",\"file\":\"" +
                                 kSamplePass + "\",\"line\":" + std::to_string(passLine) + ",";
        EXPECT_EQ(j.substr(0, head.size()), head);
        const auto values = JsonValues(j);
        ASSERT_EQ(values.size(), 36U) << j;
        for (int i = 0; i < pelorin::kValuesPerRecord; ++i) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(values[static_cast<std::size_t>(i)]),
                      std::bit_cast<std::uint64_t>(store.value(rec, i)))
                << "record " << rec << " value " << i;
        }
    }
}

// As written by tools that save UTF-16 with a byte order mark; the window opens such files too.
TEST_F(DecodeCommand, Utf16TextWithAByteOrderMarkDecodesAsItsUtf8) {
    const std::string text = ReadFile(kSamplePass);
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    const Result plain = Run({kSamplePass});
    const Result wide = Run({File("wide.txt", utf16)});
    ASSERT_EQ(wide.status, 0) << wide.err;
    EXPECT_EQ(wide.out, plain.out);
    EXPECT_NE(wide.err.find("150 telemetry lines decoded"), std::string::npos) << wide.err;
}

TEST_F(DecodeCommand, MixedLineEndsAndNoThousandRecordLimit) {
    const std::vector<std::string> ends = {"\r\n", "\n", "\r", "\n\r\n"};
    std::string text;
    constexpr unsigned kFrames = 2500;
    for (unsigned t = 1; t <= kFrames; ++t) {
        text += testframes::lineWithTime(t) + ends[t % ends.size()] + "beacon" + ends[t % 3];
    }
    const Result r = Run({"-"}, text);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out, "\r\n");
    ASSERT_EQ(lines.size(), kFrames + 1);
    for (unsigned t = 1; t <= kFrames; ++t) {
        ASSERT_EQ(lines[t].substr(0, lines[t].find(';')), std::to_string(t));
    }
    EXPECT_NE(r.err.find("2500 telemetry lines decoded"), std::string::npos) << r.err;
}

TEST_F(DecodeCommand, BadBytesAndHugeLinesNeverLoseAGoodLine) {
    std::mt19937 random(7);
    std::string junk(200000, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random());
    }
    const std::string huge(6'000'000, 'A');
    const std::string text =
        junk + "\n" + testframes::lineWithTime(1) + "\n" + "\0\0\xff\xfe\xc3"s +
        testframes::lineWithTime(2) + "\r\n" + huge + "\n" + huge + testframes::lineWithTime(3) +
        "\r" + testframes::lineWithTime(99) + huge + "\n" + testframes::lineWithTime(4);
    const Result r = Run({File("bad.bin", text), "-q"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out, "\r\n");
    ASSERT_EQ(lines.size(), 5U);
    for (std::size_t t = 1; t <= 4; ++t) {
        EXPECT_EQ(lines[t].substr(0, 2), std::to_string(t) + ";");
    }
}

// Such frames are decoded as the hex conversions read them, but marked and counted.
TEST_F(DecodeCommand, FramesWithNonHexDigitsAreMarkedSuspect) {
    std::string nonHex = testframes::lineWithTime(2);
    nonHex.replace(40, 1, "\xC3\x84");
    const std::string input = File("suspect.txt", testframes::lineWithTime(1) + "\n" + nonHex +
                                                      "\n" + testframes::lineWithTime(3) + "\n");
    const Result r = Run({"--format", "jsonl", input});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = Lines(r.out, "\n");
    ASSERT_EQ(json.size(), 3U);
    EXPECT_EQ(json[0].find("\"suspect\""), std::string::npos);
    EXPECT_NE(json[1].find("],\"suspect\":true}"), std::string::npos) << json[1];
    EXPECT_NE(r.err.find("non-hex characters among the digits: 1 telemetry line"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(input + ":2)"), std::string::npos) << r.err;
}

TEST_F(DecodeCommand, EmptyFileGivesTheHeaderAlone) {
    const Result r = Run({File("empty.txt", "")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), 383U);
    EXPECT_NE(r.err.find("0 lines read, 0 telemetry lines decoded"), std::string::npos) << r.err;
}

TEST_F(DecodeCommand, UnreadableInputExitsOneNamingItAndKeepsTheOldOutput) {
    const std::string good = File("good.txt", testframes::lineWithTime(5) + "\r\n");
    const std::string missing = (tmp / "missing.txt").string();
    Result r = Run({good, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(missing + ": No such file or directory"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\r\n5;"), std::string::npos) << "the readable input is decoded";

    const std::string old = File("old.csv", "an earlier export\r\n");
    r = Run({"-o", old, good, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadFile(old), "an earlier export\r\n");

    r = Run({(tmp / "no-folder" / "x.txt").string(), tmp.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(tmp.path().string() + ": Is a directory"), std::string::npos) << r.err;
}

TEST_F(DecodeCommand, LimitsListTheValuesOutsideAndCountTheirRecords) {
    std::string text;
    for (unsigned t = 1; t <= 3; ++t) {
        text += testframes::lineWithTime(t) + "\r\n";
    }
    const std::string limits =
        File("limits.ini", "[value0]\nhigh=2\n[value30]\nlow=1e9\nthis is no entry\n");
    Result r = Run({"--format", "jsonl", "--limits", limits, "-"}, text);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = Lines(r.out, "\n");
    ASSERT_EQ(json.size(), 3U);
    const char* const expected[] = {"[30]}", "[30]}", "[0,30]}"};
    for (std::size_t k = 0; k < json.size(); ++k) {
        EXPECT_NE(json[k].find("],\"out_of_limits\":"s + expected[k]), std::string::npos)
            << json[k];
    }
    EXPECT_NE(r.err.find(limits + ":5: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("3 records with a value out of limits"), std::string::npos) << r.err;

    // The sample pass stays inside the sample limits; without --limits no field is added.
    r = Run({"--format=jsonl", "--limits=" + std::string(PELORIN_SAMPLES_DIR "/limits.ini"),
             kSamplePass});
    EXPECT_EQ(r.status, 0) << r.err;
    const auto records = Lines(r.out, "\n");
    EXPECT_EQ(records.size(), 150U);
    for (const std::string& record : records) {
        ASSERT_TRUE(record.ends_with(",\"out_of_limits\":[]}")) << record;
    }
    EXPECT_NE(r.err.find("0 records with a value out of limits"), std::string::npos) << r.err;
    EXPECT_EQ(Run({"--format=jsonl", kSamplePass}).out.find("out_of_limits"), std::string::npos);

    // A limits file that cannot be read decodes nothing.
    const std::string missing = (tmp / "missing.ini").string();
    const std::string target = (tmp / "never.jsonl").string();
    for (const std::string& bad : {missing, tmp.path().string()}) {
        r = Run({"--format=jsonl", "--limits", bad, "-o", target, "-"}, text);
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

TEST_F(DecodeCommand, MessagesNameTheRealCauseAndShowNamesEscaped) {
    const std::string folder = tmp.path().string();
    struct Case {
        std::vector<std::string> args;
        std::string expected;
        std::string notExpected;
    };
    const Case cases[] = {
        {{"-o", folder + "/x/", kSamplePass}, folder + "/x/ does not exist", "Is a directory"},
        {{folder + "/red\x1b[31m\x07\xff.txt"}, folder + "/red\\x1B[31m\\x07\\xFF.txt", "\x1b"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(c.notExpected), std::string::npos) << r.err;
    }
}

TEST_F(DecodeCommand, BadUsageExitsTwo) {
    const std::vector<std::vector<std::string>> badLines = {
        {"--no-such-option"},
        {"-o"},
        {"--format", "xml"},
        {"--follow"},
        {"--follow", kSamplePass, kSamplePass},
        {"-o", kSamplePass, kSamplePass},
        {"--limits="},
        {"-o", (tmp / "a.csv").string(), "--output=" + (tmp / "b.csv").string(), kSamplePass},
    };
    for (const auto& args : badLines) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_NE(r.err.find("pelorin-decode: "), std::string::npos) << args[0];
    }
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: pelorin-decode", 0), 0U);
}

TEST_F(DecodeCommand, FollowDecodesAppendedLinesOnceComplete) {
    const auto log = tmp / "live.log";
    WriteFile(log, testframes::lineWithTime(1) + "\r\n");
    DecoderProcess process(tmp, {"--follow", "--format=jsonl", log.string()});
    const auto records = [](std::size_t n) {
        return [n](const std::string& out) { return Lines(out, "\n").size() == n; };
    };
    ASSERT_TRUE(process.waitForOutput(records(1)));
    std::ofstream append(log, std::ios::binary | std::ios::app);
    append << "beacon\n" << testframes::lineWithTime(2) << "\r" << std::flush;
    ASSERT_TRUE(process.waitForOutput(records(2)));
    append << "\n" << testframes::lineWithTime(3).substr(0, 60) << std::flush;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Lines(process.out(), "\n").size(), 2U) << "a line is decoded only once complete";
    append << testframes::lineWithTime(3).substr(60) << "\n" << std::flush;
    ASSERT_TRUE(process.waitForOutput(records(3)));
    process.signal(SIGINT);
    EXPECT_EQ(process.wait(), 130);
    EXPECT_NE(process.err().find("4 lines read, 3 telemetry lines decoded"), std::string::npos)
        << process.err();
    EXPECT_NE(process.out().find("\"record\":3,\"file\":\"" + log.string() + "\",\"line\":4,"),
              std::string::npos);
}

TEST_F(DecodeCommand, FollowingAPipeEndsWithThePipe) {
    const auto fifo = tmp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    DecoderProcess process(tmp, {"--follow", "-"}, fifo);
    {
        std::ofstream writer(fifo, std::ios::binary);
        writer << testframes::lineWithTime(1) << "\r\n" << testframes::lineWithTime(2);
    }
    EXPECT_EQ(process.wait(), 0) << process.err();
    const auto lines = Lines(process.out(), "\r\n");
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[2].substr(0, 2), "2;");
}

}  // namespace
