// Decoding on every change of the paste box: what the window shows afterwards.
#include <QTest>
#include <QTextCursor>

#include "window_driver.h"

namespace {

std::vector<std::string> TelemetryLines(int count) {
    std::vector<std::string> lines;
    for (int k = 1; k <= count; ++k) {
        lines.push_back(testframes::lineWithTime(static_cast<unsigned>(k)));
    }
    return lines;
}

int SelectedOptions(const WindowDriver& window) {
    int n = 0;
    for (int i = 0; i < 35; ++i) {
        n += window.option(i)->isChecked() ? 1 : 0;
    }
    return n;
}

TEST(DecodeWorkflow, TwoLinesAtStart) {
    WindowDriver window;
    window.pasteLines({"a beacon line", testframes::lineWithTime(11), "another packet",
                       testframes::lineWithTime(22)});
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("122"));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 2"));
    EXPECT_TRUE(window.selector()->isEnabled());
    EXPECT_EQ(window.selector()->maximum(), 2);
    EXPECT_TRUE(window.option(19)->isChecked());
    EXPECT_EQ(SelectedOptions(window), 1);
    EXPECT_EQ(window.boxBackground(19), QColor(255, 255, 192));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("11 => 0d 00:00:11"));
    EXPECT_EQ(window.chart()->rowCount(), 2);
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Bus Voltage   [ V ]"));
    EXPECT_DOUBLE_EQ(window.chart()->data(1), 2.9871323529411766);
}

TEST(DecodeWorkflow, TextWithoutTelemetryKeepsTheLastChartAndLength) {
    WindowDriver window;
    window.paste("hello");
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("Text3"));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 0"));
    EXPECT_FALSE(window.chart()->hasDrawing());
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Graph"));

    window.pasteLines(TelemetryLines(5));
    window.selector()->setValue(4);
    window.paste("still no telemetry");
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("122"));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("1/1"));  // pulled back to 1
    // The selector keeps its lower bound of 1, so no position 0 reaches the view.
    EXPECT_EQ(window.selector()->maximum(), 1);
    EXPECT_EQ(window.selector()->value(), 1);
    // Record 1 of the earlier decode is still in the table.
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("1 => 0d 00:00:01"));
    EXPECT_EQ(window.chart()->rowCount(), 5);
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Bus Voltage   [ V ]"));
}

TEST(DecodeWorkflow, DeletingEverythingRunsWithZeroRecords) {
    WindowDriver window;
    window.pasteLines(TelemetryLines(3));
    window.pasteBox()->selectAll();
    QTest::keyClick(window.pasteBox(), Qt::Key_Delete);
    WindowDriver::Settle();
    EXPECT_TRUE(window.pasteBox()->toPlainText().isEmpty());
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 0"));
    EXPECT_TRUE(window.selector()->isEnabled());
    EXPECT_EQ(window.chart()->rowCount(), 3);
}

TEST(DecodeWorkflow, OneMoreCharacterAtTheEndDropsThatLine) {
    WindowDriver window;
    window.pasteLines(TelemetryLines(2));
    window.pasteBox()->moveCursor(QTextCursor::End);
    QTest::keyClick(window.pasteBox(), Qt::Key_A);
    WindowDriver::Settle();
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 1"));
    EXPECT_EQ(window.selector()->maximum(), 1);
    EXPECT_EQ(window.chart()->rowCount(), 1);
    QTest::keyClick(window.pasteBox(), Qt::Key_Backspace);
    WindowDriver::Settle();
    EXPECT_EQ(window.chart()->rowCount(), 2);
}

TEST(DecodeWorkflow, DecodeChoosesBusVoltageAgainAfterTheUserChoseAnother) {
    WindowDriver window;
    window.pasteLines(TelemetryLines(2));
    window.option(5)->click();
    EXPECT_EQ(window.boxBackground(19), window.boxBackground(1));
    window.pasteBox()->moveCursor(QTextCursor::End);
    QTest::keyClick(window.pasteBox(), Qt::Key_Space);
    WindowDriver::Settle();
    EXPECT_TRUE(window.option(19)->isChecked());
    EXPECT_FALSE(window.option(5)->isChecked());
    EXPECT_EQ(window.boxBackground(19), QColor(255, 255, 192));
    EXPECT_EQ(window.boxBackground(5), window.boxBackground(1));
}

TEST(DecodeWorkflow, MoreThanOneThousandLinesAreReportedAndTheMessageGoesAway) {
    WindowDriver window;
    window.pasteLines(TelemetryLines(1003));
    EXPECT_EQ(window.selector()->maximum(), 1000);
    EXPECT_EQ(window.chart()->rowCount(), 1000);
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 1000"));
    const QString message = window.label("Label3")->text();
    EXPECT_TRUE(message.startsWith(QStringLiteral("3 telemetry lines were not decoded")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("1000")));
    EXPECT_EQ(window.label("ReportDecoded")->text(),
              QStringLiteral("1000 of 1003 telemetry lines decoded"));
    window.selector()->setValue(1000);
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("1000 => 0d 00:16:40"));

    window.pasteLines(TelemetryLines(5));
    EXPECT_TRUE(window.label("Label3")->text().isEmpty());
}

}  // namespace
