// Opening and dropping text files, and the paste report.
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "ElidedLabel.h"
#include "TextFileLoader.h"
#include "pelorin/line_recognition.h"
#include "window_driver.h"

namespace {

class FileInput : public ::testing::Test {
  protected:
    QString write(const char* name, const std::string& bytes) {
        const QString path = QDir(dir_.path()).filePath(QString::fromLatin1(name));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }
    // Three telemetry lines among other lines, ended as `ending` ends them.
    static std::string Pass(const std::string& ending) {
        return "[12:00:01] beacon" + ending + testframes::lineWithTime(1) + ending +
               testframes::lineWithTime(2) + ending + "packet" + ending +
               testframes::lineWithTime(3) + ending;
    }
    QString reportText(const char* item) const {
        return window_.find<QLabel>(QString::fromLatin1(item))->text();
    }

    QTemporaryDir dir_;
    WindowDriver window_;
};

TEST_F(FileInput, OpensFilesWithAnyLineEndingAsOnePaste) {
    const std::pair<const char*, std::string> endings[] = {
        {"crlf.txt", "\r\n"}, {"lf.txt", "\n"}, {"cr.txt", "\r"}};
    for (const auto& [name, ending] : endings) {
        SCOPED_TRACE(name);
        QSignalSpy changes(window_.pasteBox(), &QPlainTextEdit::textChanged);
        ASSERT_TRUE(LoadAndWait(window_.form(), write(name, Pass(ending))));
        WindowDriver::Settle();
        EXPECT_EQ(changes.count(), 1);
        EXPECT_EQ(window_.label("Label2")->text().right(4), QStringLiteral(" / 3"));
        EXPECT_EQ(window_.pasteBox()->document()->blockCount(), 6);  // 5 lines and an empty one
        EXPECT_EQ(reportText("ReportDecoded"), QStringLiteral("3 telemetry lines decoded"));
        EXPECT_EQ(reportText("ReportOther"), QStringLiteral("2 other lines"));
    }
    // One paste is one step to undo.
    window_.pasteBox()->undo();
    EXPECT_EQ(window_.pasteBox()->toPlainText().count(QLatin1Char('\n')), 5);
}

TEST_F(FileInput, DroppedFileReplacesTheBox) {
    window_.paste("old text");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(write("drop.txt", Pass("\r\n")))});
    QWidget* target = window_.pasteBox()->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QTRY_COMPARE(window_.chart()->rowCount(), 3);  // opened on a worker thread
    EXPECT_FALSE(window_.pasteBox()->toPlainText().contains(QStringLiteral("old text")));
    EXPECT_FALSE(window_.pasteBox()->toPlainText().contains(QStringLiteral("file://")));

    // Dropped anywhere else on the window, too.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(write("one.txt", testframes::line()))});
    QDragEnterEvent enterWindow(QPoint(300, 300), Qt::CopyAction, &other, Qt::LeftButton,
                                Qt::NoModifier);
    QApplication::sendEvent(&window_.form(), &enterWindow);
    EXPECT_TRUE(enterWindow.isAccepted());
    QDropEvent onWindow(QPointF(300, 300), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window_.form(), &onWindow);
    EXPECT_TRUE(onWindow.isAccepted()) << window_.label("Label3")->text().toStdString();
    QTRY_COMPARE(window_.chart()->rowCount(), 1);
}

