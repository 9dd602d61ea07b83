#include "PasteReport.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>
#include <string>

#include "QtText.h"
#include "ReadableColors.h"
#include "WindowFonts.h"
#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

const QColor kRejectedColor(176, 0, 0);
const QColor kRejectedOnDarkColor(255, 128, 128);

QString Count(std::int64_t n, const char* singular, const char* plural) {
    return IntegerText(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? singular : plural);
}

QLabel* AddItem(QStatusBar& bar, const char* name) {
    auto* label = new QLabel(&bar);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(WindowFonts::Regular());
    bar.addWidget(label);
    return label;
}

QString LineNumberList(std::string text, const std::vector<std::int64_t>& numbers, int listed) {
    const std::size_t shown = std::min(numbers.size(), static_cast<std::size_t>(listed));
    for (std::size_t k = 0; k < shown; ++k) {
        text += (k == 0 ? "" : ", ") + FormatInteger(numbers[k]);
    }
    if (numbers.size() > shown) {
        text +=
            " and " + FormatInteger(static_cast<std::int64_t>(numbers.size() - shown)) + " more";
    }
    return QString::fromStdString(text);
}

}  // namespace

PasteReport::PasteReport(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("PasteReport"));
    setSizeGripEnabled(false);
    decoded_ = AddItem(*this, "ReportDecoded");
    other_ = AddItem(*this, "ReportOther");
    rejected_ = AddItem(*this, "ReportRejected");
    suspect_ = AddItem(*this, "ReportSuspect");
    suspect_->hide();
    decoded_->setText(QStringLiteral("Paste, open or drop telemetry lines."));
    rejected_->installEventFilter(this);
    suspect_->installEventFilter(this);
}

void PasteReport::showResult(const DecodeResult& result) {
    decoded_->setText(
        Count(result.RecordCount, "telemetry line decoded", "telemetry lines decoded"));
    other_->setText(Count(result.otherLines(), "other line", "other lines"));
    rejected_->setText(Count(result.damagedLines, "rejected line with the marker",
                             "rejected lines with the marker"));
    anyRejected_ = result.damagedLines > 0;
    rejected_->setToolTip(
        anyRejected_
            ? LineNumberList("Lines holding the marker but not 122 characters long from it on: ",
                             result.damagedLineNumbers, kListedLineNumbers)
            : QString());

    // Such records are kept, as the decoding rules say, but their values are not to be trusted.
    anySuspect_ = result.suspectLines > 0;
    suspect_->setVisible(anySuspect_);
    suspect_->setText(Count(result.suspectLines, "decoded with non-hex characters",
                            "decoded with non-hex characters"));
    suspect_->setToolTip(
        anySuspect_ ? LineNumberList("Telemetry lines decoded although their digits hold a "
                                     "character that is no hexadecimal digit: ",
                                     result.suspectLineNumbers, kListedLineNumbers)
                    : QString());
    colourWarnings();
}

void PasteReport::colourWarnings() {
    colourWarning(*rejected_, anyRejected_);
    colourWarning(*suspect_, anySuspect_);
}

void PasteReport::colourWarning(QLabel& label, bool warn) const {
    if (!warn) {
        label.setPalette(QPalette());  // the bar's own colours
        return;
    }
    const QPalette& bar = palette();
    QPalette red = label.palette();
    red.setColor(QPalette::WindowText,
                 FirstReadable({kRejectedColor, kRejectedOnDarkColor}, bar.color(QPalette::Window),
                               bar.color(QPalette::WindowText)));
    label.setPalette(red);
}

void PasteReport::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        colourWarnings();
    }
}

bool PasteReport::eventFilter(QObject* watched, QEvent* event) {
    // A click shows the list at once, for those who do not wait for the hover.
    auto* label = qobject_cast<QLabel*>(watched);
    if ((label == rejected_ || label == suspect_) && event->type() == QEvent::MouseButtonPress &&
        !label->toolTip().isEmpty()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QToolTip::showText(press->globalPosition().toPoint(), label->toolTip(), label);
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace pelorin
