#pragma once

#include <cstdint>

#include "pelorin/value_info.h"

namespace pelorin {

// How a field's integer reading n becomes the stored value. Every step is a separate IEEE-754
// double operation in the order written; the reciprocals are their own step, which differs in
// the last bit from dividing directly.

namespace scaling {

constexpr double kRailVoltsPerCount = 0.001528;
constexpr std::int32_t kTemperatureZero = 2896;
constexpr double kTemperatureCountsPerDegree = 7.0;
constexpr double kCurrentAmpsPerCount = 7.179e-05;
constexpr double kFullScale = 4096.0;
constexpr double kBusVoltageGain = 0.204;
constexpr double kBusCurrentGain = 0.603;
constexpr double kChargeCurrentGain = 0.287;

inline double twiceFraction(std::int32_t n) {
    double a = n / kFullScale;
    a = a + a;
    return a;
}

inline double none(std::int32_t n) {
    return n;
}
inline double rail(std::int32_t n) {
    return n * kRailVoltsPerCount;
}
inline double temperature(std::int32_t n) {
    const std::int32_t t = n - kTemperatureZero;
    return t / kTemperatureCountsPerDegree;
}
inline double current(std::int32_t n) {
    return n * kCurrentAmpsPerCount;
}
inline double busVoltage(std::int32_t n) {
    const double b = 1.0 / kBusVoltageGain;
    return twiceFraction(n) * b;
}
inline double busCurrent(std::int32_t n) {
    const double b = 1.0 / kBusCurrentGain;
    return twiceFraction(n) * b;
}
inline double chargeCurrent(std::int32_t n) {
    double a = twiceFraction(n);
    a = a - 1.0;
    const double b = 1.0 / kChargeCurrentGain;
    return a * b;
}

}  // namespace scaling

inline double Scale(Scaling s, std::int32_t n) {
    switch (s) {
        case Scaling::Rail:
            return scaling::rail(n);
        case Scaling::Temperature:
            return scaling::temperature(n);
        case Scaling::Current:
            return scaling::current(n);
        case Scaling::BusVoltage:
            return scaling::busVoltage(n);
        case Scaling::BusCurrent:
            return scaling::busCurrent(n);
        case Scaling::ChargeCurrent:
            return scaling::chargeCurrent(n);
        case Scaling::None:
            break;
    }
    return scaling::none(n);
}

// Close to the reading that `value` was scaled from by `s`, not rounded; the caller checks it
// with Scale.
inline double InverseScale(Scaling s, double value) {
    constexpr double kHalfScale = scaling::kFullScale / 2;
    switch (s) {
        case Scaling::Rail:
            return value / scaling::kRailVoltsPerCount;
        case Scaling::Temperature:
            return value * scaling::kTemperatureCountsPerDegree + scaling::kTemperatureZero;
        case Scaling::Current:
            return value / scaling::kCurrentAmpsPerCount;
        case Scaling::BusVoltage:
            return value * scaling::kBusVoltageGain * kHalfScale;
        case Scaling::BusCurrent:
            return value * scaling::kBusCurrentGain * kHalfScale;
        case Scaling::ChargeCurrent:
            return (value * scaling::kChargeCurrentGain + 1.0) * kHalfScale;
        case Scaling::None:
            break;
    }
    return value;
}

}  // namespace pelorin
