// Under a dark desktop palette every text stays readable, the chart and the picture's backdrop
// take the palette's colours, and the colours the window fixes keep their values.
#include <qcustomplot.h>
#include <QStatusBar>

#include "CaptionFrame.h"
#include "ReadableColors.h"
#include "dark_palette.h"
#include "window_driver.h"

namespace {

using pelorin::ContrastRatio;
using pelorin::kReadableContrast;

TEST(ReadableColors, ContrastRatioByLuminance) {
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01);
    EXPECT_NEAR(ContrastRatio(QColor(176, 0, 0), QColor(53, 53, 53)), 1.66, 0.01);
}

// The text role of every control of kind T against its background role.
template <typename T>
void ExpectReadable(WindowDriver& window, QPalette::ColorRole text, QPalette::ColorRole back) {
    for (const T* control : window.form().findChildren<T*>()) {
        const QPalette& p = control->palette();
        EXPECT_GE(ContrastRatio(p.color(text), p.color(back)), kReadableContrast)
            << control->objectName().toStdString();
    }
}

void ExpectReadableWithFixedColours(WindowDriver& window) {
    ExpectReadable<QLabel>(window, QPalette::WindowText, QPalette::Window);
    ExpectReadable<QRadioButton>(window, QPalette::WindowText, QPalette::Window);
    ExpectReadable<QLineEdit>(window, QPalette::Text, QPalette::Base);
    ExpectReadable<QPlainTextEdit>(window, QPalette::Text, QPalette::Base);
    // The frames' fixed grey captions stay as readable as bold captions need.
    EXPECT_GE(ContrastRatio(pelorin::CaptionFrame::kCaptionColor,
                            window.frame(1)->palette().color(QPalette::Window)),
              3.0);
    for (int i = 1; i < pelorin::kShownValues; ++i) {
        EXPECT_EQ(window.box(i)->palette().color(QPalette::Text), QColor(Qt::black)) << i;
    }
    EXPECT_EQ(window.boxBackground(19), QColor(255, 255, 192));  // charted after a decode
    // The example line's faces: +X on, yellow with black outline; +Y off, black with white.
    EXPECT_EQ(window.pixel(100, 70), QColor(255, 255, 0));
    EXPECT_EQ(window.pixel(60, 50), QColor(Qt::black));
    EXPECT_EQ(window.pixel(120, 75), QColor(Qt::black));
    EXPECT_EQ(window.pixel(160, 50), QColor(Qt::white));
}

void ExpectChartAndPictureFollow(WindowDriver& window, const QPalette& palette) {
    QCustomPlot* plot = window.chart()->plot();
    const QColor background = plot->toPixmap().toImage().pixelColor(2, 2);
    EXPECT_EQ(background, palette.color(QPalette::Base));
    for (const QCPAxis* axis : {plot->xAxis, plot->yAxis}) {
        EXPECT_GE(ContrastRatio(axis->tickLabelColor(), background), kReadableContrast);
        EXPECT_GE(ContrastRatio(axis->basePen().color(), background), kReadableContrast);
    }
    EXPECT_GT(ContrastRatio(plot->yAxis->grid()->pen().color(), background), 1.2);
    const QImage shown = window.picture()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(window.picture()->contentsRect().topLeft() + QPoint(5, 100)),
              palette.color(QPalette::Window));
}

class DarkTheme : public ::testing::Test {
  protected:
    ~DarkTheme() override { QApplication::setPalette(light_); }
    static void Use(const QPalette& palette) {
        QApplication::setPalette(palette);
        WindowDriver::Settle();
    }
    // A decoded line and a rejected one, so that the report shows its red count.
    static void Decode(WindowDriver& window) {
        window.pasteLines({testframes::line(), testframes::line() + "0"});
    }
    static QColor Rejected(WindowDriver& window) {
        return window.label("ReportRejected")->palette().color(QPalette::WindowText);
    }

    const QPalette light_ = QApplication::palette();
};

TEST_F(DarkTheme, SwitchingAtRunTimeAndBack) {
    WindowDriver window;
    Decode(window);
    const QColor lightBox = window.boxBackground(1);
    EXPECT_EQ(Rejected(window), QColor(176, 0, 0));

    Use(DarkPalette());
    ExpectReadableWithFixedColours(window);
    ExpectChartAndPictureFollow(window, DarkPalette());
    EXPECT_GT(Rejected(window).red(), Rejected(window).green() + 64) << "still red";
    EXPECT_GE(ContrastRatio(Rejected(window),
                            window.form().statusBar()->palette().color(QPalette::Window)),
              kReadableContrast);
    window.option(5)->click();  // the highlight moves on as before
    EXPECT_EQ(window.boxBackground(5), QColor(255, 255, 192));
    EXPECT_EQ(window.boxBackground(19), window.boxBackground(1));

    Use(light_);
    EXPECT_EQ(window.boxBackground(1), lightBox);
    EXPECT_EQ(Rejected(window), QColor(176, 0, 0));
    ExpectChartAndPictureFollow(window, light_);
}

TEST_F(DarkTheme, AWindowOpenedUnderADarkPalette) {
    Use(DarkPalette());
    WindowDriver window;
    ExpectChartAndPictureFollow(window, DarkPalette());
    Decode(window);
    ExpectReadableWithFixedColours(window);
}

}  // namespace
