#include "Form1Layout.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <algorithm>
#include <cassert>
#include <span>
#include <string_view>
#include <vector>

#include "AccessibleText.h"
#include "CaptionFrame.h"
#include "ElidedLabel.h"
#include "FocusFrames.h"
#include "Form1LayoutTable.h"
#include "OptionButton.h"
#include "PasteReport.h"
#include "PictureBox.h"
#include "QtText.h"
#include "Resources.h"
#include "ScreenFit.h"
#include "Twips.h"
#include "WindowFonts.h"
#include "chart/TrendChart.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

using namespace form1_table;

const QString kWindowCaption = QStringLiteral("Pelorin Telemetry Decoder [v0.4]");
// The value-box block: the frames Frame1..Frame7 with the time and mode boxes and the picture,
// which keep their designed geometry. Places in the table are on the designed window; the block
// cuts this rectangle out of it, so what lay beyond the window's right edge stays out of sight.
constexpr TwipsRect kValueBlock{0, 1980, 11670, 5295};
// The paste box beside the block and the chart under both, with a splitter between them.
constexpr int kPasteBoxMinimumLines = 4;
constexpr int kChartMinimumHeight = 180;
constexpr int kPasteBoxMinimumWidth = 160;
constexpr QMargins kClientMargins(8, 4, 8, 4);
constexpr QMargins kChartMargins(8, 16, 8, 8);  // the chart inside the Graph frame

const ControlLayout& SingleControl(std::string_view name) {
    const auto* found = std::find_if(kSingleControls.begin(), kSingleControls.end(),
                                     [name](const ControlLayout& c) { return c.name == name; });
    assert(found != kSingleControls.end());
    return *found;
}

// "Text1_5" for element 5 of the array Text1; "Frame3" for a control numbered in its name.
QString IndexedName(const char* array, int index, bool element = true) {
    return QString::fromLatin1(array) + (element ? QStringLiteral("_") : QString()) +
           IntegerText(index);
}

// `rect` on `container` in pixels: on the value block for the window's own controls.
QRect PixelsIn(int container, const TwipsRect& rect) {
    const QRect pixels = ToPixels(rect);
    return container == kWindowContainer ? pixels.translated(-ToPixels(kValueBlock).topLeft())
                                         : pixels;
}

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, const QRect& pixels, const QFont& font) {
    widget->setObjectName(name);
    widget->setGeometry(pixels);
    widget->setFont(font);
    return widget;
}

}  // namespace

void Form1Layout::setupUi(QMainWindow& window) {
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(kWindowCaption);
    window.setWindowIcon(WindowIcon());

    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setFont(WindowFonts::Regular());
    block_ = new QWidget(client_);
    block_->setObjectName(QStringLiteral("ValueBlock"));
    block_->setFixedSize(ToPixels(kValueBlock).size());

    buildFrames();
    buildValueControls();
    buildSingleControls();
    QScrollArea* clientScroll = arrangeClient(window);
    buildMenus(window);
    report_ = new PasteReport(&window);
    window.setStatusBar(report_);
    screenFit_ = new ScreenFit(window, *clientScroll);
    setFocusOrder();
    focusFrames_ = new FocusFrames({MSChart1, HScroll1, Picture1}, client_);
    DescribeControls(*this);
}

QGroupBox* Form1Layout::frame(int number) const {
    return Frame_[static_cast<std::size_t>(number - 1)];
}

QWidget* Form1Layout::container(int number) const {
    return number == kWindowContainer ? block_ : frame(number);
}

QScrollArea* Form1Layout::arrangeClient(QMainWindow& window) {
    auto* top = new QWidget;
    top->setObjectName(QStringLiteral("TopPane"));
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(QMargins());
    topRow->addWidget(block_, 0, Qt::AlignTop);
    topRow->addWidget(Text2, 1);
    const QFontMetrics paste(Text2->font());
    const int frameWidth = 2 * Text2->frameWidth();
    Text2->setMinimumSize(kPasteBoxMinimumWidth,
                          kPasteBoxMinimumLines * paste.lineSpacing() + frameWidth +
                              Text2->horizontalScrollBar()->sizeHint().height());

    QGroupBox* graph = frame(kGraphFrame);
    auto* graphLayout = new QVBoxLayout(graph);
    graphLayout->setContentsMargins(kChartMargins);
    graphLayout->addWidget(MSChart1);
    MSChart1->setMinimumHeight(kChartMinimumHeight);

    Splitter = new QSplitter(Qt::Vertical);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(top);
    Splitter->addWidget(graph);
    Splitter->setStretchFactor(1, 1);  // a larger window gives its height to the chart

    auto* clientLayout = new QVBoxLayout(client_);
    clientLayout->setContentsMargins(kClientMargins);
    clientLayout->addWidget(Splitter);

    // Only a screen too small for the client's smallest size scrolls it.
    auto* clientScroll = new QScrollArea;
    clientScroll->setObjectName(QStringLiteral("ClientScroll"));
    clientScroll->setFrameShape(QFrame::NoFrame);
    clientScroll->setFocusPolicy(Qt::NoFocus);  // the focus goes to the controls only
    clientScroll->setWidgetResizable(true);
    clientScroll->setWidget(client_);

    // The messages, the selector and the paste report stay in sight outside what scrolls.
    auto* status = new QWidget;
    status->setObjectName(QStringLiteral("StatusArea"));
    auto* statusRow = new QHBoxLayout(status);
    statusRow->setContentsMargins(kClientMargins.left(), 0, kClientMargins.right(), 0);
    statusRow->addWidget(Label3, 3);
    statusRow->addWidget(Label2);
    statusRow->addWidget(HScroll1, 1);
    Label2->setMinimumWidth(Label2->width());
    HScroll1->setMinimumWidth(HScroll1->width());

    auto* central = new QWidget(&window);
    central->setObjectName(QStringLiteral("Central"));
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(QMargins());
    centralLayout->setSpacing(0);
    centralLayout->addWidget(clientScroll, 1);
    centralLayout->addWidget(status);
    window.setCentralWidget(central);
    return clientScroll;
}

