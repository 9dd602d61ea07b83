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

const QColor kHighlight(255, 255, 192);
constexpr int kCharted = 19;  // charted, so highlighted, after every decode

TEST(ReadableColors, ContrastRatioByLuminance) {
    struct Case {
        QColor a;
        QColor b;
        double ratio;
    };
    const Case cases[] = {{Qt::black, Qt::white, 21.0},
                          {Qt::white, Qt::black, 21.0},
                          {QColor(53, 53, 53), QColor(53, 53, 53), 1.0},
                          {QColor(118, 118, 118), Qt::white, 4.54},
                          {QColor(176, 0, 0), QColor(53, 53, 53), 1.66}};
    for (const Case& c : cases) {
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << c.a.name().toStdString();
    }
}

class DarkTheme : public ::testing::Test {
  protected:
    DarkTheme() : light_(QApplication::palette()) {}
    ~DarkTheme() override { QApplication::setPalette(light_); }

    static void SwitchTo(const QPalette& palette) {
        QApplication::setPalette(palette);
        WindowDriver::Settle();
    }
    // A decoded line and a rejected one, so that the report shows its red count.
    static void Decode(WindowDriver& window) {
        window.pasteLines({testframes::line(), testframes::line() + "0"});
    }
    static QColor RejectedColour(WindowDriver& window) {
        return window.label("ReportRejected")->palette().color(QPalette::WindowText);
    }

    QPalette light_;
};

// Text on its own background, for every kind of control of the window.
void ExpectAllTextReadable(WindowDriver& window) {
    for (const QLabel* label : window.form().findChildren<QLabel*>()) {
        const QPalette& p = label->palette();
        EXPECT_GE(ContrastRatio(p.color(QPalette::WindowText), p.color(QPalette::Window)),
                  kReadableContrast)
            << label->objectName().toStdString();
    }
    for (const QRadioButton* option : window.form().findChildren<QRadioButton*>()) {
        const QPalette& p = option->palette();
        EXPECT_GE(ContrastRatio(p.color(QPalette::WindowText), p.color(QPalette::Window)),
                  kReadableContrast)
            << option->objectName().toStdString();
    }
    for (const QLineEdit* box : window.form().findChildren<QLineEdit*>()) {
        const QPalette& p = box->palette();
        EXPECT_GE(ContrastRatio(p.color(QPalette::Text), p.color(QPalette::Base)),
                  kReadableContrast)
            << box->objectName().toStdString();
    }
    const QPalette& paste = window.pasteBox()->palette();
    EXPECT_GE(ContrastRatio(paste.color(QPalette::Text), paste.color(QPalette::Base)),
              kReadableContrast);
    // The frames' captions keep their fixed grey, as readable as large text needs.
    EXPECT_GE(ContrastRatio(pelorin::CaptionFrame::kCaptionColor,
                            window.frame(1)->palette().color(QPalette::Window)),
              3.0);
}

void ExpectFixedColours(WindowDriver& window) {
    for (int i = 1; i < pelorin::kShownValues; ++i) {
        EXPECT_EQ(window.box(i)->palette().color(QPalette::Text), QColor(Qt::black)) << i;
    }
    EXPECT_EQ(window.boxBackground(kCharted), kHighlight);
    // The example line's flags: +X on, yellow with a black outline; +Y off, black with white.
    EXPECT_EQ(window.pixel(100, 70), QColor(255, 255, 0));
    EXPECT_EQ(window.pixel(60, 50), QColor(Qt::black));
    EXPECT_EQ(window.pixel(120, 75), QColor(Qt::black));
    EXPECT_EQ(window.pixel(160, 50), QColor(Qt::white));
}

// The chart's frame and the picture's backdrop in the palette's colours.
void ExpectChartAndPictureFollow(WindowDriver& window, const QPalette& palette) {
    QCustomPlot* plot = window.chart()->plot();
    const QColor background = plot->toPixmap().toImage().pixelColor(2, 2);
    EXPECT_EQ(background, palette.color(QPalette::Base));
    for (const QCPAxis* axis : {plot->xAxis, plot->yAxis}) {
        EXPECT_GE(ContrastRatio(axis->tickLabelColor(), background), kReadableContrast);
        EXPECT_GE(ContrastRatio(axis->basePen().color(), background), kReadableContrast);
    }
    EXPECT_GT(ContrastRatio(plot->yAxis->grid()->pen().color(), background), 1.2);
    EXPECT_GT(ContrastRatio(plot->yAxis->grid()->zeroLinePen().color(), background), 3.0);

    const QImage shown = window.picture()->grab().toImage();
    const QPoint backdrop = window.picture()->contentsRect().topLeft() + QPoint(5, 100);
    EXPECT_EQ(shown.pixelColor(backdrop), palette.color(QPalette::Window));
}

TEST_F(DarkTheme, SwitchingAtRunTimeKeepsEveryTextReadableAndBack) {
    WindowDriver window;
    Decode(window);
    const QColor lightBox = window.boxBackground(1);
    EXPECT_EQ(RejectedColour(window), QColor(176, 0, 0));

    SwitchTo(DarkPalette());
    ExpectAllTextReadable(window);
    ExpectFixedColours(window);
    ExpectChartAndPictureFollow(window, DarkPalette());
    const QColor rejected = RejectedColour(window);
    EXPECT_GT(rejected.red(), rejected.green() + 64) << "still red";
    EXPECT_GE(ContrastRatio(rejected, window.form().statusBar()->palette().color(QPalette::Window)),
              kReadableContrast);
    // The highlight moves on as before.
    window.option(5)->click();
    EXPECT_EQ(window.boxBackground(5), kHighlight);
    EXPECT_EQ(window.boxBackground(kCharted), window.boxBackground(1));

    SwitchTo(light_);
    ExpectAllTextReadable(window);
    EXPECT_EQ(window.boxBackground(1), lightBox);
    EXPECT_EQ(RejectedColour(window), QColor(176, 0, 0));
    ExpectChartAndPictureFollow(window, light_);
}

TEST_F(DarkTheme, AWindowOpenedUnderADarkPaletteIsReadableFromTheStart) {
    SwitchTo(DarkPalette());
    WindowDriver window;
    ExpectChartAndPictureFollow(window, DarkPalette());
    Decode(window);
    ExpectAllTextReadable(window);
    ExpectFixedColours(window);
}

}  // namespace
