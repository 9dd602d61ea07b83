// Following a log file in the window: the tail comes in, appended lines follow, the box keeps
// the newest 1000 records, the view keeps the user's choices, an edit or a rotation.
#include <qcustomplot.h>
#include <QAction>
#include <QFileDialog>
#include <QTest>
#include <QTextDocument>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "WindowSettings.h"
#include "temp_folder.h"
#include "window_driver.h"

namespace {

constexpr int kBoxRecords = 1000;

// Lines whose system time is `first`, `first + 1`, ... `last`, each with its line end.
std::string TimedLines(unsigned first, unsigned last) {
    std::string text;
    for (unsigned t = first; t <= last; ++t) {
        text += testframes::lineWithTime(t) + "\n";
    }
    return text;
}

void Append(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

class FollowLog : public ::testing::Test {
  protected:
    QString log() const { return QString::fromStdString((folder_ / "pass.log").string()); }
    std::filesystem::path logPath() const { return folder_ / "pass.log"; }

    bool follow(const std::string& content) {
        WriteFile(logPath(), content);
        const bool followed = window_.form().followLog(log());
        WindowDriver::Settle();
        return followed;
    }
    int records() const { return window_.selector()->maximum(); }
    // The system time of the record in the value boxes.
    QString shownTime() const { return window_.box(0)->text().section(QLatin1Char(' '), 0, 0); }
    QString status(const char* name) const { return window_.label(name)->text(); }
    QAction* stopAction() const { return window_.find<QAction>(QStringLiteral("MnuStopFollow")); }

    TempFolder folder_;
    WindowDriver window_;
};

TEST_F(FollowLog, AppendedLinesBecomeRecordsAndTheNewestIsShown) {
    EXPECT_FALSE(stopAction()->isEnabled());
    ASSERT_TRUE(follow(TimedLines(1, 3) + "beacon\n"));
    EXPECT_EQ(records(), 3);
    EXPECT_EQ(window_.selector()->value(), 3);
    EXPECT_EQ(shownTime(), "3");
    EXPECT_TRUE(stopAction()->isEnabled());
    EXPECT_TRUE(status("ReportFollow").startsWith("Following pass.log: last line "));

    Append(logPath(), TimedLines(4, 5) + testframes::lineWithTime(6));  // the last not ended
    QTRY_COMPARE(records(), 5);
    EXPECT_EQ(window_.selector()->value(), 5);
    EXPECT_EQ(shownTime(), "5");
    EXPECT_EQ(window_.label("Label2")->text(), "#5 / 5");
    EXPECT_EQ(window_.chart()->rowCount(), 5);
    Append(logPath(), "\n");
    QTRY_COMPARE(records(), 6);
    // Then, after "; ", what the archive kept of it.
    EXPECT_TRUE(status("ReportFollow").startsWith("Following pass.log: last line 0 s ago"));

    stopAction()->trigger();
    EXPECT_FALSE(stopAction()->isEnabled());
    EXPECT_EQ(status("ReportFollow"), "Stopped following pass.log.");
}

TEST_F(FollowLog, TheChosenQuantityTheRecordAndTheZoomWidthAreKept) {
    ASSERT_TRUE(follow(TimedLines(1, 20)));
    window_.option(5)->click();
    window_.selector()->setValue(7);
    window_.chart()->updateNow();
    QCPAxis* keys = window_.chart()->plot()->xAxis;
    keys->setRange(3.5, 9.5);
    Append(logPath(), TimedLines(21, 22));
    QTRY_COMPARE(records(), 22);
    window_.chart()->updateNow();
    EXPECT_TRUE(window_.option(5)->isChecked());
    EXPECT_FALSE(window_.option(19)->isChecked());
    EXPECT_TRUE(window_.frame(8)->title().startsWith(window_.option(5)->text()));
    EXPECT_EQ(window_.selector()->value(), 7);
    EXPECT_EQ(shownTime(), "7");
    EXPECT_DOUBLE_EQ(keys->range().size(), 6.0);
    EXPECT_DOUBLE_EQ(keys->range().upper, window_.chart()->wholeKeyRange().upper);
}

TEST_F(FollowLog, TheBoxHoldsTheNewestThousandRecords) {
    // The tail of a longer log: from the first of its last 1000 telemetry lines.
    ASSERT_TRUE(follow(TimedLines(1, 5) + "beacon\n" + TimedLines(6, kBoxRecords + 5)));
    QTextDocument& text = *window_.pasteBox()->document();
    EXPECT_EQ(records(), kBoxRecords);
    EXPECT_EQ(text.firstBlock().text().toStdString(), testframes::lineWithTime(6));
    window_.selector()->setValue(500);
    ASSERT_EQ(shownTime(), "505");

    Append(logPath(), "beacon\n" + TimedLines(kBoxRecords + 6, kBoxRecords + 7));
    QTRY_COMPARE(text.lastBlock().text().toStdString(), testframes::lineWithTime(1007));
    EXPECT_EQ(records(), kBoxRecords);
    EXPECT_EQ(text.firstBlock().text().toStdString(), testframes::lineWithTime(8));
    EXPECT_EQ(window_.selector()->value(), 498);  // the same record, two places up
    EXPECT_EQ(shownTime(), "505");
    // The follower's edits are no undo steps of the user.
    EXPECT_FALSE(text.isUndoAvailable());
}

// A log of few telemetry lines among many others: only its last 8 MB are read, the status bar
// says how much was left out, and while it is followed the other lines stay bounded.
TEST_F(FollowLog, OtherLinesAreBoundedAtTheStartAndWhileFollowing) {
    const std::string beacon(99, 'b');  // 100 bytes with its line end
    std::string beacons;
    for (int k = 0; k < 100000; ++k) {  // 10 MB
        beacons += beacon + "\n";
    }
    ASSERT_TRUE(follow(testframes::lineWithTime(1) + "\n" + beacons));
    QTextDocument& text = *window_.pasteBox()->document();
    EXPECT_EQ(window_.chart()->rowCount(), 0);
    EXPECT_LE(text.blockCount(), 50001);
    EXPECT_EQ(status("ReportFollowEvent"),
              "pass.log: its first 1 MB were not read (the box takes at most the last 8 MB of "
              "a log)");

    Append(logPath(), testframes::lineWithTime(2) + "\n" + beacons.substr(0, 200000));
    QTRY_COMPARE(window_.chart()->rowCount(), 1);
    EXPECT_LE(text.blockCount(), 50001);
}

TEST_F(FollowLog, AnEditOfTheBoxStopsFollowingAndUndoBringsBackTheTextBefore) {
    window_.paste("beacon");
    ASSERT_TRUE(follow(TimedLines(1, 2)));
    QPlainTextEdit& box = *window_.pasteBox();
    box.moveCursor(QTextCursor::Start);
    box.moveCursor(QTextCursor::Down);
    QTest::keyClick(&box, Qt::Key_X);  // before the marker: still a telemetry line
    EXPECT_FALSE(stopAction()->isEnabled());
    EXPECT_EQ(status("ReportFollow"), "Stopped following pass.log: the paste box was edited.");
    EXPECT_EQ(box.textCursor().blockNumber(), 1);  // where the user typed
    EXPECT_EQ(box.textCursor().positionInBlock(), 1);
    const QString followed = box.toPlainText();
    Append(logPath(), TimedLines(3, 3));
    QTest::qWait(300);  // three polls, had it gone on
    EXPECT_EQ(records(), 2);

    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), "beacon");
    WindowDriver::Settle();
    EXPECT_EQ(window_.chart()->rowCount(), 2);  // no record: the chart keeps its drawing
    EXPECT_EQ(status("ReportDecoded"), "0 telemetry lines decoded");
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box.toPlainText(), followed);
    EXPECT_EQ(records(), 2);
}

