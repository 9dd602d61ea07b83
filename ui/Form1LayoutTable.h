#pragma once
// The main window's controls as data: the frames, the value controls by value index, the
// controls that exist once, the menus and the focus order. Places are in twips on the designed
// window. Read by Form1Layout alone.
#include <QKeyCombination>
#include <array>
#include <span>
#include <string_view>

#include "Form1Layout.h"
#include "Twips.h"
#include "pelorin/value_info.h"

namespace pelorin::form1_table {

struct FrameLayout {
    std::string_view caption;  // empty: no caption band text
    TwipsRect rect;            // on the window
};

// Frame1..Frame8, element 0 is Frame1.
constexpr std::array<FrameLayout, kFrameCount> kFrameLayouts = {{
    {"Minimum Values", {120, 2760, 2775, 2175}},
    {"Maximum Values", {3000, 2760, 2775, 2175}},
    {"Avarage Values", {5880, 2760, 2775, 2175}},
    {"Actual Values", {5880, 5040, 2775, 2175}},
    {"Solar Array Status", {120, 6240, 5655, 975}},
    {"", {120, 2040, 11415, 615}},
    {"Safe Mode Processor Errors", {120, 5040, 5655, 1095}},
    {"Graph", {120, 7320, 11415, 4095}},
}};

// Option1(i), Text1(i) and Label1(i) of one value index: containers and places.
struct ValueControlLayout {
    int optionContainer;
    int boxContainer;
    int unitContainer;
    TwipsRect option;
    TwipsRect box;
    TwipsRect unit;
};

constexpr int kOptionHeight = 195;
constexpr int kBoxHeight = 285;
constexpr int kUnitWidth = 375;
constexpr int kUnitHeight = 255;

constexpr TwipsRect Option(int left, int top, int width) {
    return {left, top, width, kOptionHeight};
}
constexpr TwipsRect Box(int left, int top, int width) {
    return {left, top, width, kBoxHeight};
}
constexpr TwipsRect Unit(int left, int top) {
    return {left, top, kUnitWidth, kUnitHeight};
}

// The values outside the statistics frames whose controls share one frame.
struct FramedValue {
    int index;
    int frame;
    TwipsRect option;
    TwipsRect box;
    TwipsRect unit;
};

constexpr std::array<FramedValue, 6> kFramedValues = {{
    {29, kSolarArrayFrame, Option(120, 360, 1215), Box(1440, 360, 3735), Unit(4920, 600)},
    {30, kTimeAndModeFrame, Option(7440, 240, 495), Box(8040, 240, 735), Unit(8880, 240)},
    {31, kTimeAndModeFrame, Option(9480, 240, 495), Box(10080, 240, 735), Unit(10920, 240)},
    {32, kErrorCounterFrame, Option(120, 360, 1215), Box(1440, 360, 735), Unit(2280, 360)},
    {33, kErrorCounterFrame, Option(3000, 360, 1215), Box(4320, 360, 735), Unit(5160, 360)},
    {34, kErrorCounterFrame, Option(3000, 600, 1215), Box(4320, 600, 735), Unit(5160, 600)},
}};

// The statistics: quantity k stands in row k of Frame1..Frame4.
constexpr int kRowTop = 360;
constexpr int kRowPitch = 240;
constexpr int kStatOptionLeft = 120;
constexpr int kStatBoxLeft = 1440;
constexpr int kStatBoxWidth = 735;
constexpr int kStatUnitLeft = 2280;
// Width of the option buttons by frame (Frame1..Frame4) and row.
constexpr std::array<std::array<int, kQuantityCount>, kStatisticsCount> kOptionWidths = {{
    {1095, 1095, 1215, 1215, 1215, 1215, 1215},
    {975, 1215, 1335, 1575, 1575, 1575, 1575},
    {1575, 1575, 1575, 1575, 1575, 1575, 1575},
    {1575, 1575, 1575, 1575, 1575, 1575, 1575},
}};

constexpr ValueControlLayout StatisticControls(int index) {
    const int statistic = (index - kFirstQuantityValue) % kStatisticsCount;
    const int row = (index - kFirstQuantityValue) / kStatisticsCount;
    const int top = kRowTop + kRowPitch * row;
    const int frame = kMinimumFrame + statistic;
    return {frame,
            frame,
            frame,
            Option(kStatOptionLeft, top, kOptionWidths[statistic][row]),
            Box(kStatBoxLeft, top, kStatBoxWidth),
            Unit(kStatUnitLeft, top)};
}

constexpr std::array<ValueControlLayout, kShownValues> MakeValueControls() {
    std::array<ValueControlLayout, kShownValues> controls{};
    // Option1(0) and Label1(0) lie on the window beyond its right edge: only their captions
    // are used.
    controls[0] = {kWindowContainer,          kTimeAndModeFrame,    kWindowContainer,
                   Option(12840, 6120, 1575), Box(1800, 240, 3255), Unit(14640, 6120)};
    for (int i = kFirstQuantityValue; i < kFirstQuantityValue + kQuantityCount * kStatisticsCount;
         ++i) {
        controls[i] = StatisticControls(i);
    }
    for (const FramedValue& value : kFramedValues) {
        controls[value.index] = {value.frame,  value.frame, value.frame,
                                 value.option, value.box,   value.unit};
    }
    return controls;
}

constexpr std::array<ValueControlLayout, kShownValues> kValueControls = MakeValueControls();

// The controls that exist once, in the order they are built.
struct ControlLayout {
    std::string_view name;
    int container;
    TwipsRect rect;
};

constexpr std::array<ControlLayout, 9> kSingleControls = {{
    {"Text2", kWindowContainer, {120, 0, 11415, 1935}},
    {"Label5_0", kTimeAndModeFrame, {120, 240, 1095, 255}},
    {"Label6", kTimeAndModeFrame, {6120, 240, 1335, 255}},
    {"Picture1", kWindowContainer, {8400, 3000, 3255, 3135}},
    {"MSChart1", kGraphFrame, {120, 240, 11175, 3735}},
    {"Label3", kWindowContainer, {120, 11520, 6975, 255}},
    {"Label2", kWindowContainer, {9120, 11520, 975, 255}},
    {"HScroll1", kWindowContainer, {10200, 11520, 1335, 255}},
    {"Text3", kWindowContainer, {12600, 6480, 3135, 375}},
}};

// The menus of the menu bar and their commands; "&" marks the access key (Alt+letter).
struct MenuCommand {
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
    QAction* Form1Layout::*action;           // a command, or
    QMenu* Form1Layout::*submenu = nullptr;  // a menu of its own
};

struct MenuLayout {
    const char* name;
    const char* caption;
    std::span<const MenuCommand> commands;
};

constexpr MenuCommand kFileCommands[] = {
    {"MnuOpen", "&Open...", Qt::CTRL | Qt::Key_O, &Form1Layout::MnuOpen},
    {"MnuOpenRecent", "Open &Recent", {}, nullptr, &Form1Layout::MnuOpenRecent},
    {"MnuFollow", "&Follow Log...", Qt::CTRL | Qt::Key_L, &Form1Layout::MnuFollow},
    {"MnuStopFollow", "&Stop Following", {}, &Form1Layout::MnuStopFollow},
    {"MnuKeepFollowed", "&Keep Followed Frames in Archive", {}, &Form1Layout::MnuKeepFollowed},
    {"MnuAddToArchive", "&Add to Archive", Qt::CTRL | Qt::Key_D, &Form1Layout::MnuAddToArchive},
    {"MnuStationName", "Station &Name...", {}, &Form1Layout::MnuStationName},
    {"MnuAlerts", "Out-of-Limits A&lerts", {}, &Form1Layout::MnuAlerts},
    {"MnuRecords", "Records &Table", Qt::CTRL | Qt::Key_T, &Form1Layout::MnuRecords},
    {"MnuHistory", "&History...", Qt::CTRL | Qt::Key_H, &Form1Layout::MnuHistory},
    {"MnuExit", "E&xit", Qt::CTRL | Qt::Key_Q, &Form1Layout::MnuExit},
};
constexpr MenuCommand kTlmFileCommands[] = {
    {"WriteCSVFile", "&Write CSV File", Qt::CTRL | Qt::Key_S, &Form1Layout::WriteCSVFile},
    {"WriteCSVFileAs", "Write CSV File &As...", Qt::CTRL | Qt::SHIFT | Qt::Key_S,
     &Form1Layout::WriteCSVFileAs},
};
// "Info" follows them: a command of its own on the bar, Alt+I.
constexpr MenuLayout kMenus[] = {
    {"MnuFile", "&File", kFileCommands},
    {"MnuTLMFile", "&TLM File", kTlmFileCommands},
};

// After Text1(0), MSChart1, HScroll1 and Text2, the focus visits the option buttons and value
// boxes frame by frame in this order (Text3 and Option1(0), out of sight, are left out).
constexpr std::array<int, 7> kFocusFrameOrder = {
    kMinimumFrame,     kMaximumFrame,      kAverageFrame,   kActualFrame,
    kTimeAndModeFrame, kErrorCounterFrame, kSolarArrayFrame};

}  // namespace pelorin::form1_table
