#pragma once

#include <array>
#include <string>
#include <string_view>

#include "pelorin/telemetry_table.h"

// What each value of a record is, one row per value index: where its digits stand in a
// telemetry line and how they are read and scaled, what kind of value it is, and the words that
// name it in the window, the CSV header and for screen readers.
namespace pelorin {

// How a field's integer reading n becomes the stored value (scalings.h has the arithmetic).
enum class Scaling { None, Rail, Temperature, Current, BusVoltage, BusCurrent, ChargeCurrent };
inline constexpr int kScalingCount = 7;

// Signed: HexToDec's reading; Unsigned: HexToUnsignLong's, 65536 added to a negative one.
enum class FieldReading { Signed, Unsigned };

// Time: the system-time counter in seconds. Measured: a statistic of a measured quantity.
// Status: the solar-array status byte. Minutes: a nominal-mode duration. Count: a whole
// number without a unit.
enum class ValueKind { Time, Measured, Status, Minutes, Count };

struct ValueInfo {
    int offset;  // of the first digit in the line, from 0; the marker takes 0..9
    int digits;
    FieldReading reading;
    Scaling scaling;
    ValueKind kind;
    std::string_view caption;     // of its option button and the CSV header; trailing blanks kept
    std::string_view unit;        // of its unit label
    std::string_view column;      // the distinct column name for analysis tools, with its unit
    std::string_view spokenName;  // what a screen reader says it is
    std::string_view spokenUnit;
};

// Value 0 carries the first quantity's captions. Column names: quantity, statistic (act for
// the actual value), then the unit (C for degrees Celsius; minutes spelt out, as "min" names
// the minimum).
inline constexpr std::array<ValueInfo, kValuesPerRecord> kValueInfo = {{
    {10, 8, FieldReading::Signed, Scaling::None, ValueKind::Time, "5 Volts ", "V", "time_s",
     "System time", "seconds, and days, hours, minutes and seconds"},  // 0
    {18, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "5 Volts ", "V",
     "rail5v_min_V", "minimum 5 Volt rail", "volts"},  // 1
    {21, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "5 Volts ", "V",
     "rail5v_max_V", "maximum 5 Volt rail", "volts"},  // 2
    {24, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "5 Volts ", "V",
     "rail5v_avg_V", "average 5 Volt rail", "volts"},  // 3
    {27, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "5 Volts ", "V",
     "rail5v_act_V", "actual 5 Volt rail", "volts"},  // 4
    {30, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "3.3 Volts ", "V",
     "rail3v3_min_V", "minimum 3.3 Volt rail", "volts"},  // 5
    {33, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "3.3 Volts ", "V",
     "rail3v3_max_V", "maximum 3.3 Volt rail", "volts"},  // 6
    {36, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "3.3 Volts ", "V",
     "rail3v3_avg_V", "average 3.3 Volt rail", "volts"},  // 7
    {39, 3, FieldReading::Signed, Scaling::Rail, ValueKind::Measured, "3.3 Volts ", "V",
     "rail3v3_act_V", "actual 3.3 Volt rail", "volts"},  // 8
    {42, 3, FieldReading::Signed, Scaling::Temperature, ValueKind::Measured, "Temperature ", "C",
     "temp_min_C", "minimum Temperature", "degrees Celsius"},  // 9
    {45, 3, FieldReading::Signed, Scaling::Temperature, ValueKind::Measured, "Temperature ", "C",
     "temp_max_C", "maximum Temperature", "degrees Celsius"},  // 10
    {48, 3, FieldReading::Signed, Scaling::Temperature, ValueKind::Measured, "Temperature ", "C",
     "temp_avg_C", "average Temperature", "degrees Celsius"},  // 11
    {51, 3, FieldReading::Signed, Scaling::Temperature, ValueKind::Measured, "Temperature ", "C",
     "temp_act_C", "actual Temperature", "degrees Celsius"},  // 12
    {54, 3, FieldReading::Signed, Scaling::Current, ValueKind::Measured, "Current ", "A",
     "current_min_A", "minimum Current", "amperes"},  // 13
    {57, 3, FieldReading::Signed, Scaling::Current, ValueKind::Measured, "Current ", "A",
     "current_max_A", "maximum Current", "amperes"},  // 14
    {60, 3, FieldReading::Signed, Scaling::Current, ValueKind::Measured, "Current ", "A",
     "current_avg_A", "average Current", "amperes"},  // 15
    {63, 3, FieldReading::Signed, Scaling::Current, ValueKind::Measured, "Current ", "A",
     "current_act_A", "actual Current", "amperes"},  // 16
    {66, 3, FieldReading::Signed, Scaling::BusVoltage, ValueKind::Measured, "Bus Voltage ", "V",
     "busvolt_min_V", "minimum Bus Voltage", "volts"},  // 17
    {69, 3, FieldReading::Signed, Scaling::BusVoltage, ValueKind::Measured, "Bus Voltage ", "V",
     "busvolt_max_V", "maximum Bus Voltage", "volts"},  // 18
    {72, 3, FieldReading::Signed, Scaling::BusVoltage, ValueKind::Measured, "Bus Voltage ", "V",
     "busvolt_avg_V", "average Bus Voltage", "volts"},  // 19
    {75, 3, FieldReading::Signed, Scaling::BusVoltage, ValueKind::Measured, "Bus Voltage ", "V",
     "busvolt_act_V", "actual Bus Voltage", "volts"},  // 20
    {78, 3, FieldReading::Signed, Scaling::BusCurrent, ValueKind::Measured, "Bus Current ", "A",
     "buscurr_min_A", "minimum Bus Current", "amperes"},  // 21
    {81, 3, FieldReading::Signed, Scaling::BusCurrent, ValueKind::Measured, "Bus Current ", "A",
     "buscurr_max_A", "maximum Bus Current", "amperes"},  // 22
    {84, 3, FieldReading::Signed, Scaling::BusCurrent, ValueKind::Measured, "Bus Current ", "A",
     "buscurr_avg_A", "average Bus Current", "amperes"},  // 23
    {87, 3, FieldReading::Signed, Scaling::BusCurrent, ValueKind::Measured, "Bus Current ", "A",
     "buscurr_act_A", "actual Bus Current", "amperes"},  // 24
    {90, 3, FieldReading::Signed, Scaling::ChargeCurrent, ValueKind::Measured, "Charge Curr", "A",
     "charge_min_A", "minimum Charge Current", "amperes"},  // 25
    {93, 3, FieldReading::Signed, Scaling::ChargeCurrent, ValueKind::Measured, "Charge Curr", "A",
     "charge_max_A", "maximum Charge Current", "amperes"},  // 26
    {96, 3, FieldReading::Signed, Scaling::ChargeCurrent, ValueKind::Measured, "Charge Curr", "A",
     "charge_avg_A", "average Charge Current", "amperes"},  // 27
    {99, 3, FieldReading::Signed, Scaling::ChargeCurrent, ValueKind::Measured, "Charge Curr", "A",
     "charge_act_A", "actual Charge Current", "amperes"},  // 28
    {102, 2, FieldReading::Signed, Scaling::None, ValueKind::Status, "Status", "", "solar_status",
     "Solar Array Status", "status bits and panel flags"},  // 29
    {104, 4, FieldReading::Unsigned, Scaling::None, ValueKind::Minutes, "on", "min",
     "nominal_on_minutes", "Nominal mode on", "minutes"},  // 30
    {108, 4, FieldReading::Unsigned, Scaling::None, ValueKind::Minutes, "off", "min",
     "nominal_off_minutes", "Nominal mode off", "minutes"},  // 31
    {112, 2, FieldReading::Signed, Scaling::None, ValueKind::Count, "Single Errors", "",
     "errors_single", "Safe Mode Single Errors", "count"},  // 32
    {114, 2, FieldReading::Signed, Scaling::None, ValueKind::Count, "All Errors", "", "errors_all",
     "Safe Mode All Errors", "count"},  // 33
    {116, 2, FieldReading::Signed, Scaling::None, ValueKind::Count, "All Errors 2", "",
     "errors_all2", "Safe Mode All Errors 2", "count"},  // 34
    {118, 4, FieldReading::Signed, Scaling::None, ValueKind::Count, "", "", "final_field",
     "final field", "count"},  // 35
}};

inline constexpr const ValueInfo& InfoOf(int index) {
    return kValueInfo[static_cast<std::size_t>(index)];
}

// The first value index of kind `kind`: the time counter's or the status byte's.
constexpr int FirstOfKind(ValueKind kind) {
    int index = 0;
    while (kValueInfo[static_cast<std::size_t>(index)].kind != kind) {
        ++index;
    }
    return index;
}

inline constexpr int kQuantityCount = 7;    // the measured quantities of values 1..28
inline constexpr int kStatisticsCount = 4;  // minimum, maximum, average, actual
inline constexpr int kFirstQuantityValue = 1;

// What the four values of each quantity are, in the order of values 4k+1..4k+4.
inline constexpr std::array<std::string_view, kStatisticsCount> kStatisticNames = {
    "minimum", "maximum", "average", "actual"};

// The statistic (0 minimum .. 3 actual) of value `index`, or -1 for a value that is none.
constexpr int StatisticOf(int index) {
    return InfoOf(index).kind == ValueKind::Measured
               ? (index - kFirstQuantityValue) % kStatisticsCount
               : -1;
}

// The caption of value `index` without its trailing blanks: "Bus Voltage".
constexpr std::string_view TrimmedCaption(int index) {
    std::string_view caption = InfoOf(index).caption;
    while (!caption.empty() && caption.back() == ' ') {
        caption.remove_suffix(1);
    }
    return caption;
}

// What value `index` (0..34) is, for texts that name it: "average Bus Voltage", "System time",
// "Single Errors". A count's caption says enough; the time, status and minutes captions alone
// say too little, so their spoken names stand instead.
inline std::string ValueName(int index) {
    if (const int statistic = StatisticOf(index); statistic >= 0) {
        return std::string(kStatisticNames[static_cast<std::size_t>(statistic)]) + " " +
               std::string(TrimmedCaption(index));
    }
    if (InfoOf(index).kind == ValueKind::Count) {
        return std::string(TrimmedCaption(index));
    }
    return std::string(InfoOf(index).spokenName);
}

}  // namespace pelorin
