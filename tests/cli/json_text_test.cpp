#include <gtest/gtest.h>

#include <string>

#include "jsonl_format.h"

namespace {

using namespace std::string_literals;

TEST(JsonString, EscapesAndReplacesWhatJsonCannotHold) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pass.txt", R"("pass.txt")"},
        {R"(a "b" \c)", R"("a \"b\" \\c")"},
        {"tab\there\nnul\0\x1f"s, R"("tab\there\nnul\u0000\u001f")"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9B\xB0",
         "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9B\xB0\""},
        {"bad \xFF \xC3 \xED\xA0\x80 \xC0\xAF",
         "\"bad \xEF\xBF\xBD \xEF\xBF\xBD "
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD "
         "\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const auto& [raw, json] : cases) {
        std::string out;
        pelorin::cli::AppendJsonString(out, raw);
        EXPECT_EQ(out, json);
    }
}

}  // namespace
