#include "pelorin/number_text_cache.h"

#include <bit>
#include <cstring>

namespace pelorin {
NumberTextCache::NumberTextCache(Formatter formatter)
    : formatter_(std::move(formatter)), entries_(std::size_t{1} << kIndexBits) {}

std::size_t NumberTextCache::putNew(std::string& out, std::size_t pos, double value) {
    scratch_.clear();
    formatter_(scratch_, value);
    if (scratch_.empty() || scratch_.size() > kMaxText) {
        out.resize(out.size() + scratch_.size());
        std::memcpy(out.data() + pos, scratch_.data(), scratch_.size());
        return pos + scratch_.size();
    }
    Entry& entry = entries_[indexOf(value)];
    entry.bits = std::bit_cast<std::uint64_t>(value);
    entry.length = static_cast<std::uint8_t>(scratch_.size());
    std::memcpy(entry.text, scratch_.data(), scratch_.size());
    std::memcpy(out.data() + pos, entry.text, kMaxText);
    return pos + entry.length;
}

}  // namespace pelorin
