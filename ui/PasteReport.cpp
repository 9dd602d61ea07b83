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

QString LineNumberList(const std::vector<std::int64_t>& numbers, int listed) {
    std::string text = "Lines holding the marker but not 122 characters long from it on: ";
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
    decoded_->setText(QStringLiteral("Paste, open or drop telemetry lines."));
    rejected_->installEventFilter(this);
}

void PasteReport::showResult(const DecodeResult& result) {
    decoded_->setText(
        Count(result.RecordCount, "telemetry line decoded", "telemetry lines decoded"));
    other_->setText(Count(result.otherLines(), "other line", "other lines"));
    rejected_->setText(Count(result.damagedLines, "rejected line with the marker",
                             "rejected lines with the marker"));
    anyRejected_ = result.damagedLines > 0;
    colourRejected();
    rejected_->setToolTip(result.damagedLines > 0
                              ? LineNumberList(result.damagedLineNumbers, kListedLineNumbers)
                              : QString());
}

void PasteReport::colourRejected() {
    if (!anyRejected_) {
        rejected_->setPalette(QPalette());  // the bar's own colours
        return;
    }
    const QPalette& bar = palette();
    QPalette red = rejected_->palette();
    red.setColor(QPalette::WindowText,
                 FirstReadable({kRejectedColor, kRejectedOnDarkColor}, bar.color(QPalette::Window),
                               bar.color(QPalette::WindowText)));
    rejected_->setPalette(red);
}

void PasteReport::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        colourRejected();
    }
}

bool PasteReport::eventFilter(QObject* watched, QEvent* event) {
    // A click shows the list at once, for those who do not wait for the hover.
    if (watched == rejected_ && event->type() == QEvent::MouseButtonPress &&
        !rejected_->toolTip().isEmpty()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QToolTip::showText(press->globalPosition().toPoint(), rejected_->toolTip(), rejected_);
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace pelorin
