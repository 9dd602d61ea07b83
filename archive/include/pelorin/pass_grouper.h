#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pelorin/archive_store.h"

namespace pelorin {

// Frames further apart than this, in reception or on-board time, belong to different passes.
inline constexpr std::int64_t kPassGapMillis = 15 * 60 * 1000;

// Groups archived frames into passes, whatever engine read them. Feed every frame once: first
// the frames with a reception time, by their first one, then the frames without, in the order
// they were archived. Among the latter an on-board time counter that goes back (a reboot) starts
// a new pass too. Then feed every reception, in any order, with its frame's pass.
class PassGrouper {
  public:
    PassGrouper() = default;
    // Goes on after `found`, as if its frames had been fed; their receptions are not counted.
    explicit PassGrouper(std::vector<PassSummary> found)
        : passes_(std::move(found)), stations_(passes_.size()) {}
    // The index of the frame's pass among those found so far (0-based).
    std::size_t addFrame(std::int64_t frameId, std::optional<UtcMillis> firstReceived,
                         double onboardSeconds);
    void addReception(std::size_t pass, std::string_view station);
    // The passes found, numbered from 1.
    std::vector<PassSummary> finish();

  private:
    bool startsNewPass(bool timed, std::int64_t at) const;

    std::vector<PassSummary> passes_;
    std::unordered_map<std::string, std::uint32_t> stationIds_;
    std::vector<std::vector<std::uint32_t>> stations_;  // of each pass, distinct
};

// Whether `pass` overlaps `range`; untimed passes have no time and overlap only an open range.
bool PassInRange(const PassSummary& pass, const TimeRange& range);

}  // namespace pelorin
