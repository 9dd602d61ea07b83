// The records table window: reception times, the selection both ways, sorting, copying rows,
// cells out of limits and live updates.
#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTableView>
#include <QTest>
#include <QTimeZone>
#include <fstream>

#include "ReadableColors.h"
#include "records/ReceptionTime.h"
#include "records/RecordsModel.h"
#include "records/RecordsWindow.h"
#include "temp_folder.h"
#include "window_driver.h"

namespace {

using pelorin::RecordsModel;
using pelorin::RecordsWindow;

QDateTime Utc(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}

TEST(ReceptionTime, ReadsTheLoggersStampBeforeTheMarkerOnly) {
    const QString frame = QString::fromStdString(testframes::line());
    const std::pair<QString, std::optional<QDateTime>> cases[] = {
        {"2026-03-14T09:26:53Z ", Utc(2026, 3, 14, 9, 26, 53)},
        {"2026-03-14 09:26:53 ", Utc(2026, 3, 14, 9, 26, 53)},  // no zone: UTC
        {"[2026-03-14 09:26:53.250] ", Utc(2026, 3, 14, 9, 26, 53, 250)},
        {"  [2026-03-14T09:26:53,5+02:00]", Utc(2026, 3, 14, 7, 26, 53, 500)},
        {"2026-03-14T00:10:00-0130 rx: ", Utc(2026, 3, 14, 1, 40, 0)},
        {"", std::nullopt},
        {"rx 2026-03-14T09:26:53Z ", std::nullopt},  // not at the line's start
        {"2026-13-14T09:26:53Z ", std::nullopt},     // no such month
        {"2026-03-14 ", std::nullopt},               // a date alone
    };
    for (const auto& [prefix, expected] : cases) {
        SCOPED_TRACE(prefix.toStdString());
        EXPECT_EQ(pelorin::ReceptionTimeOfLine(prefix + frame), expected);
    }
    EXPECT_EQ(pelorin::ReceptionTimeOfLine(QStringLiteral("2026-03-14T09:26:53Z no frame")),
              std::nullopt);
    EXPECT_EQ(pelorin::ReceptionTimeOfLine(frame + QStringLiteral(" 2026-03-14T09:26:53Z")),
              std::nullopt);
}

class RecordsTable : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<std::string> lines;
        for (unsigned k = 1; k <= kRecords; ++k) {
            // Every other line carries its reception time.
            const std::string stamp =
                k % 2 == 1 ? "2026-03-14T10:00:0" + std::to_string(k) + "Z " : std::string();
            lines.push_back(stamp + testframes::lineWithTime(k * 60));
        }
        window_.pasteLines(lines);
        window_.find<QAction>(QStringLiteral("MnuRecords"))->trigger();
        WindowDriver::Settle();
        table_ = window_.form().findChild<RecordsWindow*>(QStringLiteral("RecordsWindow"));
        ASSERT_NE(table_, nullptr);
        view_ = table_->findChild<QTableView*>(QStringLiteral("RecordsView"));
        ASSERT_NE(view_, nullptr);
    }
    // The record of the view's row `row`.
    int recordAt(int row) const { return view_->model()->index(row, 0).data().toInt(); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect cell = view_->visualRect(view_->model()->index(row, 3));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, modifiers, cell.center());
        WindowDriver::Settle();
    }

    static constexpr unsigned kRecords = 6;
    WindowDriver window_;
    RecordsWindow* table_ = nullptr;
    QTableView* view_ = nullptr;
};

TEST_F(RecordsTable, RowsShowTheRecordsAsTheirBoxesWriteThem) {
    ASSERT_EQ(view_->model()->rowCount(), static_cast<int>(kRecords));
    ASSERT_EQ(view_->model()->columnCount(), RecordsModel::kColumns);
    for (int rec : {1, 2, 5}) {
        SCOPED_TRACE(rec);
        window_.selector()->setValue(rec);
        WindowDriver::Settle();
        const QAbstractItemModel& model = *view_->model();
        for (int column = RecordsModel::kTimeColumn; column < RecordsModel::kColumns; ++column) {
            const int value = RecordsModel::ValueIndexOf(column);
            if (value >= 0) {
                EXPECT_EQ(model.index(rec - 1, column).data().toString(),
                          window_.box(value)->text())
                    << column;
            }
        }
        const QString received =
            model.index(rec - 1, RecordsModel::kReceptionColumn).data().toString();
        EXPECT_EQ(received.isEmpty(), rec % 2 == 0);
    }
    EXPECT_EQ(view_->model()->index(0, RecordsModel::kReceptionColumn).data().toString(),
              QStringLiteral("2026-03-14 10:00:01"));
}

