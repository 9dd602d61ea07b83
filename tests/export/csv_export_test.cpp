#include "pelorin/csv_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/atomic_file.h"
#include "pelorin/csv_writer.h"
#include "pelorin/decoder.h"
#include "temp_folder.h"

namespace {

using pelorin::BuildCsvFile;

std::vector<std::string> SplitCrLf(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(file.substr(start, end - start));
    }
    EXPECT_EQ(start, file.size()) << "the last line must end in CR LF too";
    return lines;
}

pelorin::TelemetryStore DecodeTimes(const std::vector<unsigned>& times) {
    std::string text = "a beacon line\r\n";
    for (const unsigned t : times) {
        text += testframes::lineWithTime(t) + "\r\nsomething else\r\n";
    }
    pelorin::TelemetryStore store;
    pelorin::Decode_Text(testframes::toU16(text), store);
    return store;
}

TEST(CsvHeader, CaptionsAsTheWindowShowsThem) {
    struct Run {
        const char* text;
        int count;
    };
    const Run runs[] = {{"5 Volts ", 5},    {"3.3 Volts ", 4},    {"Temperature ", 4},
                        {"Current ", 4},    {"Bus Voltage ", 4},  {"Bus Current ", 4},
                        {"Charge Curr", 4}, {"Status", 1},        {"on", 1},
                        {"off", 1},         {"Single Errors", 1}, {"All Errors", 1},
                        {"All Errors 2", 1}};
    std::string expected;
    for (const Run& run : runs) {
        for (int k = 0; k < run.count; ++k) {
            expected += std::string(run.text) + ";";
        }
    }
    std::string header;
    pelorin::CsvWriter(".").appendHeader(header);
    EXPECT_EQ(header, expected + "\r\n");
    EXPECT_EQ(expected.size(), 381U);
}

TEST(CsvFile, NoRecordsIsTheHeaderAlone) {
    const pelorin::TelemetryStore empty;
    const std::string file = BuildCsvFile(empty, ".");
    EXPECT_EQ(file.size(), 383U);
    EXPECT_EQ(file.substr(0, 9), "5 Volts ;");
    EXPECT_EQ(file.substr(file.size() - 3), ";\r\n");
}

TEST(CsvFile, RecordsInOrderFromRecordOneWithThirtyFiveFieldsEach) {
    const auto store = DecodeTimes({11, 22, 33});
    ASSERT_EQ(store.RecordCount(), 3);
    const auto lines = SplitCrLf(BuildCsvFile(store, "."));
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[1].substr(0, 3), "11;");
    EXPECT_EQ(lines[2].substr(0, 3), "22;");
    EXPECT_EQ(lines[3].substr(0, 3), "33;");
    for (const std::string& l : lines) {
        EXPECT_EQ(std::count(l.begin(), l.end(), ';'), 35) << l;
        EXPECT_EQ(l.back(), ';') << l;
    }
    // The worked example's values as the general text: 15 significant digits at most.
    EXPECT_EQ(lines[1].substr(0, 47), "11;4.995032;5.01184;5.002672;5.005728;3.297424;");
}

struct ValueTextCase {
    const char* separator;
    double value;
    const char* text;
};

class CsvValueText : public testing::TestWithParam<ValueTextCase> {};

TEST_P(CsvValueText, WrittenWithTheGivenSeparator) {
    pelorin::TelemetryRecord record{};
    record[3] = GetParam().value;
    std::string line;
    pelorin::CsvWriter(GetParam().separator).appendRecord(line, record);
    std::string expected = "0;0;0;" + std::string(GetParam().text) + ";";
    for (int i = 4; i < pelorin::kShownValues; ++i) {
        expected += "0;";
    }
    EXPECT_EQ(line, expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    PointAndComma, CsvValueText,
    testing::Values(ValueTextCase{".", -0.5, "-0.5"}, ValueTextCase{",", -0.5, "-0,5"},
                    ValueTextCase{".", 12.0, "12"}, ValueTextCase{",", 12.0, "12"},
                    ValueTextCase{",", 3.0637254901960786, "3,06372549019608"}));

TEST(CsvRecord, ValueThirtyFiveIsNeverWritten) {
    pelorin::TelemetryRecord record{};
    record[34] = 7;
    record[35] = 987654;
    std::string line;
    pelorin::CsvWriter(".").appendRecord(line, record);
    EXPECT_EQ(line.find("987654"), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 5), ";7;\r\n");
}

TEST(CsvFile, ExportingTwiceLeavesOneHeader) {
    TempFolder folder;
    const auto path = folder / std::string(pelorin::kCsvFileName);
    const std::string content = BuildCsvFile(DecodeTimes({1, 2}), ",");
    ASSERT_TRUE(pelorin::WriteFileAtomically(path, content).ok);
    ASSERT_TRUE(pelorin::WriteFileAtomically(path, content).ok);
    EXPECT_EQ(ReadFile(path), content);
}

}  // namespace
