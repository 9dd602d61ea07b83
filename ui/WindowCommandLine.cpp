#include "WindowCommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pelorin {
namespace {

constexpr const char* kProgram = "pelorin-telemetry";
constexpr int kUsageError = 2;
constexpr std::string_view kFollowOption = "--follow";
constexpr std::string_view kArchiveOption = "--archive";

constexpr std::string_view kUsage =
    R"(Usage: pelorin-telemetry [--archive PATH] [--follow FILE | FILE]
Decodes the telemetry lines of the Pelorin satellite pasted, dropped or opened in its window.
With FILE, the window opens it at start as File > Open does.

Options:
      --follow FILE  follow the log FILE as File > Follow Log does: its newest 1000
                     records, then each line as it is written
      --archive PATH the archive that followed lines and File > Add to Archive go to
                     (default: $PELORIN_ARCHIVE, else ~/.local/share/pelorin/archive.sqlite)
  -h, --help         show this help and exit
      --version      show the version and exit

Keys in the window:
  Ctrl+O        open a text file          Alt+F  the File menu
  Ctrl+L        follow a log file         Alt+T  the TLM File menu
  Ctrl+S        write the CSV file        Alt+I  the info window
  Ctrl+Shift+S  write the CSV file as...  F10    the menu bar
  Ctrl+D        add the paste box to the archive
  Ctrl+Q        exit
  Page Up, Page Down, Home, End  step through the records (outside the text boxes)
)";

bool IsHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}
bool IsVersion(std::string_view arg) {
    return arg == "--version";
}

WindowCommandLine Refused(std::string error) {
    return {WindowCommandLine::Request::Refuse, {}, false, {}, std::move(error)};
}

}  // namespace

WindowCommandLine ParseWindowCommandLine(std::span<const std::string_view> args) {
    const auto optionsEnd = std::find(args.begin(), args.end(), std::string_view("--"));
    if (std::any_of(args.begin(), optionsEnd, IsHelp)) {
        return {WindowCommandLine::Request::ShowHelp, {}, false, {}, {}};
    }
    if (std::any_of(args.begin(), optionsEnd, IsVersion)) {
        return {WindowCommandLine::Request::ShowVersion, {}, false, {}, {}};
    }
    WindowCommandLine commandLine;
    for (auto it = args.begin(); it != args.end(); ++it) {
        const std::string_view arg = *it;
        if (it < optionsEnd && arg == kFollowOption) {
            if (commandLine.follow) {
                return Refused("--follow can be given only once");
            }
            commandLine.follow = true;
            continue;  // the FILE is the one to follow
        }
        if (it < optionsEnd && arg == kArchiveOption) {
            if (++it == args.end() || it >= optionsEnd || it->empty()) {
                return Refused("--archive needs a PATH");
            }
            commandLine.archive = std::string(*it);
            continue;
        }
        if (it < optionsEnd && arg.size() > 1 && arg.starts_with('-')) {
            return Refused("unknown option '" + std::string(arg) + "'");
        }
        if (it == optionsEnd) {
            continue;
        }
        if (!commandLine.file.empty()) {
            return Refused("only one FILE can be opened");
        }
        commandLine.file = std::string(arg);
    }
    if (commandLine.follow && commandLine.file.empty()) {
        return Refused("--follow needs a FILE");
    }
    return commandLine;
}

namespace {

// Whether the environment names a window system the window could open on. Without one a
// refused command line is answered at once: the window system's own options, which it would
// take from the command line, cannot be meant.
bool WindowSystemNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(const WindowCommandLine& commandLine) {
    switch (commandLine.request) {
        case WindowCommandLine::Request::ShowHelp:
            std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
            return 0;
        case WindowCommandLine::Request::ShowVersion:
            std::printf("%s %s\n", kProgram, PELORIN_VERSION);
            return 0;
        case WindowCommandLine::Request::Refuse:
            std::fprintf(stderr, "%s: %s\ntry '%s --help' for more information\n", kProgram,
                         commandLine.error.c_str(), kProgram);
            return kUsageError;
        case WindowCommandLine::Request::OpenWindow:
            break;
    }
    return std::nullopt;
}

std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv) {
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const WindowCommandLine commandLine = ParseWindowCommandLine(args);
    const bool refusedWithoutDisplay =
        commandLine.request == WindowCommandLine::Request::Refuse && !WindowSystemNamed();
    if (commandLine.request == WindowCommandLine::Request::ShowHelp ||
        commandLine.request == WindowCommandLine::Request::ShowVersion || refusedWithoutDisplay) {
        return AnswerWithoutWindow(commandLine);
    }
    return std::nullopt;
}

}  // namespace pelorin
