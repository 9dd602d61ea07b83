// What accessibility tools get from the main window's controls.
#include <QAccessible>
#include <QSet>

#include "window_driver.h"

namespace {

QString Said(QWidget* widget, QAccessible::Text what = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
}

TEST(Accessibility, ControlsSayWhatTheyShowAndFollowTheRecordAndTheChoice) {
    WindowDriver window;
    const std::pair<int, const char*> names[] = {{19, "average Bus Voltage, volts"},
                                                 {9, "minimum Temperature, degrees Celsius"},
                                                 {26, "maximum Charge Current, amperes"},
                                                 {31, "Nominal mode off, minutes"}};
    for (const auto& [index, name] : names) {
        EXPECT_EQ(Said(window.box(index)), QString::fromLatin1(name));
        EXPECT_TRUE(QString::fromLatin1(name).startsWith(Said(window.option(index)) + ", "));
    }
    QSet<QString> boxes;
    for (int i = 0; i < 35; ++i) {
        boxes << Said(window.box(i)) << Said(window.option(i));
    }
    EXPECT_EQ(boxes.size(), 70);  // none alike, so none left to its caption alone

    EXPECT_EQ(Said(window.selector()), QStringLiteral("record selector, no records decoded"));
    window.pasteLines({testframes::line(), LineWithStatus(0x12), testframes::line()});
    window.selector()->setValue(2);
    EXPECT_EQ(Said(window.selector()), QStringLiteral("record selector, record 2 of 3"));
    EXPECT_EQ(Said(window.box(5), QAccessible::Description), QStringLiteral("record 2 of 3"));
    EXPECT_EQ(Said(window.picture(), QAccessible::Description),
              QStringLiteral("solar panels: X+ on, Y+ off, X- off, Y- on"));
    window.option(9)->click();
    EXPECT_EQ(Said(window.chart()),
              QStringLiteral("trend chart, minimum Temperature, degrees Celsius"));
}

}  // namespace
