#pragma once

#include <QString>

// Texts that come from files, file names or settings, as the window shows them.
namespace pelorin {

// `text` with its control characters written as pelorin-decode writes them ("\x1B"), so that
// a name cannot split a line or show as boxes.
QString EscapedText(const QString& text);

// A tool tip that shows `text` literally: Qt takes a tool tip that looks like HTML for HTML,
// and would load the images it names.
QString PlainToolTip(const QString& text);

}  // namespace pelorin
