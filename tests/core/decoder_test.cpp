#include "pelorin/decoder.h"

#include <gtest/gtest.h>

#include <bit>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/hex_conversion.h"
#include "pelorin/number_text.h"

namespace {

using pelorin::Decode_Text;
using pelorin::TelemetryStore;
using testframes::line;
using testframes::toU16;

std::u16string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size()) {
            text += "\r\n";
        }
    }
    return toU16(text);
}

TEST(DecodeWorkedExample, EveryValueBitForBit) {
    // The shortest round-trip text of each stored double, as published.
    const std::vector<std::string> expected = {"123456",
                                               "4.995032",
                                               "5.01184",
                                               "5.0026720000000005",
                                               "5.005728",
                                               "3.297424",
                                               "3.312704",
                                               "3.3050640000000002",
                                               "3.30812",
                                               "4.285714285714286",
                                               "11.428571428571429",
                                               "6.857142857142857",
                                               "9.142857142857142",
                                               "0.07351296",
                                               "0.14702592",
                                               "0.11026944",
                                               "0.12864768000000001",
                                               "2.939261642156863",
                                               "3.0637254901960786",
                                               "2.9871323529411766",
                                               "3.025428921568628",
                                               "0.20729684908789386",
                                               "0.41459369817578773",
                                               "0.31094527363184077",
                                               "0.36276948590381425",
                                               "-0.4355400696864112",
                                               "0.4355400696864112",
                                               "0",
                                               "0.1361062717770035",
                                               "22",
                                               "300",
                                               "32768",
                                               "1",
                                               "2",
                                               "3",
                                               "-2"};
    TelemetryStore store;
    const auto result = Decode_Text(toU16(line()), store);
    ASSERT_EQ(result.RecordCount, 1);
    for (int i = 0; i < pelorin::kValuesPerRecord; ++i) {
        EXPECT_EQ(pelorin::FormatShortest(store.value(1, i)), expected[i]) << "value " << i;
    }
}

// Worked values of single 3-digit fields, placed in the first field of each quantity.
struct ScalingCase {
    const char* digits;
    int index;
    double expected;
};

void PrintTo(const ScalingCase& c, std::ostream* os) {
    *os << c.digits << " at " << c.index;
}

class DecodeScaling : public testing::TestWithParam<ScalingCase> {};

