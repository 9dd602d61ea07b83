#pragma once

namespace pelorin {

// Whether value `index` (0..35) is always a whole number: the time counter (0), the status byte
// (29), the nominal-mode minutes (30, 31), the error counts (32..34) and the final field (35).
constexpr bool IsWholeNumberValue(int index) {
    return index == 0 || index >= 29;
}

}  // namespace pelorin
