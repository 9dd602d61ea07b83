#include "Form1.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>
#include <filesystem>

#include "CaptionFrame.h"
#include "ChartSpacing.h"
#include "Form1Layout.h"
#include "Form2.h"
#include "Module1.h"
#include "OptionButton.h"
#include "PasteReport.h"
#include "PictureBox.h"
#include "Resources.h"
#include "TextFileLoader.h"
#include "TrendChart.h"
#include "ValueText.h"
#include "WindowFonts.h"
#include "pelorin/atomic_file.h"
#include "pelorin/csv_export.h"
#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

const QString kWindowCaption = QStringLiteral("Pelorin Telemetry Decoder [v0.4]");
const QColor kHighlight(255, 255, 192);     // light yellow, 0xC0FFFF packed
constexpr int kChartIndexAfterDecode = 19;  // the average bus voltage
constexpr int kFirstRecord = 1;

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString IntegerText(std::int64_t n) {
    return QString::fromStdString(FormatInteger(n));
}

// "Text1_5" for element 5 of the array Text1; "Frame3" for a control numbered in its name.
QString IndexedName(const char* array, int index, bool element = true) {
    return QString::fromLatin1(array) + (element ? QStringLiteral("_") : QString()) +
           QString::fromStdString(FormatInteger(index));
}

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, const TwipsRect& rect, const QFont& font) {
    widget->setObjectName(name);
    widget->setGeometry(ToPixels(rect));
    widget->setFont(font);
    return widget;
}

std::u16string_view Utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent),
      decimalSeparator_(QLocale().decimalPoint().toStdString()),
      csvFolder_(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kWindowCaption);
    setWindowIcon(WindowIcon());
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFont(WindowFonts::Regular());
    client->setFixedSize(ToPixels(kClientArea).size());
    setCentralWidget(client);
    // The layout is designed for one size: the window is as large as its client area, the
    // menu bar and the paste report.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildFrames(*client);
    buildValueControls();
    buildSingleControls(*client);
    buildMenus();
    report_ = new PasteReport(this);
    setStatusBar(report_);
    setFocusOrder();
    connectHandlers();
    Form_Load();
}

Form1::~Form1() = default;

QWidget* Form1::container(int number) const {
    return number == kWindowContainer ? centralWidget()
                                      : Frame_[static_cast<std::size_t>(number - 1)];
}

void Form1::buildFrames(QWidget& client) {
    for (int f = 0; f < kFrameCount; ++f) {
        const FrameLayout& layout = kFrameLayouts[static_cast<std::size_t>(f)];
        auto* frame = new CaptionFrame(Text(layout.caption), &client);
        frame->setObjectName(IndexedName("Frame", f + 1, false));
        frame->setGeometry(ToPixels(layout.rect));
        Frame_[static_cast<std::size_t>(f)] = frame;
    }
}

void Form1::buildValueControls() {
    const auto& layouts = ValueControlLayouts();
    for (int i = 0; i < kShownValues; ++i) {
        const ValueControlLayout& layout = layouts[static_cast<std::size_t>(i)];
        auto* option =
            new OptionButton(Text(layout.optionCaption), container(layout.optionContainer));
        Option1[i] =
            Place(option, IndexedName("Option1", i), layout.option, WindowFonts::Regular());

        auto* box = new QLineEdit(container(layout.boxContainer));
        const QFont boxFont = i == 0 ? WindowFonts::Bold() : WindowFonts::Regular();
        Text1[i] = Place(box, IndexedName("Text1", i), layout.box, boxFont);
        box->setAcceptDrops(false);  // a dropped file goes to the window
        if (i != 0) {
            QPalette palette = box->palette();
            palette.setColor(QPalette::Text, Qt::black);
            box->setPalette(palette);
        }

        auto* unit = new QLabel(Text(layout.unitCaption), container(layout.unitContainer));
        Label1[i] = Place(unit, IndexedName("Label1", i), layout.unit, WindowFonts::Regular());
    }
    boxBackground_ = Text1[1]->palette().color(QPalette::Base);
}

