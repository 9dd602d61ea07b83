#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/limits.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

// One value that went out of limits: which, its value, by how much past which bound, and the
// record's time counter.
struct LimitAlert {
    int index = 0;  // value index 0..34
    double value = 0;
    double excess = 0;  // past the bound, always positive
    bool aboveHigh = false;
    double timeCounter = 0;  // value 0 of the record, seconds
};

// Decides which out-of-limits values of followed records to tell the user about: each value
// once per pass, so that a long excursion gives one alert, not one a record. A pass ends when
// the time counter jumps by more than kPassGap or steps back (a new contact or a reboot), and
// with reset() (a new follow).
class LimitAlerts {
  public:
    static constexpr double kPassGap = 1800.0;  // seconds of the time counter

    // The alerts `record` raises under `limits`, in value order.
    std::vector<LimitAlert> check(const TelemetryRecord& record, const LimitTable& limits);
    void reset();

    // "busvolt_avg_V 7.6 is 0.1 below its low limit 7.7 at time counter 12345", numbers with
    // `decimalSeparator`.
    static std::string Text(const LimitAlert& alert, const LimitTable& limits,
                            std::string_view decimalSeparator);

  private:
    std::array<bool, kShownValues> alerted_{};
    std::optional<double> lastTime_;
};

}  // namespace pelorin
