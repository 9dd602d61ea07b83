// What accessibility tools get from the main window's controls.
#include <QAccessible>
#include <QSet>

#include "window_driver.h"

namespace {

QString Said(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(what) : QStringLiteral("(none)");
}

TEST(Accessibility, ValueBoxesAndOptionsSayWhichValueTheyStandFor) {
    WindowDriver window;
    const std::pair<int, const char*> names[] = {
        {19, "average Bus Voltage, volts"}, {9, "minimum Temperature, degrees Celsius"},
        {8, "actual 3.3 Volt rail, volts"}, {26, "maximum Charge Current, amperes"},
        {31, "Nominal mode off, minutes"},  {34, "Safe Mode All Errors 2, count"},
    };
    for (const auto& [index, name] : names) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Said(window.box(index), QAccessible::Name), QString::fromLatin1(name));
        EXPECT_TRUE(QString::fromLatin1(name).startsWith(
            Said(window.option(index), QAccessible::Name) + QStringLiteral(", ")));
    }
    QSet<QString> boxes;
    QSet<QString> options;
    for (int i = 0; i < 35; ++i) {
        boxes.insert(Said(window.box(i), QAccessible::Name));
        options.insert(Said(window.option(i), QAccessible::Name));
    }
    EXPECT_EQ(boxes.size(), 35);  // no two alike, none left empty
    EXPECT_EQ(options.size(), 35);
    EXPECT_FALSE(boxes.contains(QString()));
}

TEST(Accessibility, SelectorChartAndPictureFollowTheRecordAndTheChoice) {
    WindowDriver window;
    EXPECT_EQ(Said(window.selector(), QAccessible::Name),
              QStringLiteral("record selector, no records decoded"));
    window.pasteLines({testframes::line(), LineWithStatus(0x12), testframes::line()});
    window.selector()->setValue(2);
    EXPECT_EQ(Said(window.selector(), QAccessible::Name),
              QStringLiteral("record selector, record 2 of 3"));
    EXPECT_EQ(Said(window.box(5), QAccessible::Description), QStringLiteral("record 2 of 3"));
    EXPECT_EQ(Said(window.picture(), QAccessible::Description),
              QStringLiteral("solar panels: X+ on, Y+ off, X- off, Y- on"));
    EXPECT_EQ(Said(window.chart(), QAccessible::Name),
              QStringLiteral("trend chart, average Bus Voltage, volts"));
    window.option(9)->click();
    EXPECT_EQ(Said(window.chart(), QAccessible::Name),
              QStringLiteral("trend chart, minimum Temperature, degrees Celsius"));
    EXPECT_EQ(Said(window.chart(), QAccessible::Description),
              QStringLiteral("one bar for each of records 1 to 3"));
}

}  // namespace
