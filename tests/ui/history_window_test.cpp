// The History window: its passes and the zoom they choose, Open in Main Window, the keyboard,
// live arrival and the choices it keeps.
#include <qcustomplot.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include "ValueText.h"
#include "archive_lines.h"
#include "history/HistoryPanel.h"
#include "history/HistoryWindow.h"
#include "pelorin/frame_marker.h"
#include "window_driver.h"

namespace {

using pelorin::HistoryWindow;
using pelorin::history::TimeSpan;

constexpr int kWaitMs = 5000;

double Seconds(const char* utc) {
    return static_cast<double>(*pelorin::ParseUtcTime(utc)) / 1000;
}

// The archive the window uses, fresh for each test.
std::unique_ptr<pelorin::ArchiveStore> FreshArchive() {
    const QString path = qEnvironmentVariable("PELORIN_ARCHIVE");
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(path + suffix);
    }
    return pelorin::OpenArchive(path.toStdString(), pelorin::ArchiveAccess::Write);
}

const std::vector<std::string> kFirstPass{testarchive::logLine(100, "2026-12-01T10:00:00Z"),
                                          testarchive::logLine(160, "2026-12-01T10:01:00Z"),
                                          testarchive::logLine(220, "2026-12-01T10:02:00Z")};
const std::vector<std::string> kSecondPass{testarchive::logLine(7300, "2026-12-01T12:00:00Z"),
                                           testarchive::logLine(7360, "2026-12-01T12:01:00Z")};

class HistoryWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().remove(QStringLiteral("History"));
        archive_ = FreshArchive();
        archive_->add(testarchive::entries(kFirstPass, "north"));
        archive_->add(testarchive::entries(kSecondPass, "south"));
        open();
    }
    void open() {
        window_.find<QAction>(QStringLiteral("MnuHistory"))->trigger();
        history_ = window_.form().findChild<HistoryWindow*>(QStringLiteral("HistoryWindow"));
        ASSERT_NE(history_, nullptr);
        if (history_->snapshot() == nullptr) {
            QSignalSpy shown(history_, &HistoryWindow::snapshotShown);
            ASSERT_TRUE(shown.wait(kWaitMs));
        }
        passes_ = history_->findChild<QTreeView*>(QStringLiteral("HistoryPasses"));
    }
    void choosePass(int row) {
        passes_->setCurrentIndex(passes_->model()->index(row, 0));
        WindowDriver::Settle();
    }
    void press(int key) { QTest::keyClick(history_->panel(0)->plot(), static_cast<Qt::Key>(key)); }

    std::unique_ptr<pelorin::ArchiveStore> archive_;
    WindowDriver window_;
    HistoryWindow* history_ = nullptr;
    QString cell(int row, int column, int role = Qt::DisplayRole) const {
        return passes_->model()->index(row, column).data(role).toString();
    }
    int passCount() const { return passes_->model()->rowCount(); }

    QTreeView* passes_ = nullptr;
};

