#include "PasteReport.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>
#include <string>

#include "ElidedLabel.h"
#include "QtText.h"
#include "ReadableColors.h"
#include "ShownText.h"
#include "WindowFonts.h"
#include "pelorin/decoder.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

QString Count(std::int64_t n, const char* singular, const char* plural) {
    return ToQString(CountText(n, singular, plural));
}

QLabel* AddItem(QStatusBar& bar, const char* name) {
    auto* label = new QLabel(&bar);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(WindowFonts::Regular());
    bar.addWidget(label);
    return label;
}

// An item cut short with "..." where the bar is too narrow for it; its tool tip has it all.
QLabel* AddShrinkingItem(QStatusBar& bar, const char* name, int stretch) {
    auto* label = new ElidedLabel(&bar);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(WindowFonts::Regular());
    label->setMinimumWidth(1);
    bar.addWidget(label, stretch);
    return label;
}

// `text` and up to `listed` of the numbers of `count` items, "and N more" for the rest.
template <typename Number>
QString NumberList(std::string text, const std::vector<Number>& numbers, std::int64_t count,
                   int listed) {
    const std::size_t shown = std::min(numbers.size(), static_cast<std::size_t>(listed));
    for (std::size_t k = 0; k < shown; ++k) {
        text += (k == 0 ? "" : ", ") + FormatInteger(numbers[k]);
    }
    if (count > static_cast<std::int64_t>(shown)) {
        text += " and " + FormatInteger(count - static_cast<std::int64_t>(shown)) + " more";
    }
    return QString::fromStdString(text);
}

}  // namespace

PasteReport::PasteReport(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("PasteReport"));
    setSizeGripEnabled(false);
    decoded_ = AddItem(*this, "ReportDecoded");
    other_ = AddItem(*this, "ReportOther");
    rejected_.label = AddItem(*this, "ReportRejected");
    suspect_.label = AddItem(*this, "ReportSuspect");
    outOfLimits_.label = AddItem(*this, "ReportOutOfLimits");
    following_ = AddShrinkingItem(*this, "ReportFollow", 0);
    followEvent_ = AddShrinkingItem(*this, "ReportFollowEvent", 1);  // the rest of the bar
    suspect_.label->hide();
    outOfLimits_.label->hide();
    following_->hide();
    followEvent_->hide();
    decoded_->setText(QStringLiteral("Paste, open or drop telemetry lines."));
    for (const Warning* warning : {&rejected_, &suspect_, &outOfLimits_}) {
        warning->label->installEventFilter(this);
    }
}

void PasteReport::showResult(const DecodeResult& result) {
    // Beyond the table's room the count says how many were left out, which the message in the
    // window's bottom line tells too, out of sight on a small screen.
    const QString decoded =
        Count(result.telemetryLines, "telemetry line decoded", "telemetry lines decoded");
    decoded_->setText(result.droppedLines > 0
                          ? IntegerText(result.RecordCount) + QStringLiteral(" of ") + decoded
                          : decoded);
    other_->setText(Count(result.otherLines(), "other line", "other lines"));
    rejected_.label->setText(Count(result.damagedLines, "rejected line with the marker",
                                   "rejected lines with the marker"));
    showWarning(rejected_, result.damagedLines,
                NumberList("Lines holding the marker but not 122 characters long from it on: ",
                           result.damagedLineNumbers, result.damagedLines, kListedLineNumbers));

    // Such records are kept, as the decoding rules say, but their values are not to be trusted.
    suspect_.label->setVisible(result.suspectLines > 0);
    suspect_.label->setText(Count(result.suspectLines, "decoded with non-hex characters",
                                  "decoded with non-hex characters"));
    showWarning(suspect_, result.suspectLines,
                NumberList("Telemetry lines decoded although their digits hold a character that "
                           "is no hexadecimal digit: ",
                           result.suspectLineNumbers, result.suspectLines, kListedLineNumbers));
}

void PasteReport::showOutOfLimits(const std::vector<std::int32_t>& records, bool limitsSet) {
    outOfLimits_.label->setVisible(limitsSet);
    const auto count = static_cast<std::int64_t>(records.size());
    outOfLimits_.label->setText(Count(count, "record out of limits", "records out of limits"));
    showWarning(outOfLimits_, count,
                NumberList("Records with a value outside its limits: ", records, count,
                           kListedLineNumbers));
}

// The followed file's name is shown as it is, control characters escaped.
void PasteReport::showFollowing(const QString& text, const QString& toolTip) {
    const QString shown = EscapedText(text);
    if (following_->text() != shown) {  // refreshed every second: only a change is laid out
        following_->setText(shown);
    }
    following_->setToolTip(PlainToolTip(EscapedText(toolTip)));
    following_->setVisible(!text.isEmpty());
}

void PasteReport::showFollowEvent(const QString& text) {
    const QString shown = EscapedText(text);
    followEvent_->setText(shown);
    followEvent_->setToolTip(PlainToolTip(shown));
    followEvent_->setVisible(!text.isEmpty());
}

void PasteReport::showWarning(Warning& warning, std::int64_t count, const QString& toolTip) {
    warning.any = count > 0;
    warning.label->setToolTip(warning.any ? toolTip : QString());
    colourWarning(warning);
}

void PasteReport::colourWarning(const Warning& warning) const {
    if (!warning.any) {
        warning.label->setPalette(QPalette());  // the bar's own colours
        return;
    }
    QPalette red = warning.label->palette();
    red.setColor(QPalette::WindowText, WarningRed(palette().color(QPalette::Window)));
    warning.label->setPalette(red);
}

void PasteReport::changeEvent(QEvent* event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        for (const Warning* warning : {&rejected_, &suspect_, &outOfLimits_}) {
            colourWarning(*warning);
        }
    }
}

bool PasteReport::eventFilter(QObject* watched, QEvent* event) {
    // A click shows the list at once, for those who do not wait for the hover.
    auto* label = qobject_cast<QLabel*>(watched);
    if (label != nullptr && event->type() == QEvent::MouseButtonPress &&
        !label->toolTip().isEmpty()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        QToolTip::showText(press->globalPosition().toPoint(), label->toolTip(), label);
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace pelorin