TEST_F(FileInput, UnusableFilesLeaveTheBoxAsItWasAndSaySoPlainly) {
    window_.paste(testframes::line());
    const QString before = window_.pasteBox()->toPlainText();
    const QString binary = write("data.bin", std::string("\x7F"
                                                         "ELF\x02\x01\x01\0\0\0",
                                                         10) +
                                                 "PLRN");
    QFile large(QDir(dir_.path()).filePath(QStringLiteral("large.txt")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(pelorin::TextFileLoader::kMaxBytes + 1));
    large.close();
    const std::pair<QString, const char*> cases[] = {
        {binary, "not a text file"},
        {large.fileName(), "larger than 50 MB"},
        {QDir(dir_.path()).filePath(QStringLiteral("missing.txt")), "does not exist"},
        {dir_.path(), "not a file"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(reason);
        EXPECT_FALSE(LoadAndWait(window_.form(), path));
        const QString message = window_.label("Label3")->text();
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(reason))) << message.toStdString();
        EXPECT_EQ(window_.pasteBox()->toPlainText(), before);
    }
    // A good file afterwards takes the stale message away.
    ASSERT_TRUE(LoadAndWait(window_.form(), write("good.txt", Pass("\n"))));
    EXPECT_TRUE(window_.label("Label3")->text().isEmpty());
}

// A byte that is no part of a well-formed UTF-8 sequence is one character, far from or near a
// frame, so a frame with a non-ASCII character among its digits is as long in the window as
// for pelorin-decode.
TEST_F(FileInput, BadBytesAreOneCharacterEachAsForTheCommandLine) {
    std::string frame = testframes::line();
    frame.replace(50, 1, "\xC3\x84");  // an A with diaeresis among the digits
    const std::string text =
        "Gr\xFC\xDF"
        "e \xFF\r\n" +
        frame + "\r\n";
    ASSERT_TRUE(LoadAndWait(window_.form(), write("mixed.txt", text)));
    WindowDriver::Settle();
    EXPECT_EQ(reportText("ReportDecoded"), QStringLiteral("1 telemetry line decoded"));
    EXPECT_EQ(window_.pasteBox()->document()->firstBlock().text(),
              QStringLiteral("Gr\uFFFD\uFFFDe \uFFFD"));
    pelorin::FrameText examined;
    EXPECT_EQ(pelorin::ExamineLine(std::string_view(frame), examined),
              pelorin::LineKind::Telemetry);
}

// Logs coloured with terminal escape codes are text; a real share of other control bytes is not.
TEST_F(FileInput, ColourCodesAreTextButControlBytesAreNot) {
    const std::string coloured = "\x1B[1;34m[12:00:01]\x1B[0m\tbeacon\f\r\n" + Pass("\r\n");
    ASSERT_TRUE(LoadAndWait(window_.form(), write("colour.log", coloured)))
        << window_.label("Label3")->text().toStdString();
    EXPECT_EQ(reportText("ReportDecoded"), QStringLiteral("3 telemetry lines decoded"));

    const std::string bells(200, '\a');
    EXPECT_FALSE(LoadAndWait(window_.form(), write("bells.log", Pass("\r\n") + bells)));
    EXPECT_TRUE(window_.label("Label3")->text().contains(QStringLiteral("control character")));
}

TEST_F(FileInput, ReportMarksFramesDecodedWithNonHexCharacters) {
    std::string nonHex = testframes::line();
    nonHex[70] = '\x7F';
    window_.pasteLines({testframes::line(), nonHex, "beacon", nonHex});
    auto* suspect = window_.find<QLabel>(QStringLiteral("ReportSuspect"));
    EXPECT_EQ(reportText("ReportDecoded"), QStringLiteral("3 telemetry lines decoded"));
    EXPECT_TRUE(suspect->isVisibleTo(&window_.form()));
    EXPECT_EQ(suspect->text(), QStringLiteral("2 decoded with non-hex characters"));
    EXPECT_TRUE(suspect->toolTip().endsWith(QStringLiteral(": 2, 4")))
        << suspect->toolTip().toStdString();

    window_.pasteLines({testframes::line()});
    EXPECT_FALSE(suspect->isVisibleTo(&window_.form()));
}

