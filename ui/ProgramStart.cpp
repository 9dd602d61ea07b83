#include "ProgramStart.h"

#include <QApplication>

#include "Form1.h"

namespace pelorin {

void ConfigureApplication() {
    QApplication::setApplicationName(QStringLiteral("pelorin-telemetry"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelorin Telemetry Decoder"));
    QGuiApplication::setDesktopFileName(QStringLiteral("pelorin-telemetry"));
    // The program ends when its last window closes, so an open info window keeps it running
    // after the main window is gone.
    QApplication::setQuitOnLastWindowClosed(true);
}

std::optional<int> StartProgram(const QStringList& /*arguments*/) {
    auto* window = new Form1();
    window->setAttribute(Qt::WA_DeleteOnClose);  // closing it discards all decoded data
    window->show();
    return std::nullopt;
}

}  // namespace pelorin