void Form1::buildSingleControls(QWidget& client) {
    const QFont font = WindowFonts::Regular();
    auto geometry = [](const char* name) { return SingleControl(name).rect; };

    Text2 = Place(new QPlainTextEdit(&client), QStringLiteral("Text2"), geometry("Text2"),
                  WindowFonts::PasteBox());
    Text2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);

    Label5[0] = Place(new QLabel(QStringLiteral("System time"), container(6)),
                      QStringLiteral("Label5_0"), geometry("Label5_0"), font);
    Label6 = Place(new QLabel(QStringLiteral("Nominal mode"), container(6)),
                   QStringLiteral("Label6"), geometry("Label6"), font);

    // Over the right edge of Frame3 and Frame4, so created after them.
    Picture1 = Place(new PictureBox(&client), QStringLiteral("Picture1"), geometry("Picture1"),
                     WindowFonts::FaceNames());
    Picture1->setFocusPolicy(Qt::TabFocus);

    MSChart1 =
        Place(new TrendChart(container(8)), QStringLiteral("MSChart1"), geometry("MSChart1"), font);
    MSChart1->setFocusPolicy(Qt::StrongFocus);

    Label3 = Place(new QLabel(&client), QStringLiteral("Label3"), geometry("Label3"), font);
    Label2 = Place(new QLabel(&client), QStringLiteral("Label2"), geometry("Label2"), font);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    HScroll1 = Place(new QScrollBar(Qt::Horizontal, &client), QStringLiteral("HScroll1"),
                     geometry("HScroll1"), font);
    // Lower bound 1; the upper bound follows the record count but never lets position 0 or a
    // position beyond the table through.
    HScroll1->setRange(kFirstRecord, kFirstRecord);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(kFirstRecord);
    HScroll1->setEnabled(false);  // nothing to select before the first decode
    HScroll1->setFocusPolicy(Qt::TabFocus);

    Text3 = Place(new QLineEdit(QStringLiteral("Text3"), &client), QStringLiteral("Text3"),
                  geometry("Text3"), font);
    Text3->setAcceptDrops(false);
}

void Form1::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->menuAction()->setObjectName(QStringLiteral("MnuFile"));
    QAction* open = file->addAction(QStringLiteral("Open..."));
    open->setObjectName(QStringLiteral("MnuOpen"));
    open->setShortcut(QKeySequence::Open);
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("MnuExit"));

    QMenu* tlm = menuBar()->addMenu(QStringLiteral("TLM File"));
    tlm->menuAction()->setObjectName(QStringLiteral("MnuTLMFile"));
    QAction* csv = tlm->addAction(QStringLiteral("Write CSV File"));
    csv->setObjectName(QStringLiteral("WriteCSVFile"));
    QAction* csvAs = tlm->addAction(QStringLiteral("Write CSV File As..."));
    csvAs->setObjectName(QStringLiteral("WriteCSVFileAs"));

    QAction* info = menuBar()->addAction(QStringLiteral("Info"));
    info->setObjectName(QStringLiteral("MnuInfo"));

    connect(open, &QAction::triggered, this, &Form1::MnuOpen_Click);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(csv, &QAction::triggered, this, &Form1::WriteCSVFile_Click);
    connect(csvAs, &QAction::triggered, this, &Form1::WriteCSVFileAs_Click);
    connect(info, &QAction::triggered, this, &Form1::MnuInfo_Click);
}

