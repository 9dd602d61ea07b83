// The window program's command line: a FILE opened at start, --help, --version and mistakes.
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "ProgramStart.h"
#include "window_driver.h"

namespace {

TEST(CommandLine, HelpVersionAndMistakesAreAnsweredWithoutAWindow) {
    struct Case {
        QStringList arguments;
        bool display;  // false: no window system at all
        int status;
        std::string out;  // the start of standard output
        std::string err;  // a line of standard error
    };
    const Case cases[] = {
        {{"--version"}, false, 0, "pelorin-telemetry 0.4.0\n", ""},
        {{"--help"},
         false,
         0,
         "Usage: pelorin-telemetry [--archive PATH] [--follow FILE | FILE]\n",
         ""},
        {{"--colour"}, true, 2, "", "pelorin-telemetry: unknown option '--colour'\n"},
        {{"--bogus"}, false, 2, "", "pelorin-telemetry: unknown option '--bogus'\n"},
        {{"a.txt", "b.txt"}, false, 2, "", "try 'pelorin-telemetry --help'"},
        {{"a.txt", "b.txt"}, true, 2, "", "pelorin-telemetry: only one FILE can be opened\n"},
        {{"--follow"}, true, 2, "", "pelorin-telemetry: --follow needs a FILE\n"},
        {{"--follow", "a.log", "b.txt"}, true, 2, "", "only one FILE can be opened\n"},
        {{"a.log", "--archive"}, true, 2, "", "pelorin-telemetry: --archive needs a PATH\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        if (c.display) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PELORIN_WINDOW_PROGRAM), c.arguments);
        if (!program.waitForFinished(10000)) {
            program.kill();
            program.waitForFinished();
            ADD_FAILURE() << "still running";
            continue;
        }
        EXPECT_EQ(program.exitCode(), c.status);
        EXPECT_EQ(program.readAllStandardOutput().left(c.out.size()).toStdString(), c.out);
        EXPECT_NE(program.readAllStandardError().toStdString().find(c.err), std::string::npos);
    }
}

TEST(CommandLine, AFileIsOpenedOrFollowedAtStartAsTheFileMenuDoes) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("pass.txt"));
    std::ofstream(path.toStdString(), std::ios::binary)
        << testframes::lineWithTime(5) << "\r\nbeacon\r\n"
        << testframes::lineWithTime(6) << "\r\n";
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("missing.txt"));
    // The records, what Label3 says, and the record shown: the newest of a followed file.
    const std::tuple<QStringList, int, QString, int> starts[] = {
        {{path}, 2, QString(), 1},
        {{QStringLiteral("--follow"), path}, 2, QString(), 2},
        {{missing}, 0, "Could not open " + missing + ": the file does not exist.", 1},
        {{}, 0, QString(), 1}};
    for (const auto& [arguments, records, message, shown] : starts) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_FALSE(pelorin::StartProgram(QStringList{"pelorin-telemetry"} + arguments));
        WindowDriver::Settle();
        QPointer<pelorin::Form1> form = qobject_cast<pelorin::Form1*>(QApplication::activeWindow());
        ASSERT_FALSE(form.isNull());
        // A file opens on a worker thread; the checks below say what did not come in time.
        (void)QTest::qWaitFor([&, records = records, message = message] {
            return form->findChild<pelorin::TrendChart*>("MSChart1")->rowCount() == records &&
                   form->findChild<QLabel*>("Label3")->text() == message;
        });
        EXPECT_EQ(form->findChild<pelorin::TrendChart*>("MSChart1")->rowCount(), records);
        EXPECT_EQ(form->findChild<QLabel*>("Label3")->text(), message);
        EXPECT_EQ(form->findChild<QScrollBar*>("HScroll1")->value(), shown);
        EXPECT_EQ(form->focusWidget()->objectName(), QStringLiteral("Text1_0"));
        form->close();  // and deleted
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(form.isNull());
    }
}

}  // namespace
