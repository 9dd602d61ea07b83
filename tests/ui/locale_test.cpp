// The user's regional decimal separator in the value boxes.
#include <QLocale>

#include "window_driver.h"

namespace {

class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

TEST_F(CommaLocale, ValueBoxesUseTheRegionalSeparator) {
    WindowDriver window;
    window.paste(testframes::line());
    EXPECT_EQ(window.box(1)->text(), QStringLiteral("4,995"));
    EXPECT_EQ(window.box(25)->text(), QStringLiteral("-0,436"));
    EXPECT_EQ(window.box(0)->text(), QStringLiteral("123456 => 1d 10:17:36"));  // no grouping
    EXPECT_EQ(window.box(31)->text(), QStringLiteral("32768"));
    EXPECT_EQ(window.label("Label2")->text(), QStringLiteral("#1 / 1"));
}

}  // namespace