void Form1::setFocusOrder() {
    std::vector<QWidget*> order = {Text1[0], MSChart1, HScroll1, Text2, Text3, Option1[0]};
    auto addPair = [&](int i) {
        order.push_back(Option1[i]);
        order.push_back(Text1[i]);
    };
    for (int frame = 1; frame <= 4; ++frame) {
        for (int i = frame; i <= 28; i += 4) {
            addPair(i);
        }
    }
    for (int i : {30, 31, 32, 33, 34, 29}) {
        addPair(i);
    }
    order.push_back(Picture1);
    for (std::size_t k = 1; k < order.size(); ++k) {
        setTabOrder(order[k - 1], order[k]);
    }
    Text1[0]->setFocus();
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

    // Page Up/Down and Home/End step the selector wherever the focus is, except in the paste
    // box; a file dropped on the paste box is opened rather than pasted as its name.
    for (QWidget* widget : centralWidget()->findChildren<QWidget*>()) {
        if (widget != Text2 && !Text2->isAncestorOf(widget)) {
            widget->installEventFilter(this);
        }
    }
    Text2->viewport()->installEventFilter(this);
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

// Decodes the whole paste box again after every change, then brings the selector, the
// position label, the value boxes, the faces and the chart up to date.
void Form1::Text2_Change() {
    // The box separates its lines by line feeds; the decoder splits at CR LF.
    QString text = Text2->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const DecodeResult result = Decode_Text(Utf16(text), store_, [this](int length) {
        const QString shown = IntegerText(length);
        if (Text3->text() != shown) {
            Text3->setText(shown);
        }
    });
    HScroll1->setEnabled(true);
    const int v = HScroll1->value();
    Label2->setText(QLatin1Char('#') + IntegerText(v) + QStringLiteral(" / ") +
                    IntegerText(store_.RecordCount()));
    // The bound stays at 1 when no record was decoded, so position 0 never reaches the view.
    HScroll1->setMaximum(std::max(kFirstRecord, store_.RecordCount()));
    Option1[kChartIndexAfterDecode]->setChecked(true);
    Show_Data(HScroll1->value());
    Draw_Chart(kChartIndexAfterDecode);

    showRecordLimit(result);
    report_->showResult(result);
}

void Form1::HScroll1_Change() {
    Label2->setText(IntegerText(HScroll1->value()) + QLatin1Char('/') +
                    IntegerText(HScroll1->maximum()));
    Show_Data(HScroll1->value());
}

// Shows record `Rec` in the value boxes and colours the four side faces from its solar-array
// flags.
void Form1::Show_Data(int Rec) {
    const TelemetryRecord& record = store_.record(std::clamp(Rec, 0, kMaxRecords));
    for (int i = 0; i < kShownValues; ++i) {
        Text1[i]->setText(QString::fromStdString(ValueBoxText(record, i, decimalSeparator_)));
    }
    const QString flags = Text1[29]->text();
    auto faceColor = [&flags](int position) {
        return flags.at(position) == QLatin1Char('1') ? Module1::FaceOnColor
                                                      : Module1::FaceOffColor;
    };
    Module1::Draw_PlusX(*Picture1, faceColor(0));
    Module1::Draw_PlusY(*Picture1, faceColor(1));
    Module1::Draw_MinusX(*Picture1, faceColor(2));
    Module1::Draw_MinusY(*Picture1, faceColor(3));
}

// The option buttons of all frames act as one group: the chosen one's box is highlighted and
// its quantity charted.
void Form1::Option1_Click(int Index) {
    for (int i = 0; i < kShownValues; ++i) {
        if (i == Index) {
            continue;
        }
        setBoxBackground(i, boxBackground_);
        Option1[i]->setChecked(false);
    }
    setBoxBackground(Index, kHighlight);
    Draw_Chart(Index);
}

void Form1::Draw_Chart(int Index) {
    const std::int32_t RecordCount = store_.RecordCount();
    if (RecordCount < 1) {
        return;  // the chart and its caption keep the last drawing
    }
    Frame_[7]->setTitle(Option1[Index]->text() + QStringLiteral("  [ ") + Label1[Index]->text() +
                        QStringLiteral(" ]"));
    MSChart1->setChartType(TrendChart::kBarChart2d);
    if (const std::optional<int> spacing = FixedCategorySpacing(RecordCount)) {
        MSChart1->setCategoryAutoDivision(false);
        MSChart1->setCategoriesBetweenTicks(*spacing);
        MSChart1->setCategoriesBetweenLabels(*spacing);
    } else {
        MSChart1->setCategoryAutoDivision(true);
    }
    MSChart1->setValueUnit(Label1[Index]->text());
    MSChart1->setRowCount(RecordCount);
    for (int r = 1; r <= RecordCount; ++r) {
        MSChart1->setRow(r);
        MSChart1->setColumn(1);
        MSChart1->setRowLabel(IntegerText(r));
        MSChart1->setData(store_.value(r, Index));
    }
}

void Form1::setBoxBackground(int index, const QColor& color) {
    QLineEdit* box = Text1[index];
    if (box->palette().color(QPalette::Base) == color) {
        return;
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, color);
    box->setPalette(palette);
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

void Form1::setMessage(const QString& text, Message kind) {
    Label3->setText(text);
    Label3->setToolTip(text);  // the whole text, should the line be too short for it
    shownMessage_ = kind;
}

void Form1::clearMessage(Message kind) {
    if (shownMessage_ == kind) {
        setMessage(QString(), Message::None);
    }
}

void Form1::WriteCSVFile_Click() {
    const QString fileName = Text(kCsvFileName);
    if (writeCsvFile(csvFolder_ + QLatin1Char('/') + fileName)) {
        setMessage(csvFolder_ + QLatin1Char('/') + fileName + QStringLiteral(" has been written"),
                   Message::Export);
    }
}

void Form1::WriteCSVFileAs_Click() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Write CSV File As"),
                                     csvFolder_ + QLatin1Char('/') + Text(kCsvFileName),
                                     QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty() && writeCsvFile(path)) {
        setMessage(path + QStringLiteral(" has been written"), Message::Export);
    }
}

