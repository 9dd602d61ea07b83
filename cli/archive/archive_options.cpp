#include "archive_options.h"

#include <array>
#include <charconv>
#include <functional>

namespace pelorin::cli {
namespace {

constexpr std::string_view kAddUsage =
    R"(Usage: pelorin-archive add [--station CALL] [--follow] FILE...
Decodes the telemetry lines of the FILEs ("-" for standard input) as pelorin-decode does and
adds each frame once, with a reception for every line that carried it. Adding a log again
adds nothing. A line's reception time is the date and time written before its marker, or,
while following, the time the line was read.

Options:
      --station CALL   the station that heard the lines (default: none)
  -f, --follow         after the end of the one FILE, add each line appended to it, through
                       rotation; each frame is in the archive within a second of its line
  -q, --quiet          no summary on standard error
)";

constexpr std::string_view kPassesUsage =
    R"(Usage: pelorin-archive passes [--since T] [--until T] [--json]
One line per pass: number, start, end, duration, frames, receptions and stations. A pass is a
run of frames received within 15 minutes of the one before; frames without a reception
time are grouped alike by on-board time, and a reboot starts a new pass.

Options:
      --since T        passes that end at or after T
      --until T        passes that start at or before T
      --json           JSON Lines with "pass", "start", "end", "frames", "receptions",
                       "stations"
)";

constexpr std::string_view kExportUsage =
    R"(Usage: pelorin-archive export [OPTIONS]
Writes one record per archived frame, by first reception, frames without one after them by
on-board time, in pelorin-decode's CSV or JSON Lines; jsonl adds "received" (the first
reception) and "stations".

Options:
      --since T        frames first received at or after T
      --until T        frames first received at or before T
      --pass N         the frames of pass N (see passes)
      --format FORMAT  csv (default) or jsonl
      --header HEADER  captions (default) or names, as in pelorin-decode
      --decimal-comma  write the CSV values with "," as decimal separator
  -o, --output FILE    write to FILE, by pelorin-decode's rules, instead of standard output
)";

constexpr std::string_view kStatsUsage =
    R"(Usage: pelorin-archive stats
Frames, receptions, stations, first and last reception, passes and the archive's size.
)";

constexpr std::string_view kInitUsage =
    R"(Usage: pelorin-archive init
Prints the SQL that an administrator runs once on a PostgreSQL database to share one archive
among stations: the tables, and the role pelorin_station, which may read and add frames but
neither change nor delete them. Each station's login is then made a member of that role.
)";

constexpr std::string_view kPushUsage =
    R"(Usage: pelorin-archive push --to ARCHIVE
Adds to ARCHIVE every frame and reception of this archive that it lacks, such as the passes a
station heard while it was offline. Running it again adds nothing; a push cut short, run
again, completes it. Either archive may be a file or a postgresql:// URI.

Options:
      --to ARCHIVE     the archive to add to
)";

constexpr std::string_view kPullUsage =
    R"(Usage: pelorin-archive pull --from ARCHIVE
Adds to this archive every frame and reception of ARCHIVE that it lacks; as push, the other
way.

Options:
      --from ARCHIVE   the archive to read from
)";

constexpr std::string_view kUsage =
    R"(Usage: pelorin-archive [--archive ARCHIVE] COMMAND [OPTIONS]
Keeps every telemetry frame of the Pelorin satellite ever received, with each reception, in
an archive that pelorin-telemetry writes too.

Commands:
  add [--station CALL] [--follow] FILE...   decode logs and add their frames
  passes [--since T] [--until T] [--json]   list the passes
  export [OPTIONS]                          write the frames as CSV or JSON Lines
  stats                                     count what the archive holds
  push --to ARCHIVE                         add what ARCHIVE lacks to it
  pull --from ARCHIVE                       add what this archive lacks from ARCHIVE
  init                                      print the SQL that sets up a shared server

T is a date or date and time in UTC (2026-12-08, 2026-12-08T13:25:40Z), or a time back from
now: 24h, 7d. "pelorin-archive COMMAND --help" describes a command.

Options:
      --archive ARCHIVE  the archive: a file, or a postgresql:// URI (password from
                       ~/.pgpass, PGPASSWORD or a service file; default: $PELORIN_ARCHIVE,
                       else $XDG_DATA_HOME/pelorin/archive.sqlite, made on the first add)
      --station CALL   add: the station that heard the lines
  -f, --follow         add: keep adding the lines appended to the one FILE
  -q, --quiet          add: no summary
      --to ARCHIVE     push: the archive to add to
      --from ARCHIVE   pull: the archive to read from
      --since T        passes, export: from T on
      --until T        passes, export: up to T
      --json           passes: JSON Lines
      --pass N         export: the frames of pass N
      --format FORMAT  export: csv (default) or jsonl
      --header HEADER  export: captions (default) or names
      --decimal-comma  export: "," as decimal separator
  -o, --output FILE    export: write to FILE instead of standard output
  -h, --help           show this help and exit
      --version        show the version and exit

