#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelorin {

// The window program's command line:
// pelorin-telemetry [--help | --version] [--archive PATH] [--follow FILE | FILE].
struct WindowCommandLine {
    enum class Request { OpenWindow, ShowHelp, ShowVersion, Refuse };
    Request request = Request::OpenWindow;
    std::string file;                    // the file to open or follow at start, "" for none
    bool follow = false;                 // follow `file` instead of opening it
    std::optional<std::string> archive;  // --archive PATH
    std::string error;                   // why the command line is refused
};

// Reads the arguments after the program's name. Help and version win over everything else,
// so they are answered whatever other options the window system would take; "--" ends the
// options.
WindowCommandLine ParseWindowCommandLine(std::span<const std::string_view> args);

// Prints the help, the version or the refusal; returns the exit status (0, or 2 for a
// refused command line), or nothing when the window is to open.
std::optional<int> AnswerWithoutWindow(const WindowCommandLine& commandLine);

// Answers --help and --version from the raw argv before the window system is reached, so
// they work without a display, and refuses a wrong command line when no window system is named
// (DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM); nothing for every other command line.
std::optional<int> AnswerHelpOrVersion(int argc, const char* const* argv);

}  // namespace pelorin
