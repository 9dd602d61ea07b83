// The texts of the value boxes, without a window.
#include <gtest/gtest.h>

#include "ValueText.h"

namespace {

pelorin::TelemetryRecord RecordWith(int index, double value) {
    pelorin::TelemetryRecord record{};
    record[static_cast<std::size_t>(index)] = value;
    return record;
}

struct BoxCase {
    int index;
    double value;
    const char* separator;
    const char* text;
};

TEST(ValueText, EachBoxWritesItsKindOfNumber) {
    const BoxCase cases[] = {
        {0, 93784, ".", "93784 => 1d 02:03:04"},
        {0, -1, ".", "-1 => -1d 23:59:59"},
        {0, 0, ".", "0 => 0d 00:00:00"},
        {1, 12.34567, ".", "12.346"},
        {12, 0, ".", "0.000"},
        {25, -0.4355400696864112, ".", "-0.436"},
        {9, -413.71428571428572, ",", "-413,714"},
        {4, 4.995032, ",", "4,995"},
        {30, 2.5, ".", "2"},
        {31, 3.5, ".", "4"},
        {34, -7, ".", "-7"},
        {32, 255, ",", "255"},
    };
    for (const BoxCase& c : cases) {
        EXPECT_EQ(pelorin::ValueBoxText(RecordWith(c.index, c.value), c.index, c.separator), c.text)
            << "index " << c.index << " value " << c.value;
    }
}

TEST(ValueText, StatusShowsBitsFourToZeroAndTheFourPanelFlags) {
    const std::pair<double, const char*> cases[] = {
        {0, "00000  (X+ off, Y+ off, X- off, Y- off)"},
        {255, "11111  (X+ on, Y+ on, X- on, Y- on)"},
        {1, "00001  (X+ off, Y+ off, X- off, Y- off)"},
        {224, "00000  (X+ off, Y+ off, X- off, Y- off)"},
        {8, "01000  (X+ off, Y+ on, X- off, Y- off)"},
        {22, "10110  (X+ on, Y+ off, X- on, Y- on)"},
        {16, "10000  (X+ on, Y+ off, X- off, Y- off)"},
        {4, "00100  (X+ off, Y+ off, X- on, Y- off)"},
        {2, "00010  (X+ off, Y+ off, X- off, Y- on)"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(pelorin::SolarArrayStatusText(value), text) << value;
        EXPECT_EQ(pelorin::ValueBoxText(RecordWith(29, value), 29, "."), text) << value;
    }
}

TEST(ValueText, FaceFlagsAreBitsFourToOneOfTheRoundedStatusByte) {
    using Flags = pelorin::SolarArrayFlags;  // X+, Y+, X-, Y-
    const std::pair<double, Flags> cases[] = {
        {0, {false, false, false, false}}, {255, {true, true, true, true}},
        {1, {false, false, false, false}}, {224, {false, false, false, false}},
        {16, {true, false, false, false}}, {8, {false, true, false, false}},
        {4, {false, false, true, false}},  {2, {false, false, false, true}},
        {22, {true, false, true, true}},   {21.5, {true, false, true, true}},
        {22.5, {true, false, true, true}}, {1.5, {false, false, false, true}},
    };
    for (const auto& [value, flags] : cases) {
        EXPECT_EQ(pelorin::SolarArrayFlagsOf(value), flags) << value;
    }
}

}  // namespace