Exit status: 0 when all went well, 1 when an input, the archive or the output could not be
read or written, 2 for a bad command line, 128 + N when stopped by signal N (130 for Ctrl-C).
)";

constexpr std::array<std::pair<std::string_view, ArchiveCommand>, 7> kCommands = {{
    {"add", ArchiveCommand::Add},
    {"passes", ArchiveCommand::Passes},
    {"export", ArchiveCommand::Export},
    {"stats", ArchiveCommand::Stats},
    {"init", ArchiveCommand::Init},
    {"push", ArchiveCommand::Push},
    {"pull", ArchiveCommand::Pull},
}};

constexpr std::int64_t kMillisPerHour = 3'600'000;
constexpr std::int64_t kHoursPerDay = 24;

using Apply = std::function<std::string(ArchiveOptions&, std::string_view)>;

// An option, the commands it belongs to (None: every one), and what it sets.
struct OptionRule {
    std::string_view shortName;
    std::string_view longName;
    std::vector<ArchiveCommand> commands;
    bool takesValue;
    Apply apply;
};

std::string setTime(std::optional<UtcMillis>& field, std::string_view value, UtcMillis now) {
    field = ParseTimeArgument(value, now);
    return field ? std::string()
                 : "bad time '" + std::string(value) + "' (a date, a date and time, 24h or 7d)";
}

std::string setOther(ArchiveOptions& o, std::string_view value) {
    o.other = std::string(value);
    return value.empty() ? std::string("the other archive's name is empty") : std::string();
}

std::vector<OptionRule> optionRules(UtcMillis now) {
    using C = ArchiveCommand;
    const auto flag = [](bool ArchiveOptions::*field) {
        return [field](ArchiveOptions& o, std::string_view) {
            o.*field = true;
            return std::string();
        };
    };
    return {
        {"",
         "--archive",
         {C::None},
         true,
         [](ArchiveOptions& o, std::string_view v) {
             o.archive = std::string(v);
             return v.empty() ? std::string("the archive name is empty") : std::string();
         }},
        {"",
         "--station",
         {C::Add},
         true,
         [](ArchiveOptions& o, std::string_view v) {
             o.station = std::string(v);
             return std::string();
         }},
        {"", "--to", {C::Push}, true, setOther},
        {"", "--from", {C::Pull}, true, setOther},
        {"-f", "--follow", {C::Add}, false, flag(&ArchiveOptions::follow)},
        {"-q", "--quiet", {C::Add}, false, flag(&ArchiveOptions::quiet)},
        {"",
         "--since",
         {C::Passes, C::Export},
         true,
         [now](ArchiveOptions& o, std::string_view v) { return setTime(o.range.since, v, now); }},
        {"",
         "--until",
         {C::Passes, C::Export},
         true,
         [now](ArchiveOptions& o, std::string_view v) { return setTime(o.range.until, v, now); }},
        {"", "--json", {C::Passes}, false, flag(&ArchiveOptions::json)},
        {"",
         "--pass",
         {C::Export},
         true,
         [](ArchiveOptions& o, std::string_view v) {
             std::int64_t n = 0;
             const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), n);
             if (error != std::errc() || end != v.data() + v.size() || n < 1) {
                 return "bad pass number '" + std::string(v) + "'";
             }
             o.pass = n;
             return std::string();
         }},
        {"-h", "--help", {C::None}, false, flag(&ArchiveOptions::help)},
        {"", "--version", {C::None}, false, flag(&ArchiveOptions::version)},
    };
}

// pelorin-decode's output options, which export takes as they are.
constexpr std::array<std::string_view, 5> kOutputOptions = {"-o", "--output", "--format",
                                                            "--header", "--decimal-comma"};

bool isOutputOption(std::string_view arg) {
    for (const std::string_view name : kOutputOptions) {
        if (arg == name || (name.starts_with("--") && arg.starts_with(std::string(name) + "="))) {
            return true;
        }
    }
    return false;
}

bool belongs(const OptionRule& rule, ArchiveCommand command) {
    for (const ArchiveCommand c : rule.commands) {
        if (c == ArchiveCommand::None || c == command) {
            return true;
        }
    }
    return false;
}

std::string commandName(ArchiveCommand command) {
    for (const auto& [name, c] : kCommands) {
        if (c == command) {
            return std::string(name);
        }
    }
    return "pelorin-archive";
}

class Parser {
  public:
    Parser(std::span<const std::string_view> args, UtcMillis now)
        : args_(args), rules_(optionRules(now)) {}

