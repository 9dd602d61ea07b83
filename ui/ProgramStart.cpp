#include "ProgramStart.h"

#include <QApplication>
#include <QFile>
#include <string>
#include <vector>

#include "Form1.h"
#include "WindowCommandLine.h"
#include "pelorin/archive_location.h"

namespace pelorin {

void ConfigureApplication() {
    // No application display name: the window system would append it to every title.
    // Every QSettings of the program, the window's and the chart's, is this one file in the
    // user's config folder: pelorin/pelorin-telemetry.conf.
    QApplication::setOrganizationName(QStringLiteral("pelorin"));
    QApplication::setApplicationName(QStringLiteral("pelorin-telemetry"));
    QApplication::setApplicationVersion(QStringLiteral(PELORIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("pelorin-telemetry"));
    // The program ends when its last window closes, so an open info window keeps it running
    // after the main window is gone.
    QApplication::setQuitOnLastWindowClosed(true);
}

std::optional<int> StartProgram(const QStringList& arguments) {
    std::vector<std::string> local;  // in the file system's encoding
    for (qsizetype k = 1; k < arguments.size(); ++k) {
        local.push_back(QFile::encodeName(arguments[k]).toStdString());
    }
    const std::vector<std::string_view> args(local.begin(), local.end());
    const WindowCommandLine commandLine = ParseWindowCommandLine(args);
    if (const std::optional<int> status = AnswerWithoutWindow(commandLine)) {
        return status;
    }
    if (commandLine.archive) {
        // The one place every part of the program looks for the archive.
        qputenv(kArchiveVariable, QByteArray::fromStdString(*commandLine.archive));
    }
    auto* window = new Form1();
    window->setAttribute(Qt::WA_DeleteOnClose);  // closing it discards all decoded data
    window->show();
    const QString file = QFile::decodeName(QByteArray::fromStdString(commandLine.file));
    if (commandLine.follow) {
        window->followLog(file);
    } else if (!file.isEmpty()) {
        window->loadTextFile(file);
    }
    return std::nullopt;
}

}  // namespace pelorin
