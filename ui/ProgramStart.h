#pragma once

#include <QStringList>
#include <optional>

namespace pelorin {

// The window program's names and version, as the window system and the command line see them.
void ConfigureApplication();

// Starts the program for `arguments` (its name first, Qt's own options already taken out):
// opens the main window, which deletes itself when closed, and returns nothing, or returns the
// exit status when there is no window to open.
std::optional<int> StartProgram(const QStringList& arguments);

}  // namespace pelorin
