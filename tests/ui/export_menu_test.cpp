// "Write CSV File", "Write CSV File As..." and their confirmation or failure in the message
// line.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <sstream>

#include "window_driver.h"

namespace {

std::string ReadFile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class ExportMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.form().setCsvFolder(dir_.path());
        window_.pasteLines({testframes::lineWithTime(1), "other", testframes::lineWithTime(2),
                            testframes::lineWithTime(3)});
    }
    void writeCsv() { window_.find<QAction>(QStringLiteral("WriteCSVFile"))->trigger(); }
    QString csvPath() const {
        return QDir(dir_.path()).filePath(QStringLiteral("pelorin_telemetry.csv"));
    }
    QString message() const { return window_.label("Label3")->text(); }

    QTemporaryDir dir_;
    WindowDriver window_;
};

TEST_F(ExportMenu, WritesBesideTheProgramAndConfirms) {
    writeCsv();
    EXPECT_EQ(message(), dir_.path() + QStringLiteral("/pelorin_telemetry.csv has been written"));
    const std::string csv = ReadFile(csvPath());
    EXPECT_EQ(csv.rfind("5 Volts ;5 Volts ;", 0), 0U);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
    EXPECT_NE(csv.find("\r\n1;"), std::string::npos);  // record 1 first, its time is 1

    // Decoding again leaves the confirmation where it is.
    window_.paste(testframes::line());
    EXPECT_EQ(message(), dir_.path() + QStringLiteral("/pelorin_telemetry.csv has been written"));
}

TEST_F(ExportMenu, WritingToAChosenPathConfirmsThatPath) {
    const QString path = QDir(dir_.path()).filePath(QStringLiteral("chosen.csv"));
    ASSERT_TRUE(window_.form().writeCsvFile(path));
    EXPECT_EQ(ReadFile(path).substr(0, 9), "5 Volts ;");
}

TEST_F(ExportMenu, ReadOnlyFileIsRefusedAndKept) {
    writeCsv();
    const std::string old = ReadFile(csvPath());
    ASSERT_TRUE(QFile::setPermissions(csvPath(), QFile::ReadOwner | QFile::ReadOther));
    window_.paste(testframes::line());
    writeCsv();
    EXPECT_EQ(message(), csvPath() + QStringLiteral(" could not be written: ") + csvPath() +
                             QStringLiteral(" is read-only"));
    EXPECT_EQ(ReadFile(csvPath()), old);
}

// Closes `folder` to new files for whoever runs the test: by its permissions for a user, by
// the immutable attribute for the superuser. False where that cannot be done.
bool CloseFolder(const QString& folder) {
    if (geteuid() == 0) {
        return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
    }
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
}

void OpenFolder(const QString& folder) {
    if (geteuid() == 0) {
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

// An installed program's folder is closed to its users: the export goes to their documents
// folder, made if missing (found through HOME, with no user-dirs.dirs in XDG_CONFIG_HOME).
TEST_F(ExportMenu, ClosedProgramFolderWritesIntoTheDocumentsFolder) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    const QString program = QDir(dir_.path()).filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(program));
    const bool closed = CloseFolder(program);
    window_.form().setCsvFolder(program);
    writeCsv();
    OpenFolder(program);
    qputenv("HOME", oldHome);
    if (oldConfig.isEmpty()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    if (!closed) {
        GTEST_SKIP() << "cannot close a folder to new files here";
    }
    const QString expected = home.filePath(QStringLiteral("Documents/pelorin_telemetry.csv"));
    EXPECT_EQ(message(), expected + QStringLiteral(" has been written"));
    EXPECT_EQ(ReadFile(expected).substr(0, 9), "5 Volts ;");
    EXPECT_TRUE(QDir(program).isEmpty());
}

TEST_F(ExportMenu, WriteFailingMidwayKeepsTheOldFile) {
    writeCsv();
    const std::string old = ReadFile(csvPath());
    std::vector<std::string> many(200, testframes::line());
    window_.pasteLines(many);

    // A file-size limit stops the write part of the way through, for any user.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(old.size() + 4096);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    writeCsv();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(message().startsWith(csvPath() + QStringLiteral(" could not be written: ")))
        << message().toStdString();
    EXPECT_EQ(ReadFile(csvPath()), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ExportMenu, FailureLeavesWhatStandsInThePlaceAndTheWindowAsTheyWere) {
    // A folder of the file's name cannot be replaced by the file, whoever runs the test.
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("pelorin_telemetry.csv/inside")));
    const QString labelBefore = window_.label("Label2")->text();
    writeCsv();
    EXPECT_TRUE(message().startsWith(csvPath() + QStringLiteral(" could not be written: ")))
        << message().toStdString();
    EXPECT_FALSE(message().contains(QStringLiteral("has been written")));
    EXPECT_TRUE(QDir(csvPath()).exists(QStringLiteral("inside")));
    EXPECT_EQ(window_.label("Label2")->text(), labelBefore);
    EXPECT_EQ(window_.chart()->rowCount(), 3);
    EXPECT_TRUE(
        QDir(dir_.path())
            .entryList({QStringLiteral("*.tmp*"), QStringLiteral(".*")}, QDir::Files | QDir::Hidden)
            .isEmpty());

    window_.form().setCsvFolder(QDir(dir_.path()).filePath(QStringLiteral("no/such/folder")));
    writeCsv();
    EXPECT_TRUE(message().contains(QStringLiteral("could not be written")));

    // A FIFO that no program reads is refused at once; the window never waits for a reader.
    const QString fifo = QDir(dir_.path()).filePath(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(window_.form().writeCsvFile(fifo));
    EXPECT_TRUE(message().endsWith(QStringLiteral("no program is reading this FIFO")))
        << message().toStdString();
}

TEST_F(ExportMenu, WriteAsProposesADatedNameAndOffersTheHeaderKind) {
    struct Case {
        std::string stamp;  // before the first line's marker
        QString proposed;   // "": from today
        int filter;         // 0 captions, 1 column names
        std::string header;
    };
    const Case cases[] = {
        {"", "", 0, "5 Volts ;"},
        {"[2026-03-14 23:58:10+02:00] ", "pelorin-20260314-2158.csv", 1, "time_s;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        window_.pasteLines({c.stamp + testframes::lineWithTime(1), testframes::lineWithTime(2)});
        const QString today = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd"));
        QString shown;
        // Answers the dialog as a user does: picks the file type, types a bare name, saves.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                answer.stop();
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                shown = name->text();
                dialog->selectNameFilter(dialog->nameFilters().at(c.filter));
                name->setText(QStringLiteral("report") + QString::number(c.filter));
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        answer.start(20);
        window_.find<QAction>(QStringLiteral("WriteCSVFileAs"))->trigger();
        const QString report = QStringLiteral("report") + QString::number(c.filter);
        if (c.proposed.isEmpty()) {
            EXPECT_TRUE(shown.startsWith(QStringLiteral("pelorin-") + today + QLatin1Char('-')))
                << shown.toStdString();
            EXPECT_EQ(shown.size(), QStringLiteral("pelorin-yyyyMMdd-HHmm.csv").size());
        } else {
            EXPECT_EQ(shown, c.proposed);
        }
        const QString written = QDir(dir_.path()).filePath(report + QStringLiteral(".csv"));
        EXPECT_EQ(message(), written + QStringLiteral(" has been written"));
        EXPECT_EQ(ReadFile(written).substr(0, c.header.size()), c.header);
        EXPECT_FALSE(QFile::exists(QDir(dir_.path()).filePath(report)));
    }
}

}  // namespace
