#include "OutOfLimitsNotifier.h"

#include <QSettings>

#include "DesktopNotifier.h"
#include "QtText.h"

namespace pelorin {
namespace {

const QString kEnabledKey = QStringLiteral("alerts/enabled");
const QString kSummary = QStringLiteral("Telemetry out of limits");
const QString kUnavailable =
    QStringLiteral("Out-of-limits alerts cannot be shown: no desktop notification service");

}  // namespace

OutOfLimitsNotifier::OutOfLimitsNotifier(std::string decimalSeparator, QObject* parent)
    : QObject(parent),
      notifier_(new DesktopNotifier(this)),
      decimalSeparator_(std::move(decimalSeparator)) {
    connect(notifier_, &DesktopNotifier::unavailable, this,
            [this](const QString&) { emit unavailable(kUnavailable); });
}

bool OutOfLimitsNotifier::Enabled() {
    return QSettings().value(kEnabledKey, true).toBool();
}

void OutOfLimitsNotifier::SetEnabled(bool enabled) {
    QSettings().setValue(kEnabledKey, enabled);
}

void OutOfLimitsNotifier::startPass() {
    decide_.reset();
}

void OutOfLimitsNotifier::checkRecords(const TelemetryStore& store, int first, int last,
                                       const LimitTable& limits) {
    const bool enabled = Enabled();
    for (int rec = std::max(first, 1); rec <= std::min(last, store.RecordCount()); ++rec) {
        // Checked even while switched off, so that switching on does not bring old news.
        for (const LimitAlert& alert : decide_.check(store.record(rec), limits)) {
            if (enabled) {
                notifier_->notify(kSummary,
                                  ToQString(LimitAlerts::Text(alert, limits, decimalSeparator_)));
            }
        }
    }
}

}  // namespace pelorin
