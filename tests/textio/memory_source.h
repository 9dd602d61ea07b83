#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "pelorin/byte_source.h"

// Hands out a text in reads of the given sizes (cycled); a size of 0 reports the end of the
// data once, as a file does before more is appended.
class MemorySource final : public pelorin::ByteSource {
  public:
    MemorySource(std::string data, std::vector<std::size_t> sizes)
        : data_(std::move(data)), sizes_(std::move(sizes)) {}

    pelorin::ReadOutcome read(char* buffer, std::size_t capacity) override {
        const std::size_t want = sizes_[turn_++ % sizes_.size()];
        const std::size_t n = std::min({want, capacity, data_.size() - pos_});
        std::copy_n(data_.data() + pos_, n, buffer);
        pos_ += n;
        return {n, 0};
    }
    bool exhausted() const { return pos_ == data_.size(); }
    void append(const std::string& more) { data_ += more; }

  private:
    std::string data_;
    std::vector<std::size_t> sizes_;
    std::size_t pos_ = 0;
    std::size_t turn_ = 0;
};