    ParsedArchiveOptions run() {
        ParsedArchiveOptions parsed;
        std::vector<std::string_view> outputArgs;
        ArchiveOptions& o = parsed.options;
        bool onlyFiles = false;
        for (i_ = 0; i_ < args_.size() && parsed.error.empty(); ++i_) {
            const std::string_view arg = args_[i_];
            if (onlyFiles || arg == "-" || !arg.starts_with("-")) {
                parsed.error = operand(o, arg);
            } else if (arg == "--") {
                onlyFiles = true;
            } else if (o.command == ArchiveCommand::Export && isOutputOption(arg)) {
                outputArgs.push_back(arg);
                const bool valued =
                    arg == "-o" || arg == "--output" || arg == "--format" || arg == "--header";
                if (valued && i_ + 1 < args_.size()) {
                    outputArgs.push_back(args_[++i_]);
                }
            } else {
                parsed.error = option(o, arg);
            }
        }
        if (parsed.error.empty()) {
            parsed.error = takeOutput(o, outputArgs);
        }
        if (parsed.error.empty()) {
            parsed.error = checkCombination(o);
        }
        return parsed;
    }

  private:
    std::string operand(ArchiveOptions& o, std::string_view arg) {
        if (o.command == ArchiveCommand::None) {
            for (const auto& [name, command] : kCommands) {
                if (arg == name) {
                    o.command = command;
                    return {};
                }
            }
            return "unknown command '" + std::string(arg) +
                   "' (add, passes, export, stats, push, pull or init)";
        }
        if (o.command != ArchiveCommand::Add) {
            return commandName(o.command) + " takes no FILE ('" + std::string(arg) + "')";
        }
        o.inputs.emplace_back(arg);
        return {};
    }

    std::string option(ArchiveOptions& o, std::string_view arg) {
        for (const OptionRule& rule : rules_) {
            const std::string withValue = std::string(rule.longName) + "=";
            const bool named =
                arg == rule.longName || (!rule.shortName.empty() && arg == rule.shortName);
            const bool joined = rule.takesValue && arg.starts_with(withValue);
            if (!named && !joined) {
                continue;
            }
            if (!belongs(rule, o.command)) {
                return std::string(arg) + " does not apply to " + commandName(o.command);
            }
            if (joined) {
                return rule.apply(o, arg.substr(withValue.size()));
            }
            if (rule.takesValue && i_ + 1 >= args_.size()) {
                return "option " + std::string(arg) + " needs a value";
            }
            return rule.apply(o, rule.takesValue ? args_[++i_] : std::string_view());
        }
        if (isOutputOption(arg)) {
            return std::string(arg) + " does not apply to " + commandName(o.command);
        }
        return "unknown option '" + std::string(arg) + "'";
    }

    static std::string takeOutput(ArchiveOptions& o, std::span<const std::string_view> args) {
        const ParsedOptions parsed = ParseOptions(args);
        o.output = parsed.options;
        return parsed.error;
    }

    static std::string checkCombination(const ArchiveOptions& o) {
        if (o.help || o.version) {
            return {};
        }
        if (o.command == ArchiveCommand::None) {
            return "no command (add, passes, export, stats, push, pull or init)";
        }
        if (o.command == ArchiveCommand::Add && o.inputs.empty()) {
            return "add needs at least one FILE (\"-\" for standard input)";
        }
        if (o.command == ArchiveCommand::Push && !o.other) {
            return "push needs --to ARCHIVE";
        }
        if (o.command == ArchiveCommand::Pull && !o.other) {
            return "pull needs --from ARCHIVE";
        }
        if (o.follow && o.inputs.size() != 1) {
            return "--follow takes exactly one input FILE";
        }
        if (o.range.since && o.range.until && *o.range.since > *o.range.until) {
            return "--since is later than --until";
        }
        return {};
    }

    std::span<const std::string_view> args_;
    std::vector<OptionRule> rules_;
    std::size_t i_ = 0;
};

}  // namespace

std::optional<UtcMillis> ParseTimeArgument(std::string_view text, UtcMillis now) {
    if (text.size() >= 2 && (text.back() == 'h' || text.back() == 'd')) {
        std::int64_t count = 0;
        const char* end = text.data() + text.size() - 1;
        const auto [at, error] = std::from_chars(text.data(), end, count);
        if (error == std::errc() && at == end && count >= 0) {
            const std::int64_t hours = text.back() == 'd' ? count * kHoursPerDay : count;
            return now - hours * kMillisPerHour;
        }
        return std::nullopt;
    }
    return ParseUtcTime(text);
}

ParsedArchiveOptions ParseArchiveOptions(std::span<const std::string_view> args, UtcMillis now) {
    return Parser(args, now).run();
}

std::string_view ArchiveUsageText(ArchiveCommand command) {
    switch (command) {
        case ArchiveCommand::Add:
            return kAddUsage;
        case ArchiveCommand::Passes:
            return kPassesUsage;
        case ArchiveCommand::Export:
            return kExportUsage;
        case ArchiveCommand::Stats:
            return kStatsUsage;
        case ArchiveCommand::Init:
            return kInitUsage;
        case ArchiveCommand::Push:
            return kPushUsage;
        case ArchiveCommand::Pull:
            return kPullUsage;
        case ArchiveCommand::None:
            break;
    }
    return kUsage;
}

}  // namespace pelorin::cli