bool Form1::writeCsvFile(const QString& path) {
    const std::string content = BuildCsvFile(store_, decimalSeparator_);
    const WriteResult result =
        WriteFileAtomically(std::filesystem::path(QFile::encodeName(path).toStdString()), content);
    if (!result.ok) {
        setMessage(
            path + QStringLiteral(" could not be written: ") + QString::fromLocal8Bit(result.error),
            Message::Export);
        return false;
    }
    return true;
}

void Form1::MnuOpen_Click() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(),
                                     QStringLiteral("Text files (*.txt *.log);;All files (*)"));
    if (!path.isEmpty()) {
        loadTextFile(path);
    }
}

bool Form1::loadTextFile(const QString& path) {
    const LoadedText loaded = TextFileLoader::Load(path);
    if (!loaded.ok) {
        setMessage(loaded.error, Message::OpenFailed);
        return false;
    }
    clearMessage(Message::OpenFailed);
    // One edit, as a paste is: decoded once, and Undo brings the old text back.
    QTextCursor cursor(Text2->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(loaded.text);
    cursor.endEditBlock();
    return true;
}

void Form1::MnuInfo_Click() {
    if (!form2_) {
        form2_ = new Form2();  // no owner: it outlives the main window if left open
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

QString Form1::FileFromDrop(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) {
        return {};
    }
    const QUrl url = mime->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!FileFromDrop(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void Form1::dropEvent(QDropEvent* event) {
    const QString path = FileFromDrop(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        loadTextFile(path);
    }
}

bool Form1::stepSelector(int key) {
    if (!HScroll1->isEnabled()) {
        return false;
    }
    switch (key) {
        case Qt::Key_PageUp:
            HScroll1->setValue(HScroll1->value() - HScroll1->pageStep());
            return true;
        case Qt::Key_PageDown:
            HScroll1->setValue(HScroll1->value() + HScroll1->pageStep());
            return true;
        case Qt::Key_Home:
            HScroll1->setValue(HScroll1->minimum());
            return true;
        case Qt::Key_End:
            HScroll1->setValue(HScroll1->maximum());
            return true;
        default:
            return false;
    }
}

void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && stepSelector(event->key())) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (watched != Text2->viewport() && plain && stepSelector(key->key())) {
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (watched == Text2->viewport() && !FileFromDrop(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (watched == Text2->viewport() && !FileFromDrop(drop->mimeData()).isEmpty()) {
                dropEvent(drop);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace pelorin
