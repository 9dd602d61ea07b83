#include "Form1Layout.h"

#include <algorithm>
#include <cassert>

namespace pelorin {

const std::array<FrameLayout, kFrameCount> kFrameLayouts = {{
    {"Minimum Values", {120, 2760, 2775, 2175}},
    {"Maximum Values", {3000, 2760, 2775, 2175}},
    {"Avarage Values", {5880, 2760, 2775, 2175}},
    {"Actual Values", {5880, 5040, 2775, 2175}},
    {"Solar Array Status", {120, 6240, 5655, 975}},
    {"", {120, 2040, 11415, 615}},
    {"Safe Mode Processor Errors", {120, 5040, 5655, 1095}},
    {"Graph", {120, 7320, 11415, 4095}},
}};

namespace {

// The seven measured quantities, one row each in Frame1..Frame4.
constexpr int kQuantities = 7;
constexpr std::array<std::string_view, kQuantities> kQuantityCaptions = {
    "5 Volts ",     "3.3 Volts ",   "Temperature ", "Current ",
    "Bus Voltage ", "Bus Current ", "Charge Curr"};
constexpr std::array<std::string_view, kQuantities> kQuantityUnits = {"V", "V", "C", "A",
                                                                      "V", "A", "A"};
// Width of the option buttons by frame (Frame1..Frame4) and row.
constexpr std::array<std::array<int, kQuantities>, 4> kOptionWidths = {{
    {1095, 1095, 1215, 1215, 1215, 1215, 1215},
    {975, 1215, 1335, 1575, 1575, 1575, 1575},
    {1575, 1575, 1575, 1575, 1575, 1575, 1575},
    {1575, 1575, 1575, 1575, 1575, 1575, 1575},
}};

constexpr int kRowTop = 360;
constexpr int kRowPitch = 240;
constexpr int kOptionHeight = 195;
constexpr int kBoxHeight = 285;
constexpr int kUnitWidth = 375;
constexpr int kUnitHeight = 255;
constexpr int kStatBoxWidth = 735;

constexpr ValueControlLayout StatisticControls(int index) {
    const int frame = (index - 1) % 4 + 1;
    const int row = (index - 1) / 4;
    const int top = kRowTop + kRowPitch * row;
    return {frame,
            frame,
            frame,
            kQuantityCaptions[row],
            kQuantityUnits[row],
            {120, top, kOptionWidths[frame - 1][row], kOptionHeight},
            {1440, top, kStatBoxWidth, kBoxHeight},
            {2280, top, kUnitWidth, kUnitHeight}};
}

constexpr std::array<ValueControlLayout, kShownValues> MakeValueControls() {
    std::array<ValueControlLayout, kShownValues> controls{};
    // Option1(0) and Label1(0) lie on the window beyond its right edge: only their captions
    // are used.
    controls[0] = {kWindowContainer,
                   6,
                   kWindowContainer,
                   "5 Volts ",
                   "V",
                   {12840, 6120, 1575, kOptionHeight},
                   {1800, 240, 3255, kBoxHeight},
                   {14640, 6120, kUnitWidth, kUnitHeight}};
    for (int i = 1; i <= 28; ++i) {
        controls[i] = StatisticControls(i);
    }
    controls[29] = {5,
                    5,
                    5,
                    "Status",
                    "",
                    {120, 360, 1215, kOptionHeight},
                    {1440, 360, 3735, kBoxHeight},
                    {4920, 600, kUnitWidth, kUnitHeight}};
    controls[30] = {6,
                    6,
                    6,
                    "on",
                    "min",
                    {7440, 240, 495, kOptionHeight},
                    {8040, 240, kStatBoxWidth, kBoxHeight},
                    {8880, 240, kUnitWidth, kUnitHeight}};
    controls[31] = {6,
                    6,
                    6,
                    "off",
                    "min",
                    {9480, 240, 495, kOptionHeight},
                    {10080, 240, kStatBoxWidth, kBoxHeight},
                    {10920, 240, kUnitWidth, kUnitHeight}};
    controls[32] = {7,
                    7,
                    7,
                    "Single Errors",
                    "",
                    {120, 360, 1215, kOptionHeight},
                    {1440, 360, kStatBoxWidth, kBoxHeight},
                    {2280, 360, kUnitWidth, kUnitHeight}};
    controls[33] = {7,
                    7,
                    7,
                    "All Errors",
                    "",
                    {3000, 360, 1215, kOptionHeight},
                    {4320, 360, kStatBoxWidth, kBoxHeight},
                    {5160, 360, kUnitWidth, kUnitHeight}};
    controls[34] = {7,
                    7,
                    7,
                    "All Errors 2",
                    "",
                    {3000, 600, 1215, kOptionHeight},
                    {4320, 600, kStatBoxWidth, kBoxHeight},
                    {5160, 600, kUnitWidth, kUnitHeight}};
    return controls;
}

constexpr std::array<ValueControlLayout, kShownValues> kValueControls = MakeValueControls();

}  // namespace

const std::array<ValueControlLayout, kShownValues>& ValueControlLayouts() {
    return kValueControls;
}

const ControlLayout& SingleControl(std::string_view name) {
    const auto* found = std::find_if(kSingleControls.begin(), kSingleControls.end(),
                                     [name](const ControlLayout& c) { return c.name == name; });
    assert(found != kSingleControls.end());
    return *found;
}

}  // namespace pelorin
