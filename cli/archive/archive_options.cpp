#include "archive_options.h"

#include <array>
#include <charconv>
#include <functional>

namespace pelorin::cli {
namespace {

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

}  // namespace pelorin::cli
