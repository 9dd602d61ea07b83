#pragma once

#include <array>

#include "pelorin/telemetry_table.h"

class QAction;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QScrollBar;
class QSplitter;
class QWidget;

namespace pelorin {

class FocusFrames;
class OptionButton;
class PasteReport;
class PictureBox;
class ScreenFit;
class TrendChart;

// Containers of the main window's controls: its client area and the frames Frame1..Frame8.
inline constexpr int kWindowContainer = 0;
inline constexpr int kMinimumFrame = 1;  // Frame1..Frame4 hold the statistics in this order:
inline constexpr int kMaximumFrame = 2;  // minimum, maximum, average and actual value
inline constexpr int kAverageFrame = 3;
inline constexpr int kActualFrame = 4;
inline constexpr int kSolarArrayFrame = 5;
inline constexpr int kTimeAndModeFrame = 6;
inline constexpr int kErrorCounterFrame = 7;
inline constexpr int kGraphFrame = 8;
inline constexpr int kFrameCount = 8;

// The record selector's lower bound, and its upper bound before the first decode.
inline constexpr int kFirstRecord = 1;

// The main window's controls under the names its handlers use, each built in its container
// and at its place from the layout table (Qt Designer's multiple-inheritance pattern: the
// window derives from this class and calls setupUi() once).
class Form1Layout {
  public:
    // Builds the client area with every control (resizable, scrolling only where the screen is
    // too small for its smallest size), the menus with their keys and the paste report on `window`;
    // sets the focus order, the focus frames and the accessible names, and gives the time box the
    // focus.
    void setupUi(QMainWindow& window);

    // Frame `number` (1..8).
    QGroupBox* frame(int number) const;

    std::array<QLineEdit*, kShownValues> Text1{};
    std::array<OptionButton*, kShownValues> Option1{};
    std::array<QLabel*, kShownValues> Label1{};
    QPlainTextEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 1> Label5{};  // a one-element control array
    QLabel* Label6 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    PictureBox* Picture1 = nullptr;
    TrendChart* MSChart1 = nullptr;
    QAction* MnuOpen = nullptr;
    QMenu* MnuOpenRecent = nullptr;  // filled from the recent files by the window
    QAction* MnuFollow = nullptr;
    QAction* MnuStopFollow = nullptr;    // enabled by the window while it follows a log
    QAction* MnuKeepFollowed = nullptr;  // checkable
    QAction* MnuAddToArchive = nullptr;
    QAction* MnuStationName = nullptr;
    QAction* MnuAlerts = nullptr;  // checkable: desktop alerts while following
    QAction* MnuRecords = nullptr;
    QAction* MnuHistory = nullptr;
    QAction* MnuExit = nullptr;
    QAction* WriteCSVFile = nullptr;
    QAction* WriteCSVFileAs = nullptr;
    QAction* MnuInfo = nullptr;
    PasteReport* report_ = nullptr;
    // Between the paste box beside the value boxes and the chart under them.
    QSplitter* Splitter = nullptr;

  private:
    void buildFrames();
    void buildValueControls();
    void buildSingleControls();
    // Puts the block, the paste box and the chart into the resizable client, and the messages
    // and the selector into the status area under it; returns the client's scroll area.
    QScrollArea* arrangeClient(QMainWindow& window);
    void buildMenus(QMainWindow& window);
    void setFocusOrder();
    // The client area for kWindowContainer, else the frame.
    QWidget* container(int number) const;
    // Builds the control `name` of the table in its container; `args` come before the parent.
    template <typename Widget, typename... Args>
    Widget* build(const char* name, const QFont& font, Args&&... args);

    QWidget* client_ = nullptr;
    QWidget* block_ = nullptr;                     // the value boxes' block, of fixed size
    std::array<QGroupBox*, kFrameCount> Frame_{};  // Frame1..Frame8
    // Event filters, children of the window and of the client area for their whole life.
    ScreenFit* screenFit_ = nullptr;
    FocusFrames* focusFrames_ = nullptr;
};

}  // namespace pelorin
