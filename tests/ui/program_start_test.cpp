// The window program's command line: a FILE opened at start, --help, --version and mistakes.
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>

#include "ProgramStart.h"
#include "window_driver.h"

namespace {

struct ProgramRun {
    bool finished = false;
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the installed-to-be program; `display` false takes every way to a window system away.
ProgramRun RunProgram(const QStringList& arguments, bool display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    if (display) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PELORIN_WINDOW_PROGRAM), arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(10000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

TEST(CommandLine, HelpVersionAndMistakesAreAnsweredWithoutAWindow) {
    struct Case {
        QStringList arguments;
        bool display;
        int status;
        std::string out;  // the start of standard output
        std::string err;  // a line of standard error
    };
    const Case cases[] = {
        {{"--version"}, false, 0, "pelorin-telemetry 0.4.0\n", ""},
        {{"--help"}, false, 0, "Usage: pelorin-telemetry [FILE]\n", ""},
        {{"-h"}, false, 0, "Usage: pelorin-telemetry [FILE]\n", ""},
        {{"--colour"}, true, 2, "", "pelorin-telemetry: unknown option '--colour'\n"},
        {{"a.txt", "b.txt"}, true, 2, "", "pelorin-telemetry: only one FILE can be opened\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramRun run = RunProgram(c.arguments, c.display);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

pelorin::Form1* OpenedWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<pelorin::Form1*>(widget); form && form->isVisible()) {
            return form;
        }
    }
    return nullptr;
}

// Starts as the program does with `arguments` after its name, and returns the window opened.
pelorin::Form1* Start(const QStringList& arguments) {
    EXPECT_FALSE(
        pelorin::StartProgram(QStringList{QStringLiteral("pelorin-telemetry")} + arguments));
    WindowDriver::Settle();
    return OpenedWindow();
}

TEST(CommandLine, AFileIsOpenedAtStartAsFileOpenOpensIt) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("pass.txt"));
    std::ofstream(path.toStdString(), std::ios::binary)
        << testframes::lineWithTime(5) << "\r\nbeacon\r\n"
        << testframes::lineWithTime(6) << "\r\n";
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("missing.txt"));
    const std::pair<QString, int> starts[] = {{path, 2}, {missing, 0}, {QString(), 0}};
    for (const auto& [file, records] : starts) {
        SCOPED_TRACE(file.toStdString());
        QPointer<pelorin::Form1> form = Start(file.isEmpty() ? QStringList() : QStringList{file});
        ASSERT_NE(form, nullptr);
        auto* selector = form->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
        EXPECT_EQ(selector->value(), 1);
        EXPECT_EQ(form->findChild<pelorin::TrendChart*>(QStringLiteral("MSChart1"))->rowCount(),
                  records);
        EXPECT_EQ(form->focusWidget()->objectName(), QStringLiteral("Text1_0"));
        const QString message = form->findChild<QLabel*>(QStringLiteral("Label3"))->text();
        EXPECT_EQ(message,
                  file == missing
                      ? QStringLiteral("Could not open %1: the file does not exist.").arg(missing)
                      : QString());
        form->close();  // deletes itself
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
    }
}

}  // namespace
