#pragma once

#include <QObject>
#include <string>

#include "LimitAlerts.h"

namespace pelorin {

class DesktopNotifier;

// Live alerts while following: a followed record with a value out of limits raises a desktop
// notification, once per value per pass (LimitAlerts). The user's setting switches them off.
class OutOfLimitsNotifier : public QObject {
    Q_OBJECT
  public:
    // `decimalSeparator` is the user's regional one.
    OutOfLimitsNotifier(std::string decimalSeparator, QObject* parent = nullptr);

    // Whether alerts are on: the user's setting, on unless switched off.
    static bool Enabled();
    static void SetEnabled(bool enabled);

    // A new follow starts a new pass.
    void startPass();
    // Checks records first..last (1-based, inclusive) of `store`, in order.
    void checkRecords(const TelemetryStore& store, int first, int last, const LimitTable& limits);

  signals:
    // Sent once when the notification service cannot be reached, with what to tell the user.
    void unavailable(const QString& message);

  private:
    LimitAlerts decide_;
    DesktopNotifier* notifier_ = nullptr;
    std::string decimalSeparator_;
};

}  // namespace pelorin
