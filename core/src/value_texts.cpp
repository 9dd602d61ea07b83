#include "pelorin/value_texts.h"

#include <cmath>
#include <limits>
#include <optional>

#include "scalings.h"

namespace pelorin {
namespace {

constexpr std::size_t kScaledTables = kScalingCount - 1;  // every scaling but None

// The reading that `value` was scaled from: the scaling inverted, rounded, and checked bit for
// bit. None when no 32-bit reading gives exactly `value`.
std::optional<std::int32_t> ReadingOf(Scaling scaling, double value) {
    const double estimate = std::nearbyint(InverseScale(scaling, value));
    constexpr double kLimit = 2147483648.0;  // 2^31
    if (!(estimate >= -kLimit && estimate < kLimit)) {
        return std::nullopt;  // NaN or out of range
    }
    const auto n = static_cast<std::int32_t>(estimate);
    if (std::bit_cast<std::uint64_t>(Scale(scaling, n)) != std::bit_cast<std::uint64_t>(value)) {
        return std::nullopt;
    }
    return n;
}

}  // namespace

ValueTexts::ValueTexts(Formatter formatter, WholeNumbers wholeNumbers)
    : formatter_(std::move(formatter)),
      wholeNumbers_(wholeNumbers),
      entries_(kScaledTables * kTableReadings) {}

std::size_t ValueTexts::put(std::string& out, std::size_t pos, Scaling scaling, double value) {
    if (const std::optional<std::int32_t> n = ReadingOf(scaling, value)) {
        return put(out, pos, scaling, *n);
    }
    return putText(out, pos, value);
}

std::size_t ValueTexts::putNew(std::string& out, std::size_t pos, Scaling scaling, std::int32_t n) {
    scratch_.clear();
    formatter_(scratch_, Scale(scaling, n));
    if (scratch_.empty() || scratch_.size() > kMaxText) {
        return putText(out, pos, Scale(scaling, n));
    }
    Entry& entry = entries_[slot(scaling, n)];
    entry.length = static_cast<std::uint8_t>(scratch_.size());
    std::memcpy(entry.text, scratch_.data(), scratch_.size());
    std::memcpy(out.data() + pos, entry.text, kMaxText);
    return pos + entry.length;
}

std::size_t ValueTexts::putFormatted(std::string& out, std::size_t pos, Scaling scaling,
                                     std::int32_t n) {
    return putText(out, pos, Scale(scaling, n));
}

std::size_t ValueTexts::putText(std::string& out, std::size_t pos, double value) {
    scratch_.clear();
    formatter_(scratch_, value);
    if (scratch_.size() > kMaxText) {
        out.resize(out.size() + scratch_.size() - kMaxText);
    }
    std::memcpy(out.data() + pos, scratch_.data(), scratch_.size());
    return pos + scratch_.size();
}

}  // namespace pelorin
