// The main window's controls: names, arrays, captions, geometry, fonts, menus, focus order and
// the state at start.
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "CaptionFrame.h"
#include "window_driver.h"

namespace {

struct ArrayCaptions {
    int index;
    const char* option;
    const char* unit;
    int container;  // frame number of the value box
};

// Captions as the window must show them, trailing blanks included.
const ArrayCaptions kCaptions[] = {
    {0, "5 Volts ", "V", 6},      {1, "5 Volts ", "V", 1},     {6, "3.3 Volts ", "V", 2},
    {11, "Temperature ", "C", 3}, {16, "Current ", "A", 4},    {17, "Bus Voltage ", "V", 1},
    {22, "Bus Current ", "A", 2}, {28, "Charge Curr", "A", 4}, {29, "Status", "", 5},
    {30, "on", "min", 6},         {31, "off", "min", 6},       {32, "Single Errors", "", 7},
    {33, "All Errors", "", 7},    {34, "All Errors 2", "", 7},
};

TEST(MainWindowLayout, ControlArraysHaveExactly35ElementsWithTheirCaptions) {
    WindowDriver window;
    for (int i = 0; i < 35; ++i) {
        ASSERT_NE(window.box(i), nullptr);
        ASSERT_NE(window.option(i), nullptr);
        ASSERT_NE(window.unit(i), nullptr);
    }
    auto& form = window.form();
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("Text1_35")), nullptr);
    EXPECT_EQ(form.findChild<QRadioButton*>(QStringLiteral("Option1_35")), nullptr);
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label1_35")), nullptr);
    EXPECT_NE(form.findChild<QLabel*>(QStringLiteral("Label5_0")), nullptr);

    for (const ArrayCaptions& c : kCaptions) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(window.option(c.index)->text(), QString::fromLatin1(c.option));
        EXPECT_EQ(window.unit(c.index)->text(), QString::fromLatin1(c.unit));
        EXPECT_EQ(window.box(c.index)->parentWidget(), window.frame(c.container));
    }
    // The statistics rows repeat in every frame: minimum, maximum, average, actual.
    for (int i = 1; i <= 28; ++i) {
        EXPECT_EQ(window.box(i)->parentWidget(), window.frame((i - 1) % 4 + 1)) << i;
        EXPECT_EQ(window.option(i)->text(), window.option((i - 1) / 4 * 4 + 1)->text()) << i;
    }
}

TEST(MainWindowLayout, FramesHaveTheirCaptionsInBoldGrey) {
    WindowDriver window;
    const char* captions[] = {"Minimum Values",
                              "Maximum Values",
                              "Avarage Values",
                              "Actual Values",
                              "Solar Array Status",
                              "",
                              "Safe Mode Processor Errors",
                              "Graph"};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(window.frame(n)->title(), QString::fromLatin1(captions[n - 1])) << n;
        EXPECT_TRUE(window.frame(n)->font().bold()) << n;
    }
    // The caption is painted grey while the controls inside keep black text.
    const QImage caption = window.frame(1)->grab(QRect(0, 0, 120, 14)).toImage();
    int grey = 0;
    for (int y = 0; y < caption.height(); ++y) {
        for (int x = 0; x < caption.width(); ++x) {
            grey += caption.pixelColor(x, y) == pelorin::CaptionFrame::kCaptionColor ? 1 : 0;
        }
    }
    EXPECT_GT(grey, 20);
    EXPECT_EQ(window.option(1)->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(window.box(1)->palette().color(QPalette::Text), QColor(Qt::black));
}

struct Placement {
    const char* name;
    int container;  // 0: the value block
    QRect pixels;   // twips / 15, on the block from 132 pixels down the designed window
};

TEST(MainWindowLayout, ValueBlockKeepsItsDesignedGeometry) {
    WindowDriver window;
    const Placement placements[] = {
        {"Frame1", 0, {8, 52, 185, 145}},     {"Frame4", 0, {392, 204, 185, 145}},
        {"Frame6", 0, {8, 4, 761, 41}},       {"Picture1", 0, {560, 68, 217, 209}},
        {"Text3", 0, {840, 300, 209, 25}},    {"Option1_0", 0, {856, 276, 105, 13}},
        {"Label1_0", 0, {976, 276, 25, 17}},  {"Text1_0", 6, {120, 16, 217, 19}},
        {"Option1_10", 2, {8, 56, 89, 13}},   {"Text1_27", 3, {96, 120, 49, 19}},
        {"Label1_24", 4, {152, 104, 25, 17}}, {"Option1_5", 1, {8, 40, 73, 13}},
        {"Text1_29", 5, {96, 24, 249, 19}},   {"Label1_29", 5, {328, 40, 25, 17}},
        {"Option1_34", 7, {200, 40, 81, 13}}, {"Text1_31", 6, {672, 16, 49, 19}},
        {"Label5_0", 6, {8, 16, 73, 17}},     {"Label6", 6, {408, 16, 89, 17}},
    };
    auto* block = window.find<QWidget>(QStringLiteral("ValueBlock"));
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        auto* widget = window.find<QWidget>(QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), p.pixels);
        EXPECT_EQ(widget->parentWidget(), p.container == 0 ? block : window.frame(p.container));
    }
    EXPECT_EQ(block->size(), QSize(778, 353));
    // The paste box stands beside the block, the chart in its frame under both.
    EXPECT_GT(window.pasteBox()->mapTo(&window.form(), QPoint()).x(),
              block->mapTo(&window.form(), QPoint()).x() + block->width() - 1);
    EXPECT_GE(window.frame(8)->mapTo(&window.form(), QPoint()).y(),
              block->mapTo(&window.form(), QPoint()).y() + block->height());
    EXPECT_TRUE(window.frame(8)->rect().contains(window.chart()->geometry()));
}

