#include "pelorin/number_text_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pelorin/number_text.h"

namespace {

using pelorin::NumberTextCache;

// Many more values than the table has places, each seen several times, so that places are
// shared, replaced and found again; the texts must be the formatter's every time.
TEST(NumberTextCache, TextsAreTheFormattersWhateverIsKept) {
    const auto general = [](std::string& out, double v) { pelorin::AppendGeneral(out, v, ","); };
    const auto padded = [](std::string& out, double v) {
        out.append(pelorin::FormatShortest(v)).append(static_cast<std::size_t>(v) % 40, '~');
    };
    for (const auto& formatter :
         {NumberTextCache::Formatter(general), NumberTextCache::Formatter(padded)}) {
        NumberTextCache cache(formatter);
        std::mt19937_64 random(3);
        std::string expected;
        std::string got;
        std::size_t pos = 0;
        for (int i = 0; i < 200000; ++i) {
            const double v = static_cast<double>(random() % 60000) / 7.0;
            formatter(expected, v);
            got.resize(pos + NumberTextCache::kMaxText);
            pos = cache.put(got, pos, v);
        }
        got.resize(pos);
        ASSERT_EQ(got, expected);
    }
}

}  // namespace
