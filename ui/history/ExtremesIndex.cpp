#include "history/ExtremesIndex.h"

namespace pelorin::history {
namespace {

constexpr std::size_t kFanOut = 64;

std::size_t BlockSize(int level) {
    std::size_t size = kFanOut;
    for (int k = 0; k < level; ++k) {
        size *= kFanOut;
    }
    return size;
}

}  // namespace

struct ExtremesIndex::Found {
    std::span<const float> y;
    std::size_t low;
    std::size_t high;

    void consider(std::size_t k) {
        if (y[k] < y[low] || (y[k] == y[low] && k < low)) {
            low = k;
        }
        if (y[k] > y[high] || (y[k] == y[high] && k < high)) {
            high = k;
        }
    }
};

ExtremesIndex::ExtremesIndex(std::span<const float> y) {
    // Each level from the one below: a block's extremes are among its sub-blocks'.
    std::size_t below = y.size();
    for (int level = 0; y.size() / BlockSize(level) > 0; ++level) {
        const std::size_t blocks = y.size() / BlockSize(level);
        std::vector<std::uint32_t> low(blocks);
        std::vector<std::uint32_t> high(blocks);
        for (std::size_t b = 0; b < blocks; ++b) {
            Found found{y, b * BlockSize(level), b * BlockSize(level)};
            for (std::size_t s = b * kFanOut; s < (b + 1) * kFanOut && s < below; ++s) {
                found.consider(level == 0 ? s : low_.back()[s]);
                found.consider(level == 0 ? s : high_.back()[s]);
            }
            low[b] = static_cast<std::uint32_t>(found.low);
            high[b] = static_cast<std::uint32_t>(found.high);
        }
        below = blocks;
        low_.push_back(std::move(low));
        high_.push_back(std::move(high));
    }
}

std::pair<std::size_t, std::size_t> ExtremesIndex::extremes(std::span<const float> y,
                                                            std::size_t begin,
                                                            std::size_t end) const {
    Found found{y, begin, begin};
    scan(y, static_cast<int>(low_.size()) - 1, begin, end, found);
    return {found.low, found.high};
}

// The whole blocks of `level` within [begin, end), and the rest one level down.
void ExtremesIndex::scan(std::span<const float> y, int level, std::size_t begin, std::size_t end,
                         Found& found) const {
    if (level < 0) {
        for (std::size_t k = begin; k < end; ++k) {
            found.consider(k);
        }
        return;
    }
    const std::size_t size = BlockSize(level);
    const std::size_t first = (begin + size - 1) / size;
    const std::size_t last = end / size;
    if (first >= last) {
        scan(y, level - 1, begin, end, found);
        return;
    }
    scan(y, level - 1, begin, first * size, found);
    for (std::size_t b = first; b < last; ++b) {
        found.consider(low_[static_cast<std::size_t>(level)][b]);
        found.consider(high_[static_cast<std::size_t>(level)][b]);
    }
    scan(y, level - 1, last * size, end, found);
}

}  // namespace pelorin::history