TEST(MainWindowLayout, FontsAskForTheDesignedFamiliesWithFallbacks) {
    WindowDriver window;
    const QFont paste = window.pasteBox()->font();
    EXPECT_EQ(paste.family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(paste.pointSizeF(), 8.25);
    EXPECT_TRUE(QFontInfo(paste).fixedPitch());
    const QFont value = window.box(1)->font();
    EXPECT_EQ(value.family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(value.styleHint(), QFont::SansSerif);
    EXPECT_DOUBLE_EQ(value.pointSizeF(), 8.25);
    EXPECT_FALSE(value.bold());
    EXPECT_TRUE(window.box(0)->font().bold());
    EXPECT_TRUE(window.picture()->font().bold());
    EXPECT_DOUBLE_EQ(window.picture()->font().pointSizeF(), 9.75);
    EXPECT_EQ(window.pasteBox()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(MainWindowLayout, StartsEmptyWithNothingSelected) {
    WindowDriver window;
    for (int i = 0; i < 35; ++i) {
        EXPECT_TRUE(window.box(i)->text().isEmpty()) << i;
        EXPECT_FALSE(window.option(i)->isChecked()) << i;
        EXPECT_FALSE(window.option(i)->autoExclusive()) << i;
    }
    EXPECT_TRUE(window.pasteBox()->toPlainText().isEmpty());
    EXPECT_TRUE(window.label("Label2")->text().isEmpty());
    EXPECT_TRUE(window.label("Label3")->text().isEmpty());
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("Text3"));
    EXPECT_EQ(window.frame(8)->title(), QStringLiteral("Graph"));
    EXPECT_FALSE(window.chart()->hasDrawing());
    EXPECT_EQ(window.selector()->minimum(), 1);
    EXPECT_EQ(window.selector()->maximum(), 1);
    EXPECT_EQ(window.selector()->value(), 1);
    EXPECT_TRUE(
        window.form().windowTitle().startsWith(QStringLiteral("Pelorin Telemetry Decoder [")));
    EXPECT_FALSE(window.form().windowIcon().isNull());
}

TEST(MainWindowLayout, MenusInTheirOrder) {
    WindowDriver window;
    QStringList bar;
    for (QAction* action : window.form().menuBar()->actions()) {
        bar << action->text().remove(QLatin1Char('&'));  // the access keys' marks
    }
    EXPECT_EQ(bar, (QStringList{"File", "TLM File", "Info"}));
    auto items = [&](const char* name) {
        QStringList texts;
        for (QAction* action : window.find<QAction>(QString::fromLatin1(name))->menu()->actions()) {
            texts << action->text().remove(QLatin1Char('&'));
        }
        return texts;
    };
    EXPECT_EQ(items("MnuFile"),
              (QStringList{"Open...", "Open Recent", "Follow Log...", "Stop Following",
                           "Keep Followed Frames in Archive", "Add to Archive", "Station Name...",
                           "Out-of-Limits Alerts", "Records Table", "History...", "Exit"}));
    EXPECT_EQ(items("MnuTLMFile"), (QStringList{"Write CSV File", "Write CSV File As..."}));
    EXPECT_EQ(window.find<QAction>(QStringLiteral("MnuInfo"))->menu(), nullptr);
    EXPECT_NE(window.find<QAction>(QStringLiteral("MnuExit")), nullptr);
    EXPECT_NE(window.find<QAction>(QStringLiteral("WriteCSVFile")), nullptr);
}

TEST(MainWindowLayout, FocusStartsInTheTimeBoxAndFollowsTheDesignedOrder) {
    WindowDriver window;
    EXPECT_EQ(window.form().focusWidget(), window.box(0));

    QStringList expected = {"Text1_0", "MSChart1", "HScroll1", "Text2"};
    for (int frame = 1; frame <= 4; ++frame) {
        for (int i = frame; i <= 28; i += 4) {
            expected << WindowDriver::indexed("Option1", i) << WindowDriver::indexed("Text1", i);
        }
    }
    for (int i : {30, 31, 32, 33, 34, 29}) {
        expected << WindowDriver::indexed("Option1", i) << WindowDriver::indexed("Text1", i);
    }
    expected << "Picture1";

    QStringList chain;
    QWidget* widget = window.box(0);
    do {
        if (expected.contains(widget->objectName()) && !chain.contains(widget->objectName())) {
            chain << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != window.box(0));
    EXPECT_EQ(chain, expected);
}

}  // namespace