TEST(TextFileLoader, ReadsUtf16WithAByteOrderMark) {
    QTemporaryDir dir;
    const QString utf16Path = QDir(dir.path()).filePath(QStringLiteral("utf16.txt"));
    {
        QFile file(utf16Path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("first\r\nsecond");
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }
    const auto utf16 = pelorin::TextFileLoader::Load(utf16Path);
    ASSERT_TRUE(utf16.ok) << utf16.error.toStdString();
    EXPECT_EQ(utf16.text, QStringLiteral("first\nsecond"));
}

// Counts the sample's lines the plain way: telemetry when the text from the marker on is 122
// characters long, rejected when it holds the marker otherwise.
struct SampleCounts {
    int telemetry = 0;
    int rejected = 0;
    int other = 0;
};

SampleCounts CountSample(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    std::string text = content.str();
    SampleCounts counts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        const std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::size_t marker = line.find(pelorin::FrameMarker);
        if (marker != std::string::npos) {
            (line.size() - marker == 122 ? counts.telemetry : counts.rejected) += 1;
        } else if (!line.empty()) {
            ++counts.other;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    return counts;
}

TEST_F(FileInput, ReportCountsTheSamplePass) {
    const std::string sample = PELORIN_SAMPLES_DIR "/pass.txt";
    const SampleCounts expected = CountSample(sample);
    ASSERT_GT(expected.telemetry, 100);
    ASSERT_TRUE(LoadAndWait(window_.form(), QString::fromStdString(sample)));
    WindowDriver::Settle();
    EXPECT_EQ(reportText("ReportDecoded"),
              QString::fromStdString(pelorin::FormatInteger(expected.telemetry)) +
                  " telemetry lines decoded");
    EXPECT_EQ(reportText("ReportOther"),
              QString::fromStdString(pelorin::FormatInteger(expected.other)) + " other lines");
    EXPECT_TRUE(reportText("ReportRejected")
                    .startsWith(QString::fromStdString(pelorin::FormatInteger(expected.rejected)) +
                                " rejected"));
}

TEST_F(FileInput, ReportListsTheLinesOfDamagedFrames) {
    const std::string good = testframes::line();
    window_.pasteLines({good, "beacon", good.substr(0, 121), good, good + " ", "", "x" + good});
    EXPECT_EQ(reportText("ReportDecoded"), QStringLiteral("3 telemetry lines decoded"));
    EXPECT_EQ(reportText("ReportOther"), QStringLiteral("1 other line"));
    auto* rejected = window_.find<QLabel>(QStringLiteral("ReportRejected"));
    EXPECT_EQ(rejected->text(), QStringLiteral("2 rejected lines with the marker"));
    EXPECT_TRUE(rejected->toolTip().endsWith(QStringLiteral(": 3, 5")))
        << rejected->toolTip().toStdString();
    // The report sits in the window's status bar, under the bottom line.
    EXPECT_EQ(rejected->parentWidget(), window_.form().statusBar());

    window_.pasteLines({good});
    EXPECT_EQ(rejected->text(), QStringLiteral("0 rejected lines with the marker"));
    EXPECT_TRUE(rejected->toolTip().isEmpty());
}

TEST_F(FileInput, ALongMessageIsCutVisiblyAndWholeInTheToolTip) {
    // Longer than the message line of a window as wide as the screen.
    const QString path = QDir(dir_.path())
                             .filePath(QString(200, QLatin1Char('x')) + QLatin1Char('/') +
                                       QString(200, QLatin1Char('y')));
    EXPECT_FALSE(LoadAndWait(window_.form(), path));
    auto* label = window_.find<pelorin::ElidedLabel>(QStringLiteral("Label3"));
    EXPECT_EQ(label->toolTip(), label->text());
    const QString shown = label->shownText();
    EXPECT_TRUE(label->text().startsWith(shown.chopped(3)) && shown.endsWith("..."))
        << shown.toStdString();
    const int width = label->fontMetrics().horizontalAdvance(shown);
    EXPECT_TRUE(width <= label->width() && width > label->width() * 9 / 10) << width;
    LoadAndWait(window_.form(), QStringLiteral("/no"));
    EXPECT_EQ(label->shownText(), label->text());  // a short one whole
}

}  // namespace