TEST_F(HistoryWindowTest, ListsPassesNewestFirstAndChoosingOneZoomsToIt) {
    ASSERT_EQ(passCount(), 2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("2"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("3"));
    EXPECT_EQ(cell(1, 0, Qt::ToolTipRole), QStringLiteral("2026-12-01T10:00:00.000Z"));

    struct Case {
        int row;
        const char* first;
        const char* last;
    };
    for (const Case& c : {Case{1, "2026-12-01T10:00:00Z", "2026-12-01T10:02:00Z"},
                          Case{0, "2026-12-01T12:00:00Z", "2026-12-01T12:01:00Z"}}) {
        choosePass(c.row);
        const TimeSpan view = history_->view();
        EXPECT_LE(view.from, Seconds(c.first));
        EXPECT_GE(view.to, Seconds(c.last));
        // The other pass lies outside: more than an hour away either way.
        EXPECT_LT(view.width(), 3600.0);
    }
    // The same window again, not a second one.
    window_.find<QAction>(QStringLiteral("MnuHistory"))->trigger();
    EXPECT_EQ(window_.form().findChildren<HistoryWindow*>().size(), 1);
}

TEST_F(HistoryWindowTest, OpenInMainWindowPutsThePassIntoThePasteBoxAsOneEdit) {
    window_.paste("earlier text");
    choosePass(1);
    history_->findChild<QPushButton*>(QStringLiteral("HistoryOpenInMain"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(window_.pasteBox()->toPlainText() != "earlier text", kWaitMs);
    WindowDriver::Settle();

    const QStringList lines =
        window_.pasteBox()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(kFirstPass.size()));
    for (std::size_t k = 0; k < kFirstPass.size(); ++k) {
        const std::string line = lines[static_cast<qsizetype>(k)].toStdString();
        const std::string& fed = kFirstPass[k];
        EXPECT_EQ(pelorin::ReceptionTimeOfLine(line), pelorin::ReceptionTimeOfLine(fed));
        EXPECT_EQ(line.substr(line.find(pelorin::FrameMarker)),
                  fed.substr(fed.find(pelorin::FrameMarker)));
    }
    EXPECT_EQ(window_.selector()->maximum(), static_cast<int>(kFirstPass.size()));
    window_.pasteBox()->undo();
    EXPECT_EQ(window_.pasteBox()->toPlainText(), QStringLiteral("earlier text"));
}

TEST_F(HistoryWindowTest, KeysZoomAndPanAllPanelsTogether) {
    const TimeSpan all = history_->view();
    struct Step {
        int key;
        double width;  // of the view after the key, as a share of everything
        double from;   // share of everything from the start
    };
    for (const Step& s : {Step{Qt::Key_Plus, 0.5, 0.25}, Step{Qt::Key_Plus, 0.25, 0.375},
                          Step{Qt::Key_Left, 0.25, 0.35}, Step{Qt::Key_Minus, 0.5, 0.225},
                          Step{Qt::Key_Home, 1.0, 0.0}}) {
        press(s.key);
        const TimeSpan view = history_->view();
        EXPECT_NEAR(view.width(), s.width * all.width(), 1e-6) << s.key;
        EXPECT_NEAR(view.from - all.from, s.from * all.width(), 1e-6) << s.key;
        for (int k = 0; k < history_->panelCount(); ++k) {
            const QCPRange shown = history_->panel(k)->plot()->xAxis->range();
            EXPECT_DOUBLE_EQ(shown.lower, view.from);
            EXPECT_DOUBLE_EQ(shown.upper, view.to);
        }
    }
}

TEST_F(HistoryWindowTest, NewFramesAppearAndAViewOfTheNewestFollowsThem) {
    const std::vector<std::string> third{testarchive::logLine(14500, "2026-12-01T14:00:00Z"),
                                         testarchive::logLine(14560, "2026-12-01T14:01:00Z")};
    QSignalSpy shown(history_, &HistoryWindow::snapshotShown);
    archive_->add(testarchive::entries(third, "north"));
    ASSERT_TRUE(shown.wait(kWaitMs));
    EXPECT_EQ(passCount(), 3);
    EXPECT_EQ(history_->view().to, Seconds("2026-12-01T14:01:00Z"));
    // A view of older frames stays where it is.
    choosePass(2);
    const TimeSpan older = history_->view();
    archive_->add(testarchive::entries({testarchive::logLine(14620, "2026-12-01T14:02:00Z")}));
    ASSERT_TRUE(shown.wait(kWaitMs));
    EXPECT_EQ(history_->view().from, older.from);
    EXPECT_EQ(history_->view().to, older.to);
}

TEST_F(HistoryWindowTest, LimitsShowAsABandWithTheDrawnValuesOutsideThemInRed) {
    constexpr int kBusVoltageActual = 20;  // the last of the first panel's four
    pelorin::HistoryPanel& panel = *history_->panel(0);
    const std::vector<pelorin::history::DrawnPoints>& drawn = panel.drawn();
    ASSERT_EQ(drawn.size(), 4U);
    const double actual = drawn[3].y.front();  // every frame has the same bus voltage
    struct Case {
        pelorin::ValueLimits limits;
        bool outside;
    };
    for (const Case& c :
         {Case{{actual - 1.0, actual + 1.0}, false}, Case{{std::nullopt, actual - 0.5}, true},
          Case{{actual + 0.5, std::nullopt}, true}}) {
        pelorin::LimitTable limits{};
        limits[kBusVoltageActual] = c.limits;
        history_->setLimits(limits);
        std::size_t drawnActual = 0;
        for (double y : drawn[3].y) {
            drawnActual += std::isnan(y) ? 0 : 1;
        }
        EXPECT_EQ(panel.outOfLimits()->dataCount(), c.outside ? static_cast<int>(drawnActual) : 0);
        EXPECT_TRUE(panel.band()->visible());
        const QCPRange values = panel.plot()->yAxis->range();
        EXPECT_DOUBLE_EQ(panel.band()->topLeft->coords().y(), c.limits.high.value_or(values.upper));
        EXPECT_DOUBLE_EQ(panel.band()->bottomRight->coords().y(),
                         c.limits.low.value_or(values.lower));
    }
    history_->setLimits({});
    EXPECT_FALSE(panel.band()->visible());
}

TEST_F(HistoryWindowTest, HoverNamesTheNearestFrameWithItsTimesStationsAndBoxValues) {
    const char* nearest = "2026-12-01T12:00:00Z";
    pelorin::ArchivedFrame frame;
    archive_->forEachFrame({}, [&](const pelorin::ArchivedFrame& f) {
        if (f.firstReceived == pelorin::ParseUtcTime(nearest)) {
            frame = f;
        }
    });
    const auto box = [&frame](int v) {
        return QString::fromStdString(
            pelorin::ValueBoxText(frame.values[static_cast<std::size_t>(v)], v, ","));
    };
    history_->setDecimalSeparator(",");
    history_->hoverAt(Seconds(nearest) + 20.0);

    const QString said = history_->findChild<QLabel*>(QStringLiteral("HistoryHover"))->text();
    EXPECT_TRUE(said.contains(QStringLiteral("2026-12-01T12:00:00.000Z"))) << said.toStdString();
    EXPECT_TRUE(said.contains(box(0))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("south")));
    EXPECT_FALSE(said.contains(QStringLiteral("north")));
    for (int k = 0; k < history_->panelCount(); ++k) {
        const QString values = history_->panel(k)->hoverValue()->text();
        for (int v : history_->panel(k)->valueIndices()) {
            EXPECT_TRUE(values.contains(box(v))) << values.toStdString() << " lacks " << v;
        }
    }
    history_->clearHover();
    EXPECT_TRUE(history_->panel(0)->hoverValue()->text().isEmpty());
}

TEST_F(HistoryWindowTest, AShiftDragZoomsToTheDraggedStretch) {
    QCustomPlot* plot = history_->panel(0)->plot();
    const QCPAxisRect* rect = plot->axisRect();
    const int y = rect->center().y();
    const QPoint from(rect->left() + rect->width() / 4, y);
    const QPoint to(rect->left() + rect->width() / 2, y);
    const double expectedFrom = plot->xAxis->pixelToCoord(from.x());
    const double expectedTo = plot->xAxis->pixelToCoord(to.x());
    QTest::mousePress(plot, Qt::LeftButton, Qt::ShiftModifier, from);
    QTest::mouseMove(plot, to);
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::ShiftModifier, to);
    EXPECT_NEAR(history_->view().from, expectedFrom, 1e-3);
    EXPECT_NEAR(history_->view().to, expectedTo, 1e-3);
}

