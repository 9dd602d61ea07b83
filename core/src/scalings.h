#pragma once

#include <cstdint>

namespace pelorin {

// How a field's integer reading n becomes the stored value. Every step is a separate IEEE-754
// double operation in the order written; the reciprocals are their own step, which differs in
// the last bit from dividing directly.
enum class Scaling { None, Rail, Temperature, Current, BusVoltage, BusCurrent, ChargeCurrent };

inline double Scale(Scaling scaling, std::int32_t n) {
    constexpr double kRailVoltsPerCount = 0.001528;
    constexpr std::int32_t kTemperatureZero = 2896;
    constexpr double kTemperatureCountsPerDegree = 7.0;
    constexpr double kCurrentAmpsPerCount = 7.179e-05;
    constexpr double kFullScale = 4096.0;
    constexpr double kBusVoltageGain = 0.204;
    constexpr double kBusCurrentGain = 0.603;
    constexpr double kChargeCurrentGain = 0.287;

    const auto twiceFraction = [n] {
        double a = n / kFullScale;
        a = a + a;
        return a;
    };
    switch (scaling) {
        case Scaling::Rail:
            return n * kRailVoltsPerCount;
        case Scaling::Temperature:
            return static_cast<double>(n - kTemperatureZero) / kTemperatureCountsPerDegree;
        case Scaling::Current:
            return n * kCurrentAmpsPerCount;
        case Scaling::BusVoltage: {
            const double b = 1.0 / kBusVoltageGain;
            return twiceFraction() * b;
        }
        case Scaling::BusCurrent: {
            const double b = 1.0 / kBusCurrentGain;
            return twiceFraction() * b;
        }
        case Scaling::ChargeCurrent: {
            double a = twiceFraction();
            a = a - 1.0;
            const double b = 1.0 / kChargeCurrentGain;
            return a * b;
        }
        case Scaling::None:
            break;
    }
    return n;
}

}  // namespace pelorin
