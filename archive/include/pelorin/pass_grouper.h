#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pelorin/archive_store.h"

namespace pelorin {

// Frames further apart than this, in reception or on-board time, belong to different passes.
inline constexpr std::int64_t kPassGapMillis = 15 * 60 * 1000;

// Groups archived frames into passes, whatever engine read them. Feed every reception of every
// frame, a frame's receptions together: first the frames with a reception time, by their first
// one, then the frames without, in the order they were archived. Among the latter an on-board
// time counter that goes back (a reboot) starts a new pass too.
class PassGrouper {
  public:
    void addReception(std::int64_t frameId, std::optional<UtcMillis> firstReceived,
                      double onboardSeconds, std::string_view station);
    // The passes found, numbered from 1.
    std::vector<PassSummary> finish();

  private:
    bool startsNewPass(bool timed, std::int64_t at) const;
    void close();

    std::vector<PassSummary> passes_;
    std::optional<PassSummary> current_;
    std::set<std::string, std::less<>> stations_;
    std::optional<std::int64_t> lastFrame_;
};

// Whether `pass` overlaps `range`; untimed passes have no time and overlap only an open range.
bool PassInRange(const PassSummary& pass, const TimeRange& range);

}  // namespace pelorin