TEST_F(RecordsTable, SelectingARowSelectsTheRecordAndTheSelectorSelectsTheRow) {
    clickRow(3);
    EXPECT_EQ(window_.selector()->value(), 4);
    EXPECT_EQ(window_.chart()->selectedRow(), 4);
    window_.selector()->setValue(2);
    EXPECT_EQ(recordAt(view_->currentIndex().row()), 2);

    // Sorted by the time counter, newest first: the top row is the last record.
    view_->sortByColumn(RecordsModel::kTimeColumn, Qt::DescendingOrder);
    clickRow(0);
    EXPECT_EQ(window_.selector()->value(), static_cast<int>(kRecords));
    window_.selector()->setValue(1);
    EXPECT_EQ(view_->currentIndex().row(), static_cast<int>(kRecords) - 1);
}

TEST_F(RecordsTable, CtrlCCopiesTheSelectedRowsAsTabSeparatedTextWithAHeader) {
    table_->activateWindow();
    clickRow(1);
    clickRow(4, Qt::ControlModifier);
    QTest::keySequence(view_, QKeySequence::Copy);
    const QStringList lines =
        QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines) {
        EXPECT_EQ(line.split(QLatin1Char('\t')).size(), RecordsModel::kColumns)
            << line.toStdString();
    }
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("record\t")));
    for (const auto& [line, rec] : {std::pair{1, 2}, std::pair{2, 5}}) {
        const QStringList cells = lines[line].split(QLatin1Char('\t'));
        EXPECT_EQ(cells[0], QString::number(rec));
        window_.selector()->setValue(rec);
        EXPECT_EQ(cells[RecordsModel::kTimeColumn], window_.box(0)->text());
        EXPECT_EQ(cells.last(), window_.box(34)->text());
    }
}

TEST_F(RecordsTable, FollowsNewRecords) {
    window_.pasteBox()->appendPlainText(QString::fromStdString(testframes::lineWithTime(999)));
    WindowDriver::Settle();
    EXPECT_EQ(view_->model()->rowCount(), static_cast<int>(kRecords) + 1);
    EXPECT_EQ(recordAt(view_->currentIndex().row()), window_.selector()->value());
}

// A followed line without a logger's stamp was received when it was read; the log's lines that
// were there before the following began have no reception time.
TEST(RecordsTableFollow, ALineReadWhileFollowingWasReceivedWhenItWasRead) {
    TempFolder folder;
    WindowDriver window;
    const std::filesystem::path log = folder / "pass.log";
    WriteFile(log, testframes::lineWithTime(1) + "\n");
    ASSERT_TRUE(window.form().followLog(QString::fromStdString(log.string())));
    window.find<QAction>(QStringLiteral("MnuRecords"))->trigger();
    WindowDriver::Settle();
    const QAbstractItemModel& model =
        *window.form().findChild<QTableView*>(QStringLiteral("RecordsView"))->model();
    const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-1000);
    std::ofstream(log, std::ios::app) << testframes::lineWithTime(2) << "\n2026-03-14T10:00:00Z "
                                      << testframes::lineWithTime(3) << "\n";
    QTRY_COMPARE(model.rowCount(), 3);
    const QDateTime after = QDateTime::currentDateTimeUtc();
    const auto received = [&](int row) {
        return model.index(row, RecordsModel::kReceptionColumn).data().toString();
    };
    EXPECT_EQ(received(0), QString());
    QDateTime read = QDateTime::fromString(received(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    read.setTimeZone(QTimeZone::utc());
    EXPECT_TRUE(read >= before && read <= after) << received(1).toStdString();
    EXPECT_EQ(received(2), QStringLiteral("2026-03-14 10:00:00"));
}

TEST(RecordsTableLimits, CellsOutOfLimitsAreRed) {
    const QString folder =
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("pelorin"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("limits.ini"));
    {
        QSaveFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[value0]\nhigh=90\n");
        ASSERT_TRUE(out.commit());
    }
    WindowDriver window;
    window.pasteLines({testframes::lineWithTime(60), testframes::lineWithTime(120)});
    window.find<QAction>(QStringLiteral("MnuRecords"))->trigger();
    auto* view = window.form().findChild<QTableView*>(QStringLiteral("RecordsView"));
    QFile::remove(file);
    ASSERT_NE(view, nullptr);
    const QAbstractItemModel& model = *view->model();
    const auto colour = [&](int row, int column) {
        return model.index(row, column).data(Qt::ForegroundRole);
    };
    EXPECT_FALSE(colour(0, RecordsModel::kTimeColumn).isValid());
    EXPECT_EQ(colour(1, RecordsModel::kTimeColumn).value<QColor>(),
              pelorin::WarningRed(QGuiApplication::palette().color(QPalette::Base)));
    EXPECT_FALSE(colour(1, RecordsModel::kReceptionColumn + 1).isValid());
}

}  // namespace
