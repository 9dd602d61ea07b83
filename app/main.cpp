#include <QApplication>

#include "ProgramStart.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pelorin::ConfigureApplication();
    if (const std::optional<int> status = pelorin::StartProgram(QApplication::arguments())) {
        return *status;
    }
    return QApplication::exec();
}
