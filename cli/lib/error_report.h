#pragma once

#include <string>
#include <string_view>

namespace pelorin::cli {

// `text` with every control character (C0, DEL, C1) and every byte that is not part of valid
// UTF-8 written as "\xHH", so that a file name cannot send escapes to a terminal.
std::string EscapeControls(std::string_view text);

// Writes the program's name (pelorin-decode unless set), ": " and `message`, control
// characters escaped, as a line to standard error.
void ReportError(std::string_view message);
// The name ReportError begins with; `name` must outlive its use.
void SetReportedProgram(std::string_view name);

}  // namespace pelorin::cli
