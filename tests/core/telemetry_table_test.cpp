#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frames.h"
#include "pelorin/decoder.h"

namespace {

std::u16string linesWithTimes(int first, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += testframes::lineWithTime(static_cast<unsigned>(first + k));
        text += "\r\nbeacon\r\n";
    }
    return testframes::toU16(text);
}

TEST(TelemetryTable, StartsAllZero) {
    const pelorin::TelemetryStore store;
    EXPECT_EQ(store.RecordCount(), 0);
    for (const auto& record : store.table()) {
        for (const double v : record) {
            ASSERT_EQ(v, 0.0);
        }
    }
}

TEST(TelemetryTable, ShorterDecodeLeavesLaterRecordsAndRecordZeroAlone) {
    pelorin::TelemetryStore store;
    pelorin::Decode_Text(linesWithTimes(100, 5), store);
    ASSERT_EQ(store.RecordCount(), 5);
    pelorin::Decode_Text(linesWithTimes(200, 3), store);
    EXPECT_EQ(store.RecordCount(), 3);
    EXPECT_EQ(store.value(1, 0), 200);
    EXPECT_EQ(store.value(3, 0), 202);
    EXPECT_EQ(store.value(4, 0), 103) << "record 4 keeps the earlier decode";
    EXPECT_EQ(store.value(5, 0), 104);
    EXPECT_EQ(store.value(6, 0), 0);
    for (const double v : store.record(0)) {
        EXPECT_EQ(v, 0.0);
    }
}

TEST(TelemetryTable, ValueThirtyFiveIsStored) {
    pelorin::TelemetryStore store;
    pelorin::Decode_Text(testframes::toU16(testframes::line()), store);
    EXPECT_EQ(store.value(1, 35), -2);
}

TEST(TelemetryTable, DecodeWithoutTelemetryResetsCountOnly) {
    pelorin::TelemetryStore store;
    pelorin::Decode_Text(linesWithTimes(7, 2), store);
    pelorin::Decode_Text(u"nothing to see", store);
    EXPECT_EQ(store.RecordCount(), 0);
    EXPECT_EQ(store.value(2, 0), 8);
}

}  // namespace
