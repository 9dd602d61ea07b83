// The record view: value boxes, faces and the position label as the selector moves.
#include <QTest>

#include "window_driver.h"

namespace {

const QColor kYellow(255, 255, 0);

// Points inside the four side faces, clear of their names: +X, +Y, -X, -Y.
const QPoint kSideFaces[] = {{100, 70}, {120, 75}, {150, 165}, {100, 125}};
const QPoint kTopAndBottom[] = {{80, 20}, {80, 180}};

struct StatusCase {
    int statusByte;
    const char* bits;
    bool faces[4];  // +X, +Y, -X, -Y
};

TEST(RecordView, StatusByteSetsTheFlagsAndTheSideFaces) {
    const StatusCase cases[] = {
        {255, "11111", {true, true, true, true}},     {1, "00001", {false, false, false, false}},
        {224, "00000", {false, false, false, false}}, {8, "01000", {false, true, false, false}},
        {22, "10110", {true, false, true, true}},
    };
    WindowDriver window;
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.statusByte);
        window.paste(LineWithStatus(c.statusByte));
        EXPECT_TRUE(window.box(29)->text().startsWith(QString::fromLatin1(c.bits) + "  (X+ "));
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(window.pixel(kSideFaces[f].x(), kSideFaces[f].y()),
                      c.faces[f] ? kYellow : QColor(Qt::black))
                << "face " << f;
        }
        for (const QPoint& p : kTopAndBottom) {
            EXPECT_EQ(window.pixel(p.x(), p.y()), QColor(Qt::black));
        }
    }
}

TEST(RecordView, UnwrittenRecordShowsZeros) {
    WindowDriver window;
    window.paste("no telemetry in this text");
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("0 => 0d 00:00:00"));
    for (int i = 1; i <= 28; ++i) {
        EXPECT_EQ(window.box(i)->text(), QStringLiteral("0.000")) << i;
    }
    EXPECT_EQ(window.box(29)->text(), QStringLiteral("00000  (X+ off, Y+ off, X- off, Y- off)"));
    for (int i = 30; i <= 34; ++i) {
        EXPECT_EQ(window.box(i)->text(), QStringLiteral("0")) << i;
    }
    for (const QPoint& p : kSideFaces) {
        EXPECT_EQ(window.pixel(p.x(), p.y()), QColor(Qt::black));
    }
}

TEST(RecordView, ShowsTheDecodedValuesOfTheExampleLine) {
    WindowDriver window;
    window.paste(testframes::line());
    const std::pair<int, const char*> expected[] = {
        {0, "123456 => 1d 10:17:36"},
        {1, "4.995"},
        {3, "5.003"},
        {9, "4.286"},
        {16, "0.129"},
        {20, "3.025"},
        {25, "-0.436"},
        {27, "0.000"},
        {29, "10110  (X+ on, Y+ off, X- on, Y- on)"},
        {30, "300"},
        {31, "32768"},
        {32, "1"},
        {33, "2"},
        {34, "3"},
    };
    for (const auto& [index, text] : expected) {
        EXPECT_EQ(window.box(index)->text(), QString::fromLatin1(text)) << index;
    }
}

TEST(RecordView, SelectorShowsTheChosenRecordAndItsPosition) {
    WindowDriver window;
    window.pasteLines(
        {testframes::lineWithTime(10), testframes::lineWithTime(20), testframes::lineWithTime(30)});
    window.selector()->setValue(3);
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("3/3"));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("30 => 0d 00:00:30"));

    // A click on the selector's left arrow steps back one record.
    QTest::mouseClick(window.selector(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(4, window.selector()->height() / 2));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("2/3"));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("20 => 0d 00:00:20"));
}

TEST(RecordView, LoweredMaximumPullsTheSelectorBackAndShowsThatRecord) {
    WindowDriver window;
    window.pasteLines({testframes::lineWithTime(10), testframes::lineWithTime(20)});
    window.selector()->setValue(2);
    window.paste(testframes::lineWithTime(70));
    EXPECT_EQ(window.selector()->value(), 1);
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("1/1"));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("70 => 0d 00:01:10"));
}

}  // namespace
