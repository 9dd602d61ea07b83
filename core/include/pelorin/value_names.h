#pragma once

#include <array>
#include <string_view>

#include "pelorin/telemetry_table.h"

// Column names of the values 0..34 for analysis tools, which want one distinct name per column:
// quantity, then statistic (min, max, avg, act for the actual value), then the unit when there
// is one (s, V, C for degrees Celsius, A; minutes spelt out, as "min" names the minimum).
namespace pelorin {

inline constexpr std::array<std::string_view, kShownValues> kValueNames = {
    "time_s",               // 0
    "rail5v_min_V",         // 1
    "rail5v_max_V",         // 2
    "rail5v_avg_V",         // 3
    "rail5v_act_V",         // 4
    "rail3v3_min_V",        // 5
    "rail3v3_max_V",        // 6
    "rail3v3_avg_V",        // 7
    "rail3v3_act_V",        // 8
    "temp_min_C",           // 9
    "temp_max_C",           // 10
    "temp_avg_C",           // 11
    "temp_act_C",           // 12
    "current_min_A",        // 13
    "current_max_A",        // 14
    "current_avg_A",        // 15
    "current_act_A",        // 16
    "busvolt_min_V",        // 17
    "busvolt_max_V",        // 18
    "busvolt_avg_V",        // 19
    "busvolt_act_V",        // 20
    "buscurr_min_A",        // 21
    "buscurr_max_A",        // 22
    "buscurr_avg_A",        // 23
    "buscurr_act_A",        // 24
    "charge_min_A",         // 25
    "charge_max_A",         // 26
    "charge_avg_A",         // 27
    "charge_act_A",         // 28
    "solar_status",         // 29
    "nominal_on_minutes",   // 30
    "nominal_off_minutes",  // 31
    "errors_single",        // 32
    "errors_all",           // 33
    "errors_all2",          // 34
};

}  // namespace pelorin
