#include "Form1.h"
#include "history/HistoryWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QWindow>
#include <array>
#include <filesystem>

#include "AccessibleText.h"
#include "ChartFeed.h"
#include "DropRouter.h"
#include "Form2.h"
#include "InputRouter.h"
#include "LimitsWatcher.h"
#include "LogFollowSession.h"
#include "Module1.h"
#include "OptionButton.h"
#include "PasteReport.h"
#include "PasteRouter.h"
#include "PictureBox.h"
#include "QtText.h"
#include "RecentFiles.h"
#include "RecentFilesMenu.h"
#include "ShownText.h"
#include "TextFileLoadSession.h"
#include "ValueBoxColors.h"
#include "ValueText.h"
#include "WindowGeometry.h"
#include "WindowSettings.h"
#include "alerts/OutOfLimitsNotifier.h"
#include "chart/CategorySpacing.h"
#include "chart/ChartColors.h"
#include "chart/ChartSettings.h"
#include "chart/TrendChart.h"
#include "paste/PasteBox.h"
#include "records/RecordsWindow.h"
#include "pelorin/decoder.h"
#include "pelorin/frame_marker.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

constexpr int kChartIndexAfterDecode = 19;  // the average bus voltage

// The side faces in the order of the solar-array flags, which is also their drawing order.
constexpr std::array<void (*)(PictureBox&, const std::int32_t&), 4> kSideFaces = {
    Module1::Draw_PlusX, Module1::Draw_PlusY, Module1::Draw_MinusX, Module1::Draw_MinusY};

}  // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      decimalSeparator_(QLocale().decimalPoint().toStdString()),
      csvFolder_(QCoreApplication::applicationDirPath()) {
    const QString settingsRefused = WindowSettings::guardFile();  // before anything reads them
    setupUi(*this);
    // Names and lines of files reach several labels: none reads its text as HTML.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
    geometry_ = new WindowGeometry(*this, *Splitter);
    boxColors_ = new ValueBoxColors(*this, Text1);
    MSChart1->setOptions(LoadChartOptions());
    const std::filesystem::path limitsFile = LimitsFilePathFromEnvironment();
    limitsWatcher_ = new LimitsWatcher(QFile::decodeName(limitsFile.c_str()), this);
    paste_ = new PasteBox(*Text2, this);
    connectHandlers();
    Form_Load();
    applyLimits();
    if (!settingsRefused.isEmpty()) {
        setMessage(settingsRefused, Message::Settings);
    }
}

// A load under way puts the box back before the window's controls go.
Form1::~Form1() {
    delete load_;
}

// Closing during an open cancels the open, then closes.
void Form1::closeEvent(QCloseEvent* event) {
    cancelLoad();
    if (form2_ && form2_->windowHandle() != nullptr) {
        form2_->windowHandle()->setTransientParent(nullptr);
    }
    QMainWindow::closeEvent(event);
}

void Form1::connectHandlers() {
    connect(Text2, &QPlainTextEdit::textChanged, this, &Form1::Text2_Change);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    for (int i = 0; i < kShownValues; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool selected) {
            if (selected) {
                Option1_Click(i);
            }
        });
    }
    connect(MSChart1, &TrendChart::barClicked, HScroll1, &QScrollBar::setValue);
    connect(MSChart1, &TrendChart::optionsChanged, this, &SaveChartOptions);
    connect(MSChart1, &TrendChart::messageForUser, this,
            [this](const QString& text) { setMessage(text, Message::Chart); });
    connect(limitsWatcher_, &LimitsWatcher::changed, this, &Form1::applyLimits);
    connect(MnuOpen, &QAction::triggered, this, &Form1::MnuOpen_Click);
    connect(MnuExit, &QAction::triggered, this, &QWidget::close);
    connect(WriteCSVFile, &QAction::triggered, this, &Form1::WriteCSVFile_Click);
    connect(WriteCSVFileAs, &QAction::triggered, this, &Form1::WriteCSVFileAs_Click);
    connect(MnuInfo, &QAction::triggered, this, &Form1::MnuInfo_Click);
    connect(MnuRecords, &QAction::triggered, this, &Form1::MnuRecords_Click);
    connect(MnuHistory, &QAction::triggered, this, &Form1::MnuHistory_Click);
    follow_ = new LogFollowSession(*paste_, *report_, this);
    connect(MnuFollow, &QAction::triggered, this, &Form1::MnuFollow_Click);
    connect(MnuStopFollow, &QAction::triggered, follow_, [this] { follow_->stop(); });
    connectArchive();
    MnuStopFollow->setEnabled(false);
    connect(follow_, &LogFollowSession::followingChanged, MnuStopFollow, &QAction::setEnabled);
    connect(follow_, &LogFollowSession::linesArrived, this, [this](int removedRecords) {
        const int kept = store_.RecordCount() - removedRecords;
        showDecode(SelectorPolicy::SameRecord, removedRecords);
        alerts_->checkRecords(store_, kept + 1, store_.RecordCount(), limits());
    });
    alerts_ = new OutOfLimitsNotifier(decimalSeparator_, this);
    connect(follow_, &LogFollowSession::followingChanged, alerts_, [this](bool following) {
        if (following) {
            alerts_->startPass();
        }
    });
    connect(alerts_, &OutOfLimitsNotifier::unavailable, report_, &PasteReport::showFollowEvent);
    MnuAlerts->setCheckable(true);
    MnuAlerts->setChecked(OutOfLimitsNotifier::Enabled());
    connect(MnuAlerts, &QAction::toggled, this, &OutOfLimitsNotifier::SetEnabled);
    keys_ = new InputRouter(*this, *Text2, *HScroll1);
    pastes_ = new PasteRouter(*this, *paste_);
    drops_ = new DropRouter(*this, *paste_);
    connect(drops_, &DropRouter::fileDropped, this, &Form1::loadTextFile);
    recentFiles_ = new RecentFiles(this);
    auto* recentMenu = new RecentFilesMenu(*MnuOpenRecent, *recentFiles_);
    connect(recentMenu, &RecentFilesMenu::fileChosen, this, &Form1::MnuOpenRecent_Click);
}

