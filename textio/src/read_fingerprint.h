#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "log_file.h"

namespace pelorin {

// The first bytes read of a file and the last ones before the place reading has reached. A file
// that only grew still holds them where they were read; one that was emptied and written again
// (copy-and-truncate) almost never does, even when it has grown past that place since.
class ReadFingerprint {
  public:
    static constexpr std::size_t kBytes = 256;

    void clear();
    // `bytes` were just read at `offset`, right after the bytes noted before.
    void note(std::string_view bytes, std::int64_t offset);
    // Takes the bytes before `offset` from the file, for reading that begins there.
    void capture(const LogFile& file, std::int64_t offset);
    // Whether `file` still holds the noted bytes where they were read.
    bool heldBy(const LogFile& file) const;

  private:
    std::string head_;  // from offset 0 on
    std::string tail_;  // the bytes before end_
    std::int64_t end_ = 0;
};

}  // namespace pelorin
