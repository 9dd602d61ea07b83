#include <QApplication>

#include "Form1.h"
#include "pelorin/temporary_files.h"

// Opens the main window; the program ends when its last window closes, so an open info window
// keeps it running after the main window is gone.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pelorin::ProtectTemporaryFiles();
    QApplication::setApplicationName(QStringLiteral("pelorin-telemetry"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelorin Telemetry Decoder"));
    QGuiApplication::setDesktopFileName(QStringLiteral("pelorin-telemetry"));
    QApplication::setQuitOnLastWindowClosed(true);

    auto* window = new pelorin::Form1();
    window->setAttribute(Qt::WA_DeleteOnClose);  // closing it discards all decoded data
    window->show();
    return QApplication::exec();
}
