#include <QApplication>

#include "ProgramStart.h"
#include "WindowCommandLine.h"
#include "pelorin/temporary_files.h"

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = pelorin::AnswerHelpOrVersion(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    pelorin::ProtectTemporaryFiles();
    pelorin::ConfigureApplication();
    if (const std::optional<int> status = pelorin::StartProgram(QApplication::arguments())) {
        return *status;
    }
    return QApplication::exec();
}
