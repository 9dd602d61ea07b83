#include "pelorin/value_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelorin/line_reading.h"
#include "pelorin/number_text.h"

namespace {

using pelorin::Scaling;
using pelorin::ValueTexts;
using Whole = ValueTexts::WholeNumbers;

struct TextCase {
    const char* name;
    ValueTexts::Formatter formatter;
    Whole wholeNumbers;
    bool wholeNumbersToo;  // whether the formatter is used for Scaling::None
};

// A value index of each scaling, so that the values come from the decoder's own ScaleRecord.
std::vector<int> OneValuePerScaling() {
    std::vector<int> indices(pelorin::kScalingCount, -1);
    for (int i = pelorin::kValuesPerRecord - 1; i >= 0; --i) {
        indices[static_cast<std::size_t>(pelorin::InfoOf(i).scaling)] = i;
    }
    return indices;
}

// The readings a field of the scaling can give, and a few beyond, which no table holds.
std::vector<std::int32_t> Readings(Scaling scaling) {
    const bool whole = scaling == Scaling::None;
    std::vector<std::int32_t> readings = {-1, ValueTexts::kTableReadings};
    if (whole) {
        readings.insert(readings.end(), {INT32_MIN, INT32_MAX, 100000, -1000000000, 1200000,
                                         12000000, -120000000, 2000000000});
    }
    for (std::int32_t n = whole ? -32768 : 0; n < (whole ? 65536 : ValueTexts::kTableReadings);
         ++n) {
        readings.push_back(n);
    }
    return readings;
}

// Every reading of every scaling, twice so that the second time comes from the table, and the
// stored double of the same reading: the text must be the formatter's every time.
TEST(ValueTexts, EveryReadingOfEveryScalingGivesTheFormattersText) {
    const auto general = [](const char* separator) {
        return
            [separator](std::string& out, double v) { pelorin::AppendGeneral(out, v, separator); };
    };
    const auto fixed = [](const char* separator) {
        return [separator](std::string& out, double v) {
            out.append(pelorin::FormatFixed3(v, separator));
        };
    };
    const auto shortest = [](std::string& out, double v) {
        out.append(pelorin::FormatShortest(v));
    };
    const std::vector<TextCase> cases = {
        {"general .", general("."), Whole::Decimal, true},
        {"general ,", general(","), Whole::Decimal, true},
        {"shortest", shortest, Whole::Shortest, true},
        {"fixed .", fixed("."), Whole::Decimal, false},
        {"fixed ,", fixed(","), Whole::Decimal, false},
    };
    const std::vector<int> indices = OneValuePerScaling();
    for (const TextCase& c : cases) {
        ValueTexts texts(c.formatter, c.wholeNumbers);
        for (int index : indices) {
            const Scaling scaling = pelorin::InfoOf(index).scaling;
            if (scaling == Scaling::None && !c.wholeNumbersToo) {
                continue;
            }
            SCOPED_TRACE(std::string(c.name) + ", value " + std::to_string(index));
            const std::vector<std::int32_t> readings = Readings(scaling);
            std::string expected;
            std::string got(ValueTexts::kMaxText, '\0');
            std::size_t pos = 0;
            pelorin::RawRecord raw{};
            pelorin::TelemetryRecord record{};
            for (int round = 0; round < 3; ++round) {
                for (const std::int32_t n : readings) {
                    raw[static_cast<std::size_t>(index)] = n;
                    pelorin::ScaleRecord(raw, record);
                    const double value = record[static_cast<std::size_t>(index)];
                    c.formatter(expected, value);
                    pos = round < 2 ? texts.put(got, pos, scaling, n)
                                    : texts.put(got, pos, scaling, value);
                    got.resize(pos + ValueTexts::kMaxText);
                }
            }
            got.resize(pos);
            ASSERT_EQ(got, expected);
        }
    }
}

// Stored values that no reading gives, and texts longer than the room kept for one.
TEST(ValueTexts, OtherValuesAndLongTextsAreFormatted) {
    const auto padded = [](std::string& out, double v) {
        out.append(pelorin::FormatShortest(v)).append(40, '~');
    };
    ValueTexts texts(padded, Whole::Shortest);
    std::string expected;
    std::string got(ValueTexts::kMaxText, '\0');
    std::size_t pos = 0;
    for (const double v : {0.5, -0.0, 1e300, 3.0000000000000004, 0.001528}) {
        for (int s = 1; s < pelorin::kScalingCount; ++s) {
            padded(expected, v);
            pos = texts.put(got, pos, static_cast<Scaling>(s), v);
            got.resize(pos + ValueTexts::kMaxText);
        }
    }
    got.resize(pos);
    EXPECT_EQ(got, expected);
}

}  // namespace