TEST_P(DecodeScaling, FieldGivesPublishedValue) {
    const auto& c = GetParam();
    std::string digits = testframes::kExampleDigits;
    digits.replace(static_cast<std::size_t>(8 + 3 * (c.index - 1)), 3, c.digits);
    TelemetryStore store;
    ASSERT_EQ(Decode_Text(toU16(line(digits)), store).RecordCount, 1);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(store.value(1, c.index)),
              std::bit_cast<std::uint64_t>(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    PublishedValues, DecodeScaling,
    testing::Values(ScalingCase{"800", 1, 3.129344}, ScalingCase{"800", 9, (2048 - 2896) / 7.0},
                    ScalingCase{"800", 13, 0.14702592}, ScalingCase{"800", 17, 4.901960784313726},
                    ScalingCase{"800", 21, 1.658374792703151}, ScalingCase{"800", 25, 0.0},
                    ScalingCase{"B50", 9, 0.0}, ScalingCase{"FFF", 9, 1199 / 7.0},
                    ScalingCase{"FFF", 25, 3.4826192290940767},
                    ScalingCase{"000", 25, -3.4843205574912894}));

TEST(DecodeLineRecognition, WhichLinesAreAccepted) {
    const std::string good = line();
    struct Case {
        const char* name;
        std::string text;
        int records;
    };
    std::string lower = good;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::vector<Case> cases = {
        {"empty text", "", 0},
        {"complete line", good, 1},
        {"text before the marker", "[12:00:01] fm DK0XX-1 to PLRN: " + good, 1},
        {"lower case", lower, 1},
        {"one trailing blank (123)", good + " ", 0},
        {"one digit missing (121)", good.substr(0, 121), 0},
        {"marker twice, first decides", "PLRN-1.TLM " + good, 0},
        {"marker twice inside frame", good.substr(0, 60) + "PLRN-1.TLM" + good.substr(70), 1},
        {"LF only between two lines", good + "\n" + good, 0},
        {"CR only between two lines", good + "\r" + good, 0},
        {"trailing CR LF", good + "\r\n", 1},
        {"CR LF inside, frame cut", good.substr(0, 50) + "\r\n" + good.substr(50), 0},
        {"marker only", "PLRN-1.TLM", 0},
        {"marker cut short", "PLRN-1.TL" + good.substr(10), 0},
    };
    for (const auto& c : cases) {
        TelemetryStore store;
        EXPECT_EQ(Decode_Text(toU16(c.text), store).RecordCount, c.records) << c.name;
    }
}

TEST(DecodeLineRecognition, LowerCaseDecodesToSameValues) {
    std::string lower = line();
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    TelemetryStore upperStore;
    TelemetryStore lowerStore;
    Decode_Text(toU16(line()), upperStore);
    Decode_Text(toU16(lower), lowerStore);
    EXPECT_EQ(upperStore.record(1), lowerStore.record(1));
}

TEST(DecodeLineRecognition, LfOnlyTextIsOneLineUnlessItIsExactlyOneFrame) {
    TelemetryStore store;
    // From the first marker on the whole text is 122 characters: "abc\n" stands before it.
    EXPECT_EQ(Decode_Text(toU16("abc\n" + line()), store).RecordCount, 1);
}

TEST(DecodeLineRecognition, CharactersAreCountedNotCodeUnits) {
    // A non-ASCII character in place of one digit keeps the line at 122 characters; the field
    // holding it reads the digits before it.
    std::u16string withUmlaut = toU16(line());
    withUmlaut[10 + 7] = u'\u00C4';  // last digit of the time field
    std::u16string withEmoji = toU16(line());
    withEmoji.replace(10 + 7, 1, u"\U0001F600");  // two UTF-16 units, one character
    for (const auto& text : {withUmlaut, withEmoji}) {
        TelemetryStore store;
        ASSERT_EQ(Decode_Text(text, store).RecordCount, 1);
        EXPECT_EQ(store.value(1, 0), 0x0001E24);  // seven digits read: 0001E24
        EXPECT_EQ(store.value(1, 1), 0xCC5 * 0.001528);
    }
    // One emoji too many: 123 characters.
    TelemetryStore store;
    EXPECT_EQ(Decode_Text(toU16(line()) + u"\U0001F600", store).RecordCount, 0);
}

// The example line with its 18th character (the last time digit) replaced by `bytes`.
std::string withByteAt17(const std::string& bytes) {
    const std::string full = line();
    std::string out = full.substr(0, 17);
    out += bytes;
    out += full.substr(18);
    return out;
}

TEST(DecodeLineRecognition, Utf8LinesCountCharactersAndSurviveBadBytes) {
    pelorin::FrameText frame;
    const std::string umlaut = withByteAt17("\xC3\x84");
    EXPECT_EQ(pelorin::ExamineLine(std::string_view(umlaut), frame), pelorin::LineKind::Telemetry);
    const std::string bad = withByteAt17("\xFF");
    EXPECT_EQ(pelorin::ExamineLine(std::string_view(bad), frame), pelorin::LineKind::Telemetry);
    EXPECT_EQ(frame[17], U'\uFFFD');
    // Two bytes of a three-byte sequence are two characters.
    const std::string truncatedSequence = withByteAt17("\xE2\x82");
    EXPECT_EQ(pelorin::ExamineLine(std::string_view(truncatedSequence), frame),
              pelorin::LineKind::Damaged);
    EXPECT_EQ(pelorin::ExamineLine(std::string_view("no marker here"), frame),
              pelorin::LineKind::Other);
}

TEST(DecodeRecords, TextOrder) {
    const std::u16string text =
        joinCrLf({"beacon", testframes::lineWithTime(60), "hello", testframes::lineWithTime(120),
                  "", "xx" + testframes::lineWithTime(180)});
    TelemetryStore store;
    const auto result = Decode_Text(text, store);
    EXPECT_EQ(result.RecordCount, 3);
    EXPECT_EQ(store.value(1, 0), 60);
    EXPECT_EQ(store.value(2, 0), 120);
    EXPECT_EQ(store.value(3, 0), 180);
    EXPECT_EQ(result.totalLines, 6);
    EXPECT_EQ(result.emptyLines, 1);
    EXPECT_EQ(result.otherLines(), 2);
}

TEST(DecodeRecords, EmptyTextReportsNothing) {
    TelemetryStore store;
    const auto result = Decode_Text(u"", store);
    EXPECT_EQ(result.RecordCount, 0);
    EXPECT_EQ(result.totalLines, 0);
}

TEST(DecodeRecords, SixteenBitFieldsByTheirReading) {
    std::string digits = testframes::kExampleDigits;
    digits.replace(94, 4, "FFFF");   // positions 105-108: unsigned
    digits.replace(108, 4, "FFFF");  // positions 119-122: signed
    digits.replace(0, 8, "0000003C");
    TelemetryStore store;
    Decode_Text(toU16(line(digits)), store);
    EXPECT_EQ(store.value(1, 30), 65535);
    EXPECT_EQ(store.value(1, 35), -1);
    EXPECT_EQ(store.value(1, 0), 60);
}

TEST(DecodeRecords, DamagedLinesAreCountedWithTheirNumbers) {
    const std::u16string text =
        joinCrLf({line(), line() + "0", "beacon", line().substr(0, 100), line()});
    TelemetryStore store;
    const auto result = Decode_Text(text, store);
    EXPECT_EQ(result.RecordCount, 2);
    EXPECT_EQ(result.damagedLines, 2);
    EXPECT_EQ(result.damagedLineNumbers, (std::vector<std::int64_t>{2, 4}));
    EXPECT_EQ(result.otherLines(), 1);
}

TEST(DecodeRecords, FramesWithNonHexDigitsAreDecodedAndCountedAsSuspect) {
    std::u16string withUmlaut = toU16(line());
    withUmlaut[40] = u'\u00C4';  // among the temperature digits
    std::string withLetter = line();
    withLetter[60] = 'g';  // upper-cased to G, no hex digit
    const std::u16string text = toU16(line()) + u"\r\n" + withUmlaut + u"\r\nbeacon\r\n" +
                                toU16(withLetter) + u"\r\n" + toU16(line());
    TelemetryStore store;
    const auto result = Decode_Text(text, store);
    EXPECT_EQ(result.RecordCount, 4);
    EXPECT_EQ(result.suspectLines, 2);
    EXPECT_EQ(result.suspectLineNumbers, (std::vector<std::int64_t>{2, 4}));
}

// A result lists the first line numbers of each kind and counts them all.
TEST(DecodeRecords, ListsTheFirstLineNumbersAndCountsAll) {
    std::string suspect = line();
    suspect[60] = 'g';
    std::vector<std::string> lines;
    for (int k = 0; k < pelorin::kReportedLineNumbers + 10; ++k) {
        lines.push_back(line() + "0");
        lines.push_back(suspect);
    }
    TelemetryStore store;
    const auto result = Decode_Text(joinCrLf(lines), store);
    EXPECT_EQ(result.damagedLines, pelorin::kReportedLineNumbers + 10);
    EXPECT_EQ(result.suspectLines, pelorin::kReportedLineNumbers + 10);
    ASSERT_EQ(result.damagedLineNumbers.size(), pelorin::kReportedLineNumbers);
    ASSERT_EQ(result.suspectLineNumbers.size(), pelorin::kReportedLineNumbers);
    EXPECT_EQ(result.damagedLineNumbers.back(), 2 * pelorin::kReportedLineNumbers - 1);
    EXPECT_EQ(result.suspectLineNumbers.back(), 2 * pelorin::kReportedLineNumbers);
}

class DecodeCap : public testing::TestWithParam<int> {};

TEST_P(DecodeCap, StoresTheFirstThousandAndCountsTheRest) {
    const int lines = GetParam();
    std::vector<std::string> text;
    for (int k = 1; k <= lines; ++k) {
        text.push_back(testframes::lineWithTime(static_cast<unsigned>(k)));
    }
    TelemetryStore store;
    const auto result = Decode_Text(joinCrLf(text), store);
    EXPECT_EQ(result.RecordCount, 1000);
    EXPECT_EQ(store.RecordCount(), 1000);
    EXPECT_EQ(result.telemetryLines, lines);
    EXPECT_EQ(result.droppedLines, lines - 1000);
    EXPECT_EQ(store.value(1000, 0), 1000) << "record 1000 is the 1000th line";
    EXPECT_EQ(store.value(0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(OverTheLimit, DecodeCap, testing::Values(1000, 1001, 1500));

}  // namespace

namespace {

// Random digits decoded as they are, and again with a foreign character in the last field,
// which sends every field through the general conversion: fields 0..34 must not differ.
TEST(DecodeFrameReadings, DigitsOnlyAndGeneralReadingsAgree) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> digit(0, 15);
    const char* hex = "0123456789ABCDEF";
    for (int round = 0; round < 2000; ++round) {
        pelorin::FrameText plain;
        for (std::size_t k = 0; k < plain.size(); ++k) {
            plain[k] = k < pelorin::FrameMarker.size()
                           ? static_cast<char32_t>(pelorin::FrameMarker[k])
                           : static_cast<char32_t>(hex[digit(rng)]);
        }
        pelorin::FrameText foreign = plain;
        foreign[121] = U'Z';
        pelorin::TelemetryRecord a{};
        pelorin::TelemetryRecord b{};
        pelorin::DecodeFrame(plain, a);
        pelorin::DecodeFrame(foreign, b);
        for (int i = 0; i < 35; ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a[i]), std::bit_cast<std::uint64_t>(b[i]))
                << "value " << i << " in round " << round;
        }
        ASSERT_EQ(b[35], pelorin::HexToDec(std::u32string_view(plain.data() + 118, 3)));
    }
}

}  // namespace
