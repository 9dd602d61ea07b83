// Opening large files: read in pieces, marked for the decoder while read, put into the box
// between events with a progress dialog that can cancel.
#include <sys/stat.h>
#include <QAction>

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <fstream>

#include "PasteReport.h"
#include "QtText.h"
#include "TextFileLoader.h"
#include "pelorin/decoder.h"
#include "window_driver.h"

namespace {

class FileLoad : public ::testing::Test {
  protected:
    QString write(const char* name, const std::string& bytes) {
        const QString path = QDir(dir_.path()).filePath(QString::fromLatin1(name));
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }

    QString writeLarge() {
        std::string lines;
        for (unsigned k = 0; k < 150000; ++k) {
            lines += testframes::lineWithTime(k) + "\r\n";
        }
        return write("large.txt", lines);
    }

    QTemporaryDir dir_;
};

// A CR LF and a UTF-8 sequence cut by the border between two pieces read the same as whole.
TEST_F(FileLoad, PiecesReadAsTheWholeText) {
    constexpr auto kPiece = static_cast<std::size_t>(pelorin::TextFileLoader::kPieceBytes);
    std::string bytes(3 * kPiece + 100, 'a');
    bytes.replace(kPiece - 1, 2, "\r\n");
    bytes.replace(2 * kPiece - 1, 2, "\xC3\x84");   // A with diaeresis
    bytes.replace(3 * kPiece - 1, 3, "\r\r\n");     // a lone CR, then CR LF
    bytes.replace(3 * kPiece + 50, 1, "\xE2\x82");  // a cut sequence: one U+FFFD
    const auto loaded = pelorin::TextFileLoader::Load(write("pieces.txt", bytes));
    ASSERT_TRUE(loaded.ok) << loaded.error.toStdString();
    QString expected = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    EXPECT_EQ(loaded.text, expected);
}

// What is opened is checked, not the path: a FIFO put in the file's place after the check is
// refused at once instead of blocking the reader (and Cancel, which waits for the reader).
TEST_F(FileLoad, AFifoIsRefusedEvenWhenSwappedInAfterTheCheck) {
    const QString path = write("swapped.txt", testframes::line());
    pelorin::TextFileLoader loader(path);
    ASSERT_TRUE(loader.check().isEmpty());
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QString refused = loader.read([](const QString&, std::int64_t) { return true; });
    EXPECT_TRUE(refused.endsWith(QStringLiteral(": it is not a file."))) << refused.toStdString();
    EXPECT_FALSE(pelorin::TextFileLoader(path).check().isEmpty());
}

// The lines are marked while the file is read, as the box will hold them, lines cut by the
// pieces' borders and the characters that break lines included: the window's counts after
// opening are those of a full decode of the box's text.
TEST_F(FileLoad, LinesMarkedWhileReadingAreTheBoxLines) {
    const std::string frame = testframes::line();
    std::string nbsp = frame;
    nbsp.replace(60, 1, "\xC2\xA0");
    std::string pieces;
    for (int k = 0; pieces.size() < 3 * pelorin::TextFileLoader::kPieceBytes; ++k) {
        pieces += (k % 3 == 0 ? frame + "F" : frame) + "\r\n";
    }
    const std::string text = pieces + frame + "\r\n" + frame + "\xE2\x80\xA8" + frame + "x\r" +
                             nbsp + "\xE2\x80\xA9" + frame + "\xEF\xB7\x90" + frame + "\n\n" +
                             frame.substr(3) + "\r\n";
    WindowDriver window;
    ASSERT_TRUE(LoadAndWait(window.form(), write("breaks.txt", text)));
    WindowDriver::Settle();

    QString plain = window.pasteBox()->toPlainText();
    plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    pelorin::TelemetryStore store;
    pelorin::PasteReport expected;
    expected.showResult(pelorin::Decode_Text(pelorin::Utf16(plain), store));
    for (const char* item : {"ReportDecoded", "ReportOther", "ReportRejected", "ReportSuspect"}) {
        const auto* shown = window.find<QLabel>(QString::fromLatin1(item));
        EXPECT_EQ(shown->text(), expected.findChild<QLabel*>(QString::fromLatin1(item))->text());
        EXPECT_EQ(shown->toolTip(),
                  expected.findChild<QLabel*>(QString::fromLatin1(item))->toolTip());
    }
    EXPECT_EQ(window.label("Label2")->text(),
              QStringLiteral("#1 / ") + pelorin::IntegerText(store.RecordCount()));
}

// A long load shows its progress with Cancel; Cancel puts back the text, its cursor and its
// decode, and the window is the same as before.
TEST_F(FileLoad, ProgressShowsAndCancelLeavesTheBoxAsItWas) {
    const QString large = writeLarge();
    WindowDriver window;
    window.pasteLines({testframes::lineWithTime(7), "beacon", testframes::lineWithTime(8)});
    QTextCursor cursor = window.pasteBox()->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    window.pasteBox()->setTextCursor(cursor);
    const QString textBefore = window.pasteBox()->toPlainText();
    const QString reportBefore = window.find<QLabel>(QStringLiteral("ReportDecoded"))->text();

    bool sawProgress = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = window.form().findChild<QProgressDialog*>(QStringLiteral("OpenProgress"));
        if (progress == nullptr || !progress->isVisible() ||
            progress->findChild<QProgressBar*>()->value() <= 0) {
            return;
        }
        watch.stop();
        sawProgress = true;
        EXPECT_FALSE(window.form().grab().isNull());  // the window paints, the box half filled
        progress->findChild<QPushButton*>()->click();
    });
    watch.start(1);
    EXPECT_FALSE(LoadAndWait(window.form(), large));
    WindowDriver::Settle();
    ASSERT_TRUE(sawProgress) << "the load ended before its progress showed";
    EXPECT_EQ(window.pasteBox()->toPlainText(), textBefore);
    EXPECT_FALSE(window.pasteBox()->isReadOnly());
    EXPECT_EQ(window.pasteBox()->textCursor().anchor(), 5);
    EXPECT_EQ(window.pasteBox()->textCursor().position(), 9);
    EXPECT_EQ(window.find<QLabel>(QStringLiteral("ReportDecoded"))->text(), reportBefore);
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 2"));

    // The box's decode still follows its edits.
    window.pasteBox()->moveCursor(QTextCursor::End);
    window.pasteBox()->insertPlainText(QStringLiteral("\n") +
                                       QString::fromStdString(testframes::line()));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 3"));
}

