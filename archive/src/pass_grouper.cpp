#include "pelorin/pass_grouper.h"

#include <algorithm>
#include <cmath>

namespace pelorin {
namespace {

constexpr double kMillisPerSecond = 1000.0;

}  // namespace

bool PassGrouper::startsNewPass(bool timed, std::int64_t at) const {
    if (passes_.empty() || passes_.back().timed != timed) {
        return true;
    }
    const std::int64_t last = passes_.back().end;
    return at - last > kPassGapMillis || (!timed && at < last);
}

std::size_t PassGrouper::addFrame(std::int64_t frameId, std::optional<UtcMillis> firstReceived,
                                  double onboardSeconds) {
    const bool timed = firstReceived.has_value();
    const std::int64_t at =
        timed ? *firstReceived
              : static_cast<std::int64_t>(std::llround(onboardSeconds * kMillisPerSecond));
    if (startsNewPass(timed, at)) {
        PassSummary& pass = passes_.emplace_back();
        pass.number = static_cast<std::int64_t>(passes_.size());
        pass.timed = timed;
        pass.start = at;
        pass.firstKey = timed ? at : frameId;
        stations_.emplace_back();
    }
    PassSummary& pass = passes_.back();
    pass.end = at;
    pass.lastKey = timed ? at : frameId;
    ++pass.frames;
    return passes_.size() - 1;
}

void PassGrouper::addReception(std::size_t pass, std::string_view station) {
    ++passes_[pass].receptions;
    auto found = stationIds_.find(std::string(station));
    if (found == stationIds_.end()) {
        const auto id = static_cast<std::uint32_t>(stationIds_.size());
        found = stationIds_.emplace(std::string(station), id).first;
    }
    std::vector<std::uint32_t>& heard = stations_[pass];
    if (std::find(heard.begin(), heard.end(), found->second) == heard.end()) {
        heard.push_back(found->second);
    }
}

std::vector<PassSummary> PassGrouper::finish() {
    for (std::size_t k = 0; k < passes_.size(); ++k) {
        passes_[k].stations = static_cast<std::int64_t>(stations_[k].size());
    }
    stations_.clear();
    stationIds_.clear();
    return std::move(passes_);
}

bool PassInRange(const PassSummary& pass, const TimeRange& range) {
    if (!pass.timed) {
        return !range.since && !range.until;
    }
    return (!range.since || pass.end >= *range.since) &&
           (!range.until || pass.start <= *range.until);
}

}  // namespace pelorin