void Form1Layout::buildFrames() {
    for (int f = 0; f < kFrameCount; ++f) {
        const FrameLayout& layout = kFrameLayouts[static_cast<std::size_t>(f)];
        auto* frame = new CaptionFrame(ToQString(layout.caption), block_);
        frame->setObjectName(IndexedName("Frame", f + 1, false));
        frame->setGeometry(PixelsIn(kWindowContainer, layout.rect));
        Frame_[static_cast<std::size_t>(f)] = frame;
    }
}

void Form1Layout::buildValueControls() {
    for (int i = 0; i < kShownValues; ++i) {
        const ValueControlLayout& layout = kValueControls[static_cast<std::size_t>(i)];
        const ValueInfo& captions = InfoOf(i);
        auto* option =
            new OptionButton(ToQString(captions.caption), container(layout.optionContainer));
        Option1[i] = Place(option, IndexedName("Option1", i),
                           PixelsIn(layout.optionContainer, layout.option), WindowFonts::Regular());

        auto* box = new QLineEdit(container(layout.boxContainer));
        const QFont boxFont = i == 0 ? WindowFonts::Bold() : WindowFonts::Regular();
        Text1[i] =
            Place(box, IndexedName("Text1", i), PixelsIn(layout.boxContainer, layout.box), boxFont);

        auto* unit = new QLabel(ToQString(captions.unit), container(layout.unitContainer));
        Label1[i] = Place(unit, IndexedName("Label1", i),
                          PixelsIn(layout.unitContainer, layout.unit), WindowFonts::Regular());
    }
}

template <typename Widget, typename... Args>
Widget* Form1Layout::build(const char* name, const QFont& font, Args&&... args) {
    const ControlLayout& layout = SingleControl(name);
    auto* widget = new Widget(std::forward<Args>(args)..., container(layout.container));
    return Place(widget, QString::fromLatin1(name), PixelsIn(layout.container, layout.rect), font);
}

void Form1Layout::buildSingleControls() {
    const QFont font = WindowFonts::Regular();

    Text2 = build<QPlainTextEdit>("Text2", WindowFonts::PasteBox());
    Text2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);

    Label5[0] = build<QLabel>("Label5_0", font, QStringLiteral("System time"));
    Label6 = build<QLabel>("Label6", font, QStringLiteral("Nominal mode"));

    // Over the right edge of Frame3 and Frame4, so built after them.
    Picture1 = build<PictureBox>("Picture1", WindowFonts::FaceNames());
    Picture1->setFocusPolicy(Qt::TabFocus);

    MSChart1 = build<TrendChart>("MSChart1", font);
    MSChart1->setFocusPolicy(Qt::StrongFocus);

    Label3 = build<ElidedLabel>("Label3", font);
    Label2 = build<QLabel>("Label2", font);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    HScroll1 = build<QScrollBar>("HScroll1", font, Qt::Horizontal);
    // Lower bound 1; the upper bound follows the record count but never lets position 0 or a
    // position beyond the table through.
    HScroll1->setRange(kFirstRecord, kFirstRecord);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(kFirstRecord);
    HScroll1->setEnabled(false);  // nothing to select before the first decode
    HScroll1->setFocusPolicy(Qt::TabFocus);

    Text3 = build<QLineEdit>("Text3", font, QStringLiteral("Text3"));
    // Beyond the block's right edge, out of sight: the focus never goes there.
    Text3->setFocusPolicy(Qt::NoFocus);
    Option1[0]->setFocusPolicy(Qt::NoFocus);
}

void Form1Layout::buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    for (const MenuLayout& layout : kMenus) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(layout.caption));
        menu->menuAction()->setObjectName(QString::fromLatin1(layout.name));
        for (const MenuCommand& command : layout.commands) {
            const QString caption = QString::fromLatin1(command.caption);
            if (command.submenu != nullptr) {
                QMenu* submenu = menu->addMenu(caption);
                submenu->menuAction()->setObjectName(QString::fromLatin1(command.name));
                this->*command.submenu = submenu;
                continue;
            }
            QAction* action = menu->addAction(caption);
            action->setObjectName(QString::fromLatin1(command.name));
            action->setShortcut(command.shortcut);
            this->*command.action = action;
        }
    }
    MnuInfo = bar->addAction(QStringLiteral("&Info"));
    MnuInfo->setObjectName(QStringLiteral("MnuInfo"));

    // F10 opens the first menu, as on most desktops.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(menuKey, &QShortcut::activated, bar,
                     [bar] { bar->setActiveAction(bar->actions().constFirst()); });
}

void Form1Layout::setFocusOrder() {
    std::vector<QWidget*> order = {Text1[0], MSChart1, HScroll1, Text2};
    for (const int frame : kFocusFrameOrder) {
        for (int i = 0; i < kShownValues; ++i) {
            if (kValueControls[static_cast<std::size_t>(i)].optionContainer == frame) {
                order.push_back(Option1[i]);
                order.push_back(Text1[i]);
            }
        }
    }
    order.push_back(Picture1);
    for (std::size_t k = 1; k < order.size(); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }
    Text1[0]->setFocus();
}

}  // namespace pelorin
