#include "Form2.h"

#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <array>

#include "Resources.h"
#include "Twips.h"
#include "WindowFonts.h"

namespace pelorin {
namespace {

constexpr TwipsRect kClientArea{0, 0, 5085, 3510};

enum class LabelStyle { Title, Plain, Bold, Version, Link };

struct InfoLabel {
    const char* name;
    const char* text;
    TwipsRect rect;
    LabelStyle style;
};

// Top to bottom. The version text is set when the window loads.
constexpr std::array<InfoLabel, 8> kLabels = {{
    {"Label1", "Pelorin Telemetry Decoder", {120, 120, 7215, 375}, LabelStyle::Title},
    {"Label3", "2012 by the Pelorin team", {120, 600, 2775, 255}, LabelStyle::Plain},
    {"Label8", "PLRN", {120, 960, 735, 255}, LabelStyle::Bold},
    {"Label2", "", {120, 1320, 2295, 375}, LabelStyle::Version},
    {"Label6", "Homepage:", {1920, 2760, 855, 255}, LabelStyle::Plain},
    {"Label4", "pelorin.example.org", {2880, 2760, 1815, 255}, LabelStyle::Link},
    {"Label7", "e-mail:", {1920, 3000, 615, 255}, LabelStyle::Plain},
    {"Label5", "team@pelorin.example", {2880, 3000, 1815, 255}, LabelStyle::Link},
}};

const QColor kTitleText(0, 64, 0);
const QColor kTitleBand(224, 224, 224);
const QColor kLinkText(0, 0, 255);

void ApplyStyle(QLabel& label, LabelStyle style) {
    QFont font = WindowFonts::Regular();
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    switch (style) {
        case LabelStyle::Title:
            font = WindowFonts::InfoTitle();
            palette.setColor(QPalette::WindowText, kTitleText);
            palette.setColor(QPalette::Window, kTitleBand);
            label.setAutoFillBackground(true);
            break;
        case LabelStyle::Bold:
            font.setBold(true);
            break;
        case LabelStyle::Version:
            label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            break;
        case LabelStyle::Link:
            font.setUnderline(true);
            palette.setColor(QPalette::WindowText, kLinkText);
            break;
        case LabelStyle::Plain:
            break;
    }
    label.setFont(font);
    label.setPalette(palette);
}

}  // namespace

const QString Form2::kVersionText = QStringLiteral("Ver.0.4 - 2012, Oct 27");

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Dialog), picture_(InfoPicture()) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Info"));
    setWindowIcon(WindowIcon());
    setFixedSize(ToPixels(kClientArea).size());
    // The labels are transparent: the picture shows around their letters.
    for (const InfoLabel& layout : kLabels) {
        auto* label = new QLabel(QString::fromLatin1(layout.text), this);
        label->setObjectName(QString::fromLatin1(layout.name));
        label->setGeometry(ToPixels(layout.rect));
        ApplyStyle(*label, layout.style);
    }
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    Form_Load();
}

void Form2::Form_Load() {
    findChild<QLabel*>(QStringLiteral("Label2"))->setText(kVersionText);
}

void Form2::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, picture_);  // unscaled, cut off at the right edge
}

}  // namespace pelorin
