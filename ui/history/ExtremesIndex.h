#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace pelorin::history {

// The lowest and highest of any stretch of a series in time that grows with the stretch's
// logarithm, not its length: the extremes of blocks of 64, 64^2, ... points are kept, and a
// stretch is read as whole blocks plus the points at its ends. Takes about 1/32 of the series'
// size again.
class ExtremesIndex {
  public:
    ExtremesIndex() = default;
    explicit ExtremesIndex(std::span<const float> y);

    // The indices of the lowest and highest of y[begin, end), the first of equal ones; `y` is the
    // series it was built from and begin < end.
    std::pair<std::size_t, std::size_t> extremes(std::span<const float> y, std::size_t begin,
                                                 std::size_t end) const;

  private:
    struct Found;
    void scan(std::span<const float> y, int level, std::size_t begin, std::size_t end,
              Found& found) const;

    // Per level, the index of each block's lowest and highest point.
    std::vector<std::vector<std::uint32_t>> low_;
    std::vector<std::vector<std::uint32_t>> high_;
};

}  // namespace pelorin::history
