#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using pelorin::cli::OutputFormat;
using pelorin::cli::ParseOptions;

pelorin::cli::ParsedOptions Parse(const std::vector<std::string_view>& args) {
    return ParseOptions(args);
}

TEST(Options, GoodCommandLines) {
    auto p = Parse({"-o", "out.csv", "a.txt", "-", "--decimal-comma", "-q"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.inputs, (std::vector<std::string>{"a.txt", "-"}));
    EXPECT_EQ(p.options.outputPath, "out.csv");
    EXPECT_TRUE(p.options.decimalComma);
    EXPECT_TRUE(p.options.quiet);
    EXPECT_FALSE(p.options.follow);

    p = Parse({"--format=jsonl", "--output=x.jsonl", "--follow", "--limits", "l.ini", "--", "-f"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.limitsPath, "l.ini");
    EXPECT_EQ(p.options.format, OutputFormat::Jsonl);
    EXPECT_EQ(p.options.outputPath, "x.jsonl");
    EXPECT_TRUE(p.options.follow);
    EXPECT_EQ(p.options.inputs, (std::vector<std::string>{"-f"}));

    p = Parse({});
    ASSERT_EQ(p.error, "");
    EXPECT_TRUE(p.options.inputs.empty());
    EXPECT_EQ(p.options.format, OutputFormat::Csv);
    EXPECT_TRUE(Parse({"--help", "--follow"}).options.help);

    EXPECT_EQ(p.options.csvForm, std::nullopt);
    EXPECT_EQ(Parse({"--header", "names"}).options.csvForm, pelorin::CsvForm::Analysis);
    EXPECT_EQ(Parse({"--header=captions"}).options.csvForm, pelorin::CsvForm::Export);
}

TEST(Options, BadCommandLinesSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-o"}, "option -o needs a value"},
        {{"--format", "xml"}, "unknown format 'xml'"},
        {{"--format=jsonl", "--decimal-comma"}, "--decimal-comma applies to --format csv only"},
        {{"--follow"}, "--follow takes exactly one input FILE"},
        {{"--follow", "a", "b"}, "--follow takes exactly one input FILE"},
        {{"--output="}, "the output file name is empty"},
        {{"--header", "units"}, "unknown header 'units' (captions or names)"},
        {{"--format=jsonl", "--header=names"}, "--header applies to --format csv only"},
        {{"--limits", ""}, "the limits file name is empty"},
        {{"-o", "a.csv", "--output", "b.csv"}, "the output file is given more than once"},
    };
    for (const auto& [args, error] : cases) {
        const std::string got = Parse(args).error;
        EXPECT_NE(got.find(error), std::string::npos) << got;
    }
}

}  // namespace
