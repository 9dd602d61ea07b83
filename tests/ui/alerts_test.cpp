// Out-of-limits alerts while following: once per value per pass, what they say, and a missing
// notification service told once.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "alerts/LimitAlerts.h"
#include "alerts/OutOfLimitsNotifier.h"
#include "frames.h"
#include "pelorin/decoder.h"
#include "pelorin/value_info.h"

namespace {

using pelorin::LimitAlerts;

constexpr int kBusVoltage = 19;
constexpr int kBusVoltageActual = 20;

pelorin::LimitTable BusLimits() {
    pelorin::LimitTable limits{};
    limits[kBusVoltage] = {7.7, 8.15};
    limits[kBusVoltageActual] = {7.7, std::nullopt};
    return limits;
}

pelorin::TelemetryRecord Record(double time, double average, double actual = 8.0) {
    pelorin::TelemetryRecord record{};
    record[0] = time;
    record[kBusVoltage] = average;
    record[kBusVoltageActual] = actual;
    return record;
}

TEST(LimitAlerts, EachValueOncePerPass) {
    struct Step {
        double time;
        double average;
        double actual;
        std::vector<int> alerted;
    };
    const Step steps[] = {
        {100, 8.0, 8.0, {}},
        {160, 7.6, 8.0, {kBusVoltage}},        // into the earth's shadow
        {220, 7.5, 8.0, {}},                   // still in it
        {280, 8.0, 8.0, {}},                   // back in the sun
        {340, 8.3, 7.6, {kBusVoltageActual}},  // the average again, but in the same pass
        {340 + LimitAlerts::kPassGap + 1, 7.6, 7.6, {kBusVoltage, kBusVoltageActual}},  // next pass
        {50, 7.6, 8.0, {kBusVoltage}},  // the counter stepped back: a reboot
    };
    LimitAlerts alerts;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.time);
        std::vector<int> alerted;
        for (const pelorin::LimitAlert& alert :
             alerts.check(Record(step.time, step.average, step.actual), BusLimits())) {
            alerted.push_back(alert.index);
            EXPECT_EQ(alert.timeCounter, step.time);
        }
        EXPECT_EQ(alerted, step.alerted);
    }
    alerts.reset();
    EXPECT_EQ(alerts.check(Record(60, 7.6), BusLimits()).size(), 1u);
}

TEST(LimitAlerts, TextSaysWhichValueByHowMuchAndWhen) {
    const std::pair<pelorin::TelemetryRecord, const char*> cases[] = {
        {Record(160, 7.6), " 7,6 is 0,1 below its low limit 7,7 at time counter 160"},
        {Record(4000, 8.4), " 8,4 is 0,25 above its high limit 8,15 at time counter 4000"},
    };
    for (const auto& [record, text] : cases) {
        LimitAlerts alerts;
        const auto raised = alerts.check(record, BusLimits());
        ASSERT_EQ(raised.size(), 1u);
        EXPECT_EQ(LimitAlerts::Text(raised[0], BusLimits(), ","),
                  std::string(pelorin::InfoOf(kBusVoltage).column) + text);
    }
}

TEST(OutOfLimitsNotifier, AMissingNotificationServiceIsToldOnce) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    std::u16string text;
    for (const unsigned time : {60u, 120u, 9000u}) {  // two passes
        text += testframes::toU16(testframes::lineWithTime(time)) + u"\r\n";
    }
    pelorin::TelemetryStore store;
    ASSERT_EQ(pelorin::Decode_Text(text, store).RecordCount, 3);
    pelorin::LimitTable limits{};
    limits[0] = {std::nullopt, 1.0};  // every time counter is out
    pelorin::OutOfLimitsNotifier notifier(".");
    QSignalSpy unavailable(&notifier, &pelorin::OutOfLimitsNotifier::unavailable);
    notifier.startPass();
    notifier.checkRecords(store, 1, 3, limits);
    if (unavailable.isEmpty()) {
        unavailable.wait(5000);  // a bus without the service answers later
    }
    EXPECT_EQ(unavailable.count(), 1);
    notifier.startPass();
    notifier.checkRecords(store, 1, 3, limits);
    QTest::qWait(50);
    EXPECT_EQ(unavailable.count(), 1);
}

}  // namespace
