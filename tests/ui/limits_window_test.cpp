// The user's limits file in the window: red text in the value boxes, red bars, the count in the
// paste report, changes picked up while the window runs, bad lines reported in Label3.
#include <qcustomplot.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTest>

#include "ReadableColors.h"
#include "chart/ChartColors.h"
#include "chart/ChartScene.h"
#include "chart/TrendBars.h"
#include "window_driver.h"

namespace {

const QString kSamplePass = QStringLiteral(PELORIN_SAMPLES_DIR "/pass.txt");
// The sample pass runs at about 8.1 V in the sun and 7.6 V in the earth's shadow (records 22 to
// 54 and 114 to 146).
const QByteArray kShadowOut = "; bus voltage\n[value19]\nlow=7.7\nhigh=8.15\n";
const QByteArray kSunOut = "[value19]\nhigh=8.11\n";
constexpr int kShadowRecord = 30;  // 7.599 V
constexpr int kSunRecord = 57;     // 8.119 V
constexpr int kShadowRecords = 66;

class WindowLimits : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("pelorin"));
        ASSERT_TRUE(QDir().mkpath(folder_));
    }
    void TearDown() override { QFile::remove(file()); }

    QString file() const { return QDir(folder_).filePath(QStringLiteral("limits.ini")); }
    // Written as an editor saves: a new file renamed over the old one.
    void write(const QByteArray& text) const {
        QSaveFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
        ASSERT_TRUE(out.commit());
    }

    static QColor textColour(const WindowDriver& window, int index) {
        return window.box(index)->palette().color(QPalette::Text);
    }
    static QColor red(const WindowDriver& window, int index) {
        return pelorin::WarningRed(window.box(index)->palette().color(QPalette::Base));
    }
    static QLabel* report(const WindowDriver& window) { return window.label("ReportOutOfLimits"); }
    static bool barFlagged(const WindowDriver& window, int record) {
        const auto& flagged = window.chart()->scene().bars()->flagged();
        return static_cast<std::size_t>(record) <= flagged.size() && flagged[record - 1] != 0;
    }

    QString folder_;
};

TEST_F(WindowLimits, ColourTheBoxTextTheBarsAndTheReport) {
    write(kShadowOut);
    WindowDriver window;
    ASSERT_TRUE(LoadAndWait(window.form(), kSamplePass));
    window.selector()->setValue(kShadowRecord);
    WindowDriver::Settle();
    window.chart()->updateNow();

    EXPECT_EQ(textColour(window, 19), red(window, 19));
    EXPECT_NE(textColour(window, 19), textColour(window, 18));
    EXPECT_TRUE(report(window)->isVisible());
    EXPECT_EQ(report(window)->text(), QStringLiteral("66 records out of limits"));
    EXPECT_TRUE(report(window)->toolTip().startsWith(
        QStringLiteral("Records with a value outside its limits: 22, 23, 24,")));
    int flagged = 0;
    for (int rec = 1; rec <= 150; ++rec) {
        flagged += barFlagged(window, rec) ? 1 : 0;
    }
    EXPECT_EQ(flagged, kShadowRecords);
    EXPECT_TRUE(barFlagged(window, kShadowRecord));
    const QImage image = window.chart()->plot()->toPixmap().toImage();
    const QPoint bar = window.chart()->barCenter(kShadowRecord);
    const QCPAxis* values = window.chart()->plot()->yAxis;
    const int inside = static_cast<int>(
        (values->coordToPixel(values->range().lower) + values->coordToPixel(7.599)) / 2);
    EXPECT_EQ(image.pixelColor(bar.x(), inside),
              window.chart()->scene().bars()->flaggedBrush().color());

    window.selector()->setValue(kSunRecord);
    EXPECT_NE(textColour(window, 19), red(window, 19));
    EXPECT_TRUE(window.chart()->barToolTip(kShadowRecord).endsWith(" V (out of limits)"));
}

TEST_F(WindowLimits, ChangesToTheFileArePickedUpWhileRunning) {
    WindowDriver window;
    ASSERT_TRUE(LoadAndWait(window.form(), kSamplePass));
    window.selector()->setValue(kSunRecord);
    EXPECT_FALSE(report(window)->isVisible());  // no limits file: no count
    EXPECT_NE(textColour(window, 19), red(window, 19));

    write(kSunOut);  // created
    ASSERT_TRUE(QTest::qWaitFor([&] { return textColour(window, 19) == red(window, 19); }));
    EXPECT_TRUE(report(window)->isVisible());
    window.chart()->updateNow();
    EXPECT_TRUE(barFlagged(window, kSunRecord));

    write("[value19]\nlow=abc\nhigh=9\n");  // replaced, with a bad line
    const QString bad = file() + QStringLiteral(":2: ");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.label("Label3")->text().startsWith(bad); }));
    EXPECT_NE(textColour(window, 19), red(window, 19));  // the good entry, high=9, applies

    ASSERT_TRUE(QFile::remove(file()));  // removed: no limits, no message
    ASSERT_TRUE(QTest::qWaitFor([&] { return !report(window)->isVisible(); }));
    EXPECT_EQ(window.label("Label3")->text(), QString());
}

}  // namespace
