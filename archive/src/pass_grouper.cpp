#include "pelorin/pass_grouper.h"

#include <cmath>

namespace pelorin {
namespace {

constexpr double kMillisPerSecond = 1000.0;

}  // namespace

bool PassGrouper::startsNewPass(bool timed, std::int64_t at) const {
    if (!current_ || current_->timed != timed) {
        return true;
    }
    return at - current_->end > kPassGapMillis || (!timed && at < current_->end);
}

void PassGrouper::addReception(std::int64_t frameId, std::optional<UtcMillis> firstReceived,
                               double onboardSeconds, std::string_view station) {
    if (frameId != lastFrame_) {
        lastFrame_ = frameId;
        const bool timed = firstReceived.has_value();
        const std::int64_t at =
            timed ? *firstReceived
                  : static_cast<std::int64_t>(std::llround(onboardSeconds * kMillisPerSecond));
        if (startsNewPass(timed, at)) {
            close();
            current_ = PassSummary{};
            current_->timed = timed;
            current_->start = at;
            current_->firstKey = timed ? at : frameId;
        }
        current_->end = at;
        current_->lastKey = timed ? at : frameId;
        ++current_->frames;
    }
    ++current_->receptions;
    if (stations_.find(station) == stations_.end()) {
        stations_.emplace(station);
    }
}

void PassGrouper::close() {
    if (current_) {
        current_->number = static_cast<std::int64_t>(passes_.size()) + 1;
        current_->stations = static_cast<std::int64_t>(stations_.size());
        passes_.push_back(*current_);
    }
    current_.reset();
    stations_.clear();
}

std::vector<PassSummary> PassGrouper::finish() {
    close();
    lastFrame_.reset();
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
