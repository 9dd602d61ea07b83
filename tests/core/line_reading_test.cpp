#include "pelorin/line_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelorin/decoder.h"

namespace {

using pelorin::LineKind;

const std::string kDigits =
    "0001E240CC5CD0CCACCC86E878873875B6EBA0B80B904008006007004CC5004E04F01002001801C07009008008"
    "5016012C8000010203FFFE";

struct LineCase {
    std::string line;
    LineKind kind;
    bool suspect;
};

// The bytes of the frame from `at` on replaced by `with`.
std::string Frame(std::size_t at, const std::string& with) {
    std::string digits = kDigits;
    digits.replace(at, with.size(), with);
    return "PLRN-1.TLM" + digits;
}

// ReadLine judges and reads every line as ExamineLine and DecodeFrameRaw do, whichever way it
// takes: straight from the bytes, or through the characters.
TEST(ReadLine, AgreesWithTheGeneralReading) {
    const std::vector<LineCase> cases = {
        {"PLRN-1.TLM" + kDigits, LineKind::Telemetry, false},
        {"[12:00] fm x: plrn-1.tlm" + std::string(kDigits).replace(8, 3, "cc5"),
         LineKind::Telemetry, false},
        {"\xC3\x84\xC3\x9F PLRN-1.TLM" + kDigits, LineKind::Telemetry, false},
        {Frame(40, "G"), LineKind::Telemetry, true},
        {Frame(40, " "), LineKind::Telemetry, true},
        {Frame(100, "0x"), LineKind::Telemetry, true},
        {Frame(100, "&h"), LineKind::Telemetry, true},
        {"PLRN-1.TLM" + std::string(kDigits).replace(40, 1, "\xC3\xA9"), LineKind::Telemetry,
         true},                                             // 123 bytes, 122 characters
        {Frame(40, "\xC3\xA9"), LineKind::Damaged, false},  // 122 bytes, 121 characters
        {Frame(40, "\xFF"), LineKind::Telemetry, true},
        {"PLRN-1.TLM" + kDigits + "0", LineKind::Damaged, false},
        {"PLRN-1.TLM" + kDigits.substr(1), LineKind::Damaged, false},
        {"PLRN-1.TLM", LineKind::Damaged, false},
        {"PLRN-1.TL" + kDigits, LineKind::Other, false},
        {"", LineKind::Other, false},
        {"PLRN-1>BEACON: PELORIN-1 OBC ALIVE", LineKind::Other, false},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        pelorin::RawRecord raw{};
        const pelorin::LineReading reading = pelorin::ReadLine(c.line, raw);
        EXPECT_EQ(reading.kind, c.kind);
        EXPECT_EQ(reading.suspect, c.suspect);
        pelorin::FrameText frame{};
        ASSERT_EQ(pelorin::ExamineLine(c.line, frame), c.kind);
        if (c.kind == LineKind::Telemetry) {
            pelorin::RawRecord general{};
            EXPECT_EQ(pelorin::DecodeFrameRaw(frame, general), !c.suspect);
            EXPECT_EQ(raw, general);
        }
    }
}

}  // namespace