TEST_F(HistoryWindowTest, SavesThePlotsAsOnePictureAndRefusesAFolder) {
    history_->resize(1000, 640);
    WindowDriver::Settle();
    const QString folder = QDir::tempPath() + QStringLiteral("/history-png-test");
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/plots.png");
    ASSERT_TRUE(history_->savePlotsTo(path));
    const QImage saved(path);
    int plots = 0;
    for (int k = 0; k < history_->panelCount(); ++k) {
        plots += history_->panel(k)->plot()->height();
    }
    EXPECT_GT(saved.height(), plots);  // and the titles above them
    EXPECT_GE(saved.width(), history_->panel(0)->plot()->width());
    EXPECT_FALSE(history_->savePlotsTo(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    QDir(folder).removeRecursively();
}

TEST_F(HistoryWindowTest, KeepsItsChoicesForTheNextOpening) {
    history_->findChild<QSpinBox*>(QStringLiteral("HistoryPanelCount"))->setValue(3);
    history_->panel(1)->setChoice(10);
    history_->findChild<QComboBox*>(QStringLiteral("HistoryAxis"))->setCurrentIndex(1);
    history_->findChild<QPushButton*>(QStringLiteral("HistoryRangeDay"))->click();
    history_->close();
    WindowDriver::Settle();
    open();
    EXPECT_EQ(history_->panelCount(), 3);
    EXPECT_EQ(history_->panel(1)->choice(), 10);
    EXPECT_EQ(history_->timeBase(), pelorin::history::TimeBase::Onboard);
    EXPECT_FALSE(history_->panel(3)->isVisibleTo(history_));
}

}  // namespace
