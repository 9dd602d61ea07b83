// The window's archive: File > Add to Archive takes every telemetry line of the paste box under
// the station's name; followed lines are kept as they come, numbered as in the log, unless
// File > Keep Followed Frames in Archive is switched off.
#include <QAction>
#include <QInputDialog>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "pelorin/archive_location.h"
#include "pelorin/archive_store.h"
#include "temp_folder.h"
#include "window_driver.h"

namespace {

constexpr int kPatienceMs = 15000;

class ArchiveWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* end : {"", "-wal", "-shm"}) {
            std::filesystem::remove(archive() + end);
        }
    }
    static std::string archive() { return pelorin::ArchiveLocation(std::nullopt); }
    static std::vector<pelorin::ArchivedFrame> frames() {
        std::vector<pelorin::ArchivedFrame> all;
        try {
            pelorin::OpenArchive(archive(), pelorin::ArchiveAccess::Read)
                ->forEachFrame({}, [&all](const pelorin::ArchivedFrame& f) { all.push_back(f); });
        } catch (const pelorin::ArchiveError&) {
        }
        return all;
    }
    static bool waitForFrames(std::size_t count) {
        return QTest::qWaitFor([count] { return frames().size() == count; }, kPatienceMs);
    }
    void trigger(const char* action) {
        window_.find<QAction>(QString::fromLatin1(action))->trigger();
        WindowDriver::Settle();
    }

    TempFolder folder_;
    WindowDriver window_;
};

TEST_F(ArchiveWindow, AddToArchiveTakesEveryLineOfThePasteBoxUnderTheStationsName) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral(" W1ABC "));
        dialog->accept();
    });
    trigger("MnuStationName");
    std::vector<std::string> lines;
    for (unsigned t = 0; t < 1200; ++t) {  // past the 1000 records the window shows
        lines.push_back(testframes::lineWithTime(t));
    }
    lines.push_back("beacon");
    lines.push_back(testframes::lineWithTime(7));  // heard again: a reception, no frame
    window_.pasteLines(lines);
    trigger("MnuAddToArchive");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_.label("Label3")->text().contains(QStringLiteral("new frames")); },
        kPatienceMs));
    EXPECT_EQ(window_.label("Label3")->text(),
              "Archive: 1201 telemetry lines added, 1200 new frames.");
    const auto all = frames();
    ASSERT_EQ(all.size(), 1200U);
    EXPECT_EQ(all[7].source, "paste");
    EXPECT_EQ(all[7].line, 8);
    EXPECT_EQ(all[7].stations, std::vector<std::string>{"W1ABC"});
    EXPECT_FALSE(all[7].firstReceived);
}

TEST_F(ArchiveWindow, FollowedLinesAreKeptNumberedAsInTheLogUnlessSwitchedOff) {
    const auto log = folder_ / "today.log";
    std::string text = "beacon\n";
    for (unsigned t = 1; t <= 1003; ++t) {  // the box takes the last 1000: from line 5 on
        text += testframes::lineWithTime(t) + "\n";
    }
    WriteFile(log, text);
    ASSERT_TRUE(window_.form().followLog(QString::fromStdString(log.string())));
    ASSERT_TRUE(waitForFrames(1000));
    std::ofstream(log, std::ios::binary | std::ios::app) << testframes::lineWithTime(5000) << "\n";
    ASSERT_TRUE(waitForFrames(1001));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return window_.label("ReportFollow")->text().endsWith("; 1001 archived, 1001 new");
        },
        kPatienceMs))
        << window_.label("ReportFollow")->text().toStdString();
    const auto all = frames();
    // The frame heard live has its time; the tail that was there before has none.
    EXPECT_EQ(all[0].values[0], 5000);
    EXPECT_TRUE(all[0].firstReceived);
    EXPECT_EQ(all[0].line, 1005);
    EXPECT_EQ(all[1].values[0], 4);
    EXPECT_EQ(all[1].line, 5);
    EXPECT_EQ(all[1].source, std::filesystem::canonical(log).string());
    EXPECT_FALSE(all[1].firstReceived);

    trigger("MnuKeepFollowed");
    EXPECT_FALSE(window_.find<QAction>(QStringLiteral("MnuKeepFollowed"))->isChecked());
    std::ofstream(log, std::ios::binary | std::ios::app) << testframes::lineWithTime(6000) << "\n";
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_.box(0)->text().startsWith(QStringLiteral("6000")); }, kPatienceMs));
    QTest::qWait(300);
    EXPECT_EQ(frames().size(), 1001U);
    trigger("MnuKeepFollowed");  // on again, as the next test expects
}

// An archive that cannot be written is said at the bottom left; the window goes on following.
TEST_F(ArchiveWindow, AnArchiveThatCannotBeWrittenIsSaidAndFollowingGoesOn) {
    WriteFile(archive(), std::string(4096, 'x'));
    const auto log = folder_ / "today.log";
    WriteFile(log, testframes::lineWithTime(1) + "\n");
    ASSERT_TRUE(window_.form().followLog(QString::fromStdString(log.string())));
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return window_.label("Label3")->text().contains("is not an archive"); },
        kPatienceMs));
    std::ofstream(log, std::ios::binary | std::ios::app) << testframes::lineWithTime(2) << "\n";
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return window_.selector()->maximum() == 2; }, kPatienceMs));
    EXPECT_EQ(ReadFile(archive()), std::string(4096, 'x'));
}

}  // namespace