// Window load: the six faces in the "off" colour, in this order.
void Form1::Form_Load() {
    Module1::Draw_PlusX(*Picture1, Module1::FaceOffColor);
    Module1::Draw_MinusX(*Picture1, Module1::FaceOffColor);
    Module1::Draw_PlusY(*Picture1, Module1::FaceOffColor);
    Module1::Draw_MinusY(*Picture1, Module1::FaceOffColor);
    Module1::Draw_PlusZ(*Picture1, Module1::FaceOffColor);
    Module1::Draw_MinusZ(*Picture1, Module1::FaceOffColor);
}

// The user's edits of the paste box.
void Form1::Text2_Change() {
    showDecode(SelectorPolicy::Stay);
}

void Form1::showDecode(SelectorPolicy policy, int removedRecords) {
    // Where the selector stands among the records it knew, before the decode.
    const int before = HScroll1->value();
    const bool toNewest = policy == SelectorPolicy::Newest ||
                          (policy == SelectorPolicy::SameRecord && before >= HScroll1->maximum());
    // The decode of the whole text, reading again only the lines this change touched.
    const DecodeResult result = paste_->update(store_);
    if (result.telemetryLines > 0) {
        showAcceptedLength(kFrameLength);
    }
    HScroll1->setEnabled(true);
    // The bound stays at 1 when no record was decoded, so position 0 never reaches the view.
    HScroll1->setMaximum(std::max(kFirstRecord, store_.RecordCount()));
    const int target = policy == SelectorPolicy::Stay ? before
                       : toNewest                     ? HScroll1->maximum()
                                  : std::max(kFirstRecord, before - removedRecords);
    HScroll1->setValue(target);
    // A selector pulled back by the lower bound has said where it moved to.
    showPosition(HScroll1->value() == target ? PositionText::Decoded : PositionText::Moved);
    Show_Data(HScroll1->value());
    int charted = kChartIndexAfterDecode;
    if (policy == SelectorPolicy::Stay) {
        Option1[kChartIndexAfterDecode]->setChecked(true);
    } else {
        MSChart1->keepZoomAtNewestRow();
        charted = chosenIndex();
    }
    Draw_Chart(charted);
    reportDecode(result);
}

// The quantity the user chose; the one a decode chooses before any was.
int Form1::chosenIndex() {
    for (int i = 0; i < kShownValues; ++i) {
        if (Option1[i]->isChecked()) {
            return i;
        }
    }
    Option1[kChartIndexAfterDecode]->setChecked(true);
    return kChartIndexAfterDecode;
}

void Form1::reportDecode(const DecodeResult& result) {
    showRecordLimit(result);
    report_->showResult(result);
    showLimitsReport();
    updateRecordsTable();
}

// Text3 shows the length of the accepted lines, always 122.
void Form1::showAcceptedLength(int length) {
    const QString shown = IntegerText(length);
    if (Text3->text() != shown) {
        Text3->setText(shown);
    }
}

void Form1::showPosition(PositionText form) {
    const int position = HScroll1->value();
    Label2->setText(form == PositionText::Decoded
                        ? QLatin1Char('#') + IntegerText(position) + QStringLiteral(" / ") +
                              IntegerText(store_.RecordCount())
                        : IntegerText(position) + QLatin1Char('/') +
                              IntegerText(HScroll1->maximum()));
}

void Form1::HScroll1_Change() {
    showPosition(PositionText::Moved);
    Show_Data(HScroll1->value());
    if (!records_.isNull()) {
        records_->selectRecord(HScroll1->value());
    }
}

int Form1::shownRecord() const {
    // The selector is enabled by the first decode, which shows its record.
    return HScroll1->isEnabled() ? std::clamp(HScroll1->value(), 0, kMaxRecords) : -1;
}

