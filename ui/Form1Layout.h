#pragma once

#include <array>
#include <string_view>

#include "Twips.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// Where the main window's controls stand, what they are called and what their captions say.
// Containers: 0 is the window's client area, 1..8 the frames Frame1..Frame8.
inline constexpr int kWindowContainer = 0;
inline constexpr int kFrameCount = 8;
inline constexpr TwipsRect kClientArea{0, 0, 11670, 11955};

struct FrameLayout {
    std::string_view caption;  // empty: no caption band text
    TwipsRect rect;            // on the window
};

// Frame1..Frame8, element 0 is Frame1.
extern const std::array<FrameLayout, kFrameCount> kFrameLayouts;

// Option1(i), Text1(i) and Label1(i) of one value index.
struct ValueControlLayout {
    int optionContainer;
    int boxContainer;
    int unitContainer;
    std::string_view optionCaption;  // exact, trailing blanks kept
    std::string_view unitCaption;
    TwipsRect option;
    TwipsRect box;
    TwipsRect unit;
};

// Value indices 0..34.
const std::array<ValueControlLayout, kShownValues>& ValueControlLayouts();

// The controls that exist once.
struct ControlLayout {
    std::string_view name;
    int container;
    TwipsRect rect;
};

inline constexpr std::array<ControlLayout, 9> kSingleControls = {{
    {"Text2", kWindowContainer, {120, 0, 11415, 1935}},
    {"Label5_0", 6, {120, 240, 1095, 255}},
    {"Label6", 6, {6120, 240, 1335, 255}},
    {"Picture1", kWindowContainer, {8400, 3000, 3255, 3135}},
    {"MSChart1", 8, {120, 240, 11175, 3735}},
    {"Label3", kWindowContainer, {120, 11520, 6975, 255}},
    {"Label2", kWindowContainer, {9120, 11520, 975, 255}},
    {"HScroll1", kWindowContainer, {10200, 11520, 1335, 255}},
    {"Text3", kWindowContainer, {12600, 6480, 3135, 375}},
}};

// The entry of kSingleControls called `name`; the name must be one of them.
const ControlLayout& SingleControl(std::string_view name);

}  // namespace pelorin
