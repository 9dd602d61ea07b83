#include "PasteReport.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>
#include <string>

#include "QtText.h"
#include "WindowFonts.h"
#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

const QColor kRejectedColor(176, 0, 0);

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

// `text` and up to `listed` of the numbers, "and N more" for the rest.
template <typename Number>
QString NumberList(std::string text, const std::vector<Number>& numbers, int listed) {
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

// Red while `count` is above zero.
void ShowCount(QLabel& label, std::int64_t count) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText,
                     count > 0 ? kRejectedColor : palette.color(QPalette::Text));
    label.setPalette(palette);
}

}  // namespace

PasteReport::PasteReport(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("PasteReport"));
    setSizeGripEnabled(false);
    decoded_ = AddItem(*this, "ReportDecoded");
    other_ = AddItem(*this, "ReportOther");
    rejected_ = AddItem(*this, "ReportRejected");
    outOfLimits_ = AddItem(*this, "ReportOutOfLimits");
    outOfLimits_->hide();
    decoded_->setText(QStringLiteral("Paste, open or drop telemetry lines."));
    rejected_->installEventFilter(this);
    outOfLimits_->installEventFilter(this);
}

void PasteReport::showResult(const DecodeResult& result) {
    decoded_->setText(
        Count(result.RecordCount, "telemetry line decoded", "telemetry lines decoded"));
    other_->setText(Count(result.otherLines(), "other line", "other lines"));
    rejected_->setText(Count(result.damagedLines, "rejected line with the marker",
                             "rejected lines with the marker"));
    ShowCount(*rejected_, result.damagedLines);
    rejected_->setToolTip(
        result.damagedLines > 0
            ? NumberList("Lines holding the marker but not 122 characters long from it on: ",
                         result.damagedLineNumbers, kListedLineNumbers)
            : QString());
}

void PasteReport::showOutOfLimits(const std::vector<std::int32_t>& records, bool limitsSet) {
    outOfLimits_->setVisible(limitsSet);
    const auto count = static_cast<std::int64_t>(records.size());
    outOfLimits_->setText(Count(count, "record out of limits", "records out of limits"));
    ShowCount(*outOfLimits_, count);
    outOfLimits_->setToolTip(
        count > 0
            ? NumberList("Records with a value outside its limits: ", records, kListedLineNumbers)
            : QString());
}

bool PasteReport::eventFilter(QObject* watched, QEvent* event) {
    // A click shows the list at once, for those who do not wait for the hover.
    auto* label = qobject_cast<QLabel*>(watched);
    if ((label == rejected_ || label == outOfLimits_) &&
        event->type() == QEvent::MouseButtonPress && !label->toolTip().isEmpty()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QToolTip::showText(press->globalPosition().toPoint(), label->toolTip(), label);
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace pelorin
