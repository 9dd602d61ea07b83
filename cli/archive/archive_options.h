#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "pelorin/archive_store.h"

namespace pelorin::cli {

enum class ArchiveCommand { None, Add, Passes, Export, Stats, Init, Push, Pull };

struct ArchiveOptions {
    ArchiveCommand command = ArchiveCommand::None;
    std::optional<std::string> archive;  // --archive: a file or a server URI
    // add
    std::vector<std::string> inputs;
    std::string station;
    bool follow = false;
    bool quiet = false;
    // push --to, pull --from: the other archive
    std::optional<std::string> other;
    // passes, export
    TimeRange range;
    bool json = false;
    // export: the format options as pelorin-decode takes them, and the pass
    std::optional<std::int64_t> pass;
    Options output;
    bool help = false;
    bool version = false;
};

struct ParsedArchiveOptions {
    ArchiveOptions options;
    std::string error;  // empty when the command line is good
};

// Reads the arguments after the program name; relative times count back from `now`.
ParsedArchiveOptions ParseArchiveOptions(std::span<const std::string_view> args, UtcMillis now);

// "2026-12-08", "2026-12-08T13:25:40Z" or relative to `now`: "24h", "7d".
std::optional<UtcMillis> ParseTimeArgument(std::string_view text, UtcMillis now);

// The text of --help: the whole program's, or the command's.
std::string_view ArchiveUsageText(ArchiveCommand command);

}  // namespace pelorin::cli
