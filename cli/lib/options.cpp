#include "options.h"

#include <functional>

namespace pelorin::cli {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: pelorin-decode [OPTIONS] [FILE...]
Decodes the telemetry lines among the received packet lines of the Pelorin satellite.
Reads the FILEs in order, or standard input when there is none or for "-". Lines may
end in CR LF, LF or CR; a line is telemetry when, from the frame marker on, it holds
exactly 122 characters, as in the window.

Options:
  -o, --output FILE    write to FILE instead of standard output. A regular file is
                       replaced only once the output is complete; with --follow it is
                       emptied at once, then takes the header and each record as it
                       arrives. Standard output or error (/dev/stdout, /dev/fd/N),
                       devices, pipes and sockets are written in place, in the mode the
                       shell opened them with (>> appends)
      --format FORMAT  csv (default): the window's export format, header and one line
                       per record, ";" after every field, CR LF line ends;
                       jsonl: one JSON object per record with "record", "file", "line"
                       and "values" (all 36 decoded values, exact), and "suspect":true
                       where a character among the digits is no hexadecimal digit
      --header HEADER  the CSV header: captions (default): the window's, which repeats
                       captions; names: one distinct name with its unit per column
                       (time_s, rail5v_min_V, ..., errors_all2) and no ";" after the
                       last field, for analysis tools
      --decimal-comma  write the CSV values with "," as decimal separator (default ".")
      --limits FILE    the normal ranges of the values, in the window's limits.ini format:
                       each jsonl record gets "out_of_limits", the indices of its values
                       outside them, and the summary counts such records
  -f, --follow         after the end of the one input FILE, keep decoding the lines
                       appended to it, each once it is complete, until interrupted.
                       When FILE is renamed or removed (log rotation), the old file is
                       read to its end, then the new FILE from its start once there is
                       one; a truncated FILE is decoded again from its start; standard
                       error says so each time. A pipe or terminal is read until it ends
  -q, --quiet          no summary on standard error
  -h, --help           show this help and exit
      --version        show the version and exit

Exit status: 0 when all went well, 1 when an input or the --limits file could not be
read or the output could not be written, 2 for a bad command line, 128 + N when stopped
by signal N (130 for Ctrl-C).
)";

// Options that take a value, with the field each sets.
struct ValueOption {
    std::string_view shortName;
    std::string_view longName;
    std::function<std::string(Options&, std::string_view)> apply;
};

std::string setFormat(Options& o, std::string_view value) {
    if (value == "csv") {
        o.format = OutputFormat::Csv;
    } else if (value == "jsonl") {
        o.format = OutputFormat::Jsonl;
    } else {
        return "unknown format '" + std::string(value) + "' (csv or jsonl)";
    }
    return {};
}

std::string setHeader(Options& o, std::string_view value) {
    if (value == "captions") {
        o.csvForm = CsvForm::Export;
    } else if (value == "names") {
        o.csvForm = CsvForm::Analysis;
    } else {
        return "unknown header '" + std::string(value) + "' (captions or names)";
    }
    return {};
}

const std::vector<ValueOption>& valueOptions() {
    static const std::vector<ValueOption> options = {
        {"-o", "--output",
         [](Options& o, std::string_view v) {
             if (o.outputPath) {
                 return std::string("the output file is given more than once");
             }
             o.outputPath = std::string(v);
             return std::string();
         }},
        {"", "--format", setFormat},
        {"", "--header", setHeader},
        {"", "--limits",
         [](Options& o, std::string_view v) {
             o.limitsPath = std::string(v);
             return std::string();
         }},
    };
    return options;
}

// Options that stand alone, with the flag each sets.
struct FlagOption {
    std::string_view shortName;
    std::string_view longName;
    bool Options::*flag;
};
constexpr FlagOption kFlags[] = {
    {"", "--decimal-comma", &Options::decimalComma},
    {"-f", "--follow", &Options::follow},
    {"-q", "--quiet", &Options::quiet},
    {"-h", "--help", &Options::help},
    {"", "--version", &Options::version},
};

bool matches(std::string_view arg, std::string_view shortName, std::string_view longName) {
    return (!shortName.empty() && arg == shortName) || arg == longName;
}

std::string checkCombination(const Options& o) {
    if (o.help || o.version) {
        return {};
    }
    if (o.decimalComma && o.format != OutputFormat::Csv) {
        return "--decimal-comma applies to --format csv only";
    }
    if (o.csvForm && o.format != OutputFormat::Csv) {
        return "--header applies to --format csv only";
    }
    if (o.follow && o.inputs.size() != 1) {
        return "--follow takes exactly one input FILE";
    }
    if (o.outputPath && o.outputPath->empty()) {
        return "the output file name is empty";
    }
    if (o.limitsPath && o.limitsPath->empty()) {
        return "the limits file name is empty";
    }
    return {};
}

// Handles the option at args[i], moving i past its value; returns an error text or "".
std::string parseOne(std::span<const std::string_view> args, std::size_t& i, Options& o) {
    const std::string_view arg = args[i];
    for (const FlagOption& f : kFlags) {
        if (matches(arg, f.shortName, f.longName)) {
            o.*f.flag = true;
            return {};
        }
    }
    for (const ValueOption& v : valueOptions()) {
        if (matches(arg, v.shortName, v.longName)) {
            if (i + 1 >= args.size()) {
                return "option " + std::string(arg) + " needs a value";
            }
            return v.apply(o, args[++i]);
        }
        const std::string withValue = std::string(v.longName) + "=";
        if (arg.starts_with(withValue)) {
            return v.apply(o, arg.substr(withValue.size()));
        }
    }
    return "unknown option '" + std::string(arg) + "'";
}

}  // namespace

ParsedOptions ParseOptions(std::span<const std::string_view> args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (onlyFiles || arg == "-" || !arg.starts_with("-")) {
            o.inputs.emplace_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (std::string error = parseOne(args, i, o); !error.empty()) {
            parsed.error = std::move(error);
            return parsed;
        }
    }
    parsed.error = checkCombination(o);
    return parsed;
}

std::string_view UsageText() {
    return kUsage;
}

}  // namespace pelorin::cli