// Closing the window, or deleting it, while a file opens cancels the open first: the window's
// controls are never used after they are gone (AddressSanitizer watches the suite), and the
// worker's late pieces go nowhere. A second open while one runs replaces it.
TEST_F(FileLoad, ClosingOrOpeningAgainDuringAnOpenCancelsIt) {
    const QString large = writeLarge();
    const QString small = write("small.txt", testframes::line());
    WindowDriver window;
    for (const bool closeByMenu : {true, false}) {
        auto* form = new pelorin::Form1;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        const QPointer<pelorin::Form1> alive(form);
        std::vector<bool> ends;
        QObject::connect(form, &pelorin::Form1::textFileLoaded,
                         [&ends](bool ok) { ends.push_back(ok); });
        auto* box = form->findChild<QPlainTextEdit*>(QStringLiteral("Text2"));
        form->loadTextFile(large);
        ASSERT_TRUE(QTest::qWaitFor([box] { return !box->document()->isEmpty(); }, 10000));
        if (closeByMenu) {
            form->findChild<QAction*>(QStringLiteral("MnuExit"))->trigger();
            EXPECT_EQ(ends, std::vector<bool>{false});
            EXPECT_TRUE(box->document()->isEmpty());
        } else {
            delete form;
            EXPECT_TRUE(ends.empty());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
        QTest::qWait(50);  // pieces the worker sent before it stopped
    }

    std::vector<bool> ends;
    QObject::connect(&window.form(), &pelorin::Form1::textFileLoaded,
                     [&ends](bool ok) { ends.push_back(ok); });
    window.form().loadTextFile(large);
    EXPECT_TRUE(LoadAndWait(window.form(), small));
    EXPECT_EQ(ends, (std::vector<bool>{false, true}));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 1"));
}

}  // namespace
