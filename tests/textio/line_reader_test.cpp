#include "pelorin/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frames.h"
#include "memory_source.h"
#include "pelorin/decoder.h"

namespace {

using namespace std::string_literals;

using pelorin::LineReader;

// All lines of `source`, the unended last one included, with every end of data passed over;
// `offsets` gets where each began.
std::vector<std::string> ReadAll(MemorySource& source, std::vector<std::int64_t>& offsets) {
    LineReader reader(source, LineReader::kMinBufferSize);
    std::vector<std::string> lines;
    LineReader::Line line;
    const auto keep = [&] {
        lines.emplace_back(line.text);
        offsets.push_back(line.offset);
    };
    for (;;) {
        const auto status = reader.next(line);
        if (status == LineReader::Status::Line) {
            EXPECT_EQ(line.number, static_cast<std::int64_t>(lines.size()) + 1);
            keep();
        } else if (!source.exhausted()) {
            continue;
        } else {
            if (reader.takeLast(line)) {
                keep();
            }
            return lines;
        }
    }
}

struct SplitCase {
    std::string text;
    std::vector<std::string> lines;
};

TEST(LineReaderSplit, EveryLineEndInEveryReadSize) {
    const std::vector<SplitCase> cases = {
        {"", {}},
        {"x", {"x"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\n\n", {"", ""}},
        {"a\0b\nc"s, {"a\0b"s, "c"}},
    };
    for (const SplitCase& c : cases) {
        for (std::size_t size = 1; size <= 5; ++size) {
            MemorySource source(c.text, {size, 0});
            std::vector<std::int64_t> offsets;
            const auto lines = ReadAll(source, offsets);
            EXPECT_EQ(lines, c.lines) << "read size " << size << " of: " << c.text;
            for (std::size_t k = 0; k < lines.size() && k < offsets.size(); ++k) {
                EXPECT_EQ(c.text.substr(static_cast<std::size_t>(offsets[k]), lines[k].size()),
                          lines[k])
                    << "line " << k + 1 << ", read size " << size << " of: " << c.text;
            }
        }
    }
}

TEST(LineReaderSplit, CrLfAcrossTheEndOfTheDataSoFar) {
    MemorySource source("one\r", {100});
    LineReader reader(source);
    LineReader::Line line;
    ASSERT_EQ(reader.next(line), LineReader::Status::Line);
    EXPECT_EQ(line.text, "one");
    EXPECT_EQ(reader.next(line), LineReader::Status::EndOfData);
    source.append("\ntw");
    EXPECT_EQ(reader.next(line), LineReader::Status::EndOfData);
    EXPECT_EQ(reader.pendingBytes(), 2);
    source.append("o\n");
    ASSERT_EQ(reader.next(line), LineReader::Status::Line);
    EXPECT_EQ(line.text, "two");
    EXPECT_EQ(line.number, 2);
}

// A line far longer than the buffer must be judged as the whole line would be.
std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) {
        out += piece;
    }
    return out;
}

struct LongLineCase {
    const char* name;
    std::string text;
    pelorin::LineKind kind;
};

TEST(LineReaderLongLines, ExcerptIsJudgedAsTheWholeLine) {
    const std::string frame = testframes::line();
    const std::string junk(300000, 'x');
    const std::vector<LongLineCase> cases = {
        {"marker at the end", junk + "\xff\0PL"s + frame, pelorin::LineKind::Telemetry},
        {"marker split by the buffer", std::string(1019, 'x') + frame,
         pelorin::LineKind::Telemetry},
        {"lower case marker late", junk + "plrn-1.tlm" + frame.substr(10),
         pelorin::LineKind::Telemetry},
        {"marker first, then more", frame + junk, pelorin::LineKind::Damaged},
        {"an earlier marker decides", "PLRN-1.TLM" + junk + frame, pelorin::LineKind::Damaged},
        {"no marker", junk + junk, pelorin::LineKind::Other},
        {"multibyte characters", junk + frame.substr(0, 20) + Repeat("\xC3\xA9", 102),
         pelorin::LineKind::Telemetry},
        {"too many multibyte characters", junk + frame.substr(0, 20) + Repeat("\xC3\xA9", 103),
         pelorin::LineKind::Damaged},
    };
    for (const LongLineCase& c : cases) {
        MemorySource source(c.text + "\r\n" + frame + "\n", {4096, 7, 1000});
        std::vector<std::int64_t> offsets;
        const auto lines = ReadAll(source, offsets);
        ASSERT_EQ(lines.size(), 2U) << c.name;
        pelorin::FrameText whole{};
        pelorin::FrameText excerpt{};
        EXPECT_EQ(pelorin::ExamineLine(c.text, whole), c.kind) << c.name;
        EXPECT_EQ(pelorin::ExamineLine(lines[0], excerpt), c.kind) << c.name;
        EXPECT_LE(lines[0].size(), 1024U) << c.name;
        if (c.kind == pelorin::LineKind::Telemetry) {
            EXPECT_EQ(whole, excerpt) << c.name;
        }
        EXPECT_EQ(lines[1], frame) << c.name;
        EXPECT_EQ(offsets[1], static_cast<std::int64_t>(c.text.size()) + 2) << c.name;
    }
}

}  // namespace
