#pragma once

#include <string>
#include <vector>

namespace pelorin::history {

// One entry of a panel's quantity chooser: a single value, or a measured quantity's four
// statistics (its minimum-to-maximum range with the average and the actual value).
struct QuantityChoice {
    std::string name;               // as listed, with the unit
    std::vector<int> valueIndices;  // min, max, avg, act for a quantity; else one value
    std::string unit;
};

// The quantities first, then the values 1..35 one by one.
const std::vector<QuantityChoice>& QuantityChoices();

}  // namespace pelorin::history
