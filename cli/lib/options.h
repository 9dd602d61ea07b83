#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/csv_writer.h"

namespace pelorin::cli {

enum class OutputFormat { Csv, Jsonl };

struct Options {
    std::vector<std::string> inputs;  // in order; empty or "-" means standard input
    std::optional<std::string> outputPath;
    std::optional<std::string> limitsPath;  // --limits FILE
    OutputFormat format = OutputFormat::Csv;
    std::optional<CsvForm> csvForm;  // set by --header; the export's form unless given
    bool decimalComma = false;
    bool follow = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The options, or what is wrong with the command line.
struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name.
ParsedOptions ParseOptions(std::span<const std::string_view> args);

// The text of --help.
std::string_view UsageText();

}  // namespace pelorin::cli