// Shows record `Rec` in the value boxes and colours the four side faces from its solar-array
// flags.
void Form1::Show_Data(int Rec) {
    const TelemetryRecord& record = store_.record(std::clamp(Rec, 0, kMaxRecords));
    for (int i = 0; i < kShownValues; ++i) {
        Text1[i]->setText(QString::fromStdString(ValueBoxText(record, i, decimalSeparator_)));
    }
    colourShownValues();
    MSChart1->setSelectedRow(Rec);
    const SolarArrayFlags flags = SolarArrayFlagsOf(record[FirstOfKind(ValueKind::Status)]);
    for (std::size_t face = 0; face < kSideFaces.size(); ++face) {
        kSideFaces[face](*Picture1, flags[face] ? Module1::FaceOnColor : Module1::FaceOffColor);
    }
    DescribeRecord(*this, Rec, store_.RecordCount(), flags);
}

// The option buttons of all frames act as one group: the chosen one's box is highlighted and
// its quantity charted.
void Form1::Option1_Click(int Index) {
    for (int i = 0; i < kShownValues; ++i) {
        if (i == Index) {
            continue;
        }
        boxColors_->setHighlighted(i, false);
        Option1[i]->setChecked(false);
    }
    boxColors_->setHighlighted(Index, true);
    Draw_Chart(Index);
}

void Form1::Draw_Chart(int Index) {
    const std::int32_t RecordCount = store_.RecordCount();
    if (RecordCount < 1) {
        return;  // the chart and its caption keep the last drawing
    }
    const QString caption = Option1[Index]->text() + QStringLiteral("  [ ") +
                            Label1[Index]->text() + QStringLiteral(" ]");
    if (frame(kGraphFrame)->title() != caption) {  // the same caption again only costs a layout
        frame(kGraphFrame)->setTitle(caption);
    }
    if (const std::optional<int> spacing = FixedCategorySpacing(RecordCount)) {
        MSChart1->setCategoryAutoDivision(false);
        MSChart1->setCategoriesBetweenTicks(*spacing);
        MSChart1->setCategoriesBetweenLabels(*spacing);
    } else {
        MSChart1->setCategoryAutoDivision(true);
    }
    MSChart1->setValueUnit(Label1[Index]->text());
    DescribeChart(*this, Index, RecordCount);
    MSChart1->setDetails(ChartDetailsFor(store_, Index, decimalSeparator_));
    MSChart1->setLimits(ChartLimitsFor(limits(), Index));
    chartedIndex_ = Index;
    MSChart1->setRowCount(RecordCount);
    for (int r = 1; r <= RecordCount; ++r) {
        MSChart1->setRow(r);
        MSChart1->setColumn(1);
        MSChart1->setRowLabel(IntegerText(r));
        MSChart1->setData(store_.value(r, Index));
    }
}

const LimitTable& Form1::limits() const {
    return limitsWatcher_->load().limits;
}

void Form1::applyLimits() {
    const QString warnings = limitsWatcher_->warningText();
    if (warnings.isEmpty()) {
        clearMessage(Message::Limits);
    } else {
        setMessage(warnings, Message::Limits);
    }
    colourShownValues();
    if (!history_.isNull()) {
        history_->setLimits(limits());
    }
    if (chartedIndex_ >= 0) {
        MSChart1->setLimits(ChartLimitsFor(limits(), chartedIndex_));
    }
    showLimitsReport();
    updateRecordsTable();
}

void Form1::colourShownValues() {
    const int shown = shownRecord();
    if (shown < 0) {
        return;
    }
    const TelemetryRecord& record = store_.record(shown);
    for (int i = 0; i < kShownValues; ++i) {
        boxColors_->setOutOfLimits(i, IsOutOfLimits(record[i], limits()[i]));
    }
}

void Form1::showLimitsReport() {
    report_->showOutOfLimits(OutOfLimitsRecords(store_, limits()), HasLimits(limits()));
}

void Form1::showRecordLimit(const DecodeResult& result) {
    if (result.droppedLines > 0) {
        const QString lines = result.droppedLines == 1 ? QStringLiteral(" telemetry line was")
                                                       : QStringLiteral(" telemetry lines were");
        setMessage(IntegerText(result.droppedLines) + lines +
                       QStringLiteral(" not decoded: the window holds at most ") +
                       IntegerText(kMaxRecords) + QStringLiteral(" records."),
                   Message::RecordLimit);
    } else {
        clearMessage(Message::RecordLimit);
    }
}

// Messages carry file names and lines of files: shown as they are, control characters escaped.
void Form1::setMessage(const QString& text, Message kind) {
    const QString shown = EscapedText(text);
    Label3->setText(shown);
    Label3->setToolTip(PlainToolTip(shown));  // the whole text, should the line be too short
    shownMessage_ = kind;
}

void Form1::clearMessage(Message kind) {
    if (shownMessage_ == kind) {
        setMessage(QString(), Message::None);
    }
}

void Form1::MnuInfo_Click() {
    if (!form2_) {
        form2_ = new Form2();  // no owner: it outlives the main window if left open
        // Transient for the main window while that is open, so the window manager keeps it
        // above it; closeEvent lets go, so that it then keeps the program running.
        form2_->winId();
        form2_->windowHandle()->setTransientParent(window()->windowHandle());
        form2_->move(frameGeometry().center() - form2_->rect().center());
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

}  // namespace pelorin