TEST_F(FollowLog, UndoAfterFollowingIntoAnEmptyBoxEmptiesItAgain) {
    ASSERT_TRUE(follow(TimedLines(1, 2)));
    stopAction()->trigger();
    QPlainTextEdit& box = *window_.pasteBox();
    const QString followed = box.toPlainText();
    ASSERT_FALSE(followed.isEmpty());
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), QString());
    WindowDriver::Settle();
    EXPECT_EQ(status("ReportDecoded"), "0 telemetry lines decoded");
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box.toPlainText(), followed);
}

TEST_F(FollowLog, ARotatedLogIsFollowedIntoTheNewFile) {
    ASSERT_TRUE(follow(TimedLines(1, 2)));
    std::filesystem::rename(logPath(), folder_ / "pass.log.1");
    WriteFile(logPath(), TimedLines(3, 4));
    QTRY_COMPARE(records(), 4);
    EXPECT_EQ(shownTime(), "4");
    EXPECT_EQ(status("ReportFollowEvent"),
              "pass.log was rotated; decoding the new file from the start");
}

TEST_F(FollowLog, TheMenuDialogStartsInTheFolderLastFollowedAndKeepsTheNewOne) {
    using pelorin::WindowSettings;
    const std::filesystem::path before = folder_ / "before";
    std::filesystem::create_directory(before);
    WindowSettings::rememberFolderOf(WindowSettings::Folder::Follow,
                                     QString::fromStdString((before / "old.log").string()));
    WriteFile(logPath(), TimedLines(1, 2));
    QString startedIn;
    QTimer answer;  // chooses the log as a user does: types its path and presses Open
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            startedIn = dialog->directory().absolutePath();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(log());
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    answer.start(20);
    QTest::keyClick(window_.box(2), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(startedIn.toStdString(), before.string());
    EXPECT_EQ(records(), 2);
    EXPECT_EQ(WindowSettings::folder(WindowSettings::Folder::Follow).toStdString(),
              folder_.path().string());
}

TEST_F(FollowLog, AFileThatCannotBeFollowedLeavesTheBoxAsItWas) {
    window_.paste(testframes::line());
    EXPECT_FALSE(window_.form().followLog(log()));
    EXPECT_TRUE(status("Label3").startsWith("Could not follow " + log() + ": "));
    EXPECT_EQ(records(), 1);
    EXPECT_FALSE(stopAction()->isEnabled());
}

}  // namespace
