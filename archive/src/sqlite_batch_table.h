#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pelorin/archive_store.h"

namespace pelorin::sqlite {

// One add's entries with what the store works out about them, one element of each vector an
// entry, as the statements of an add read them from kBatchTable.
struct Batch {
    std::span<const ArchiveEntry> entries;
    std::vector<std::string> packed;    // the digits as packed_digits keeps them
    std::vector<char> packedIsBytes;    // else the packed digits are text
    std::vector<std::string> received;  // the archive's form of the time, when there is one
    std::vector<std::int64_t> frameId;
    std::vector<char> firstInBatch;  // no earlier entry of the batch has these digits
    std::vector<char> newFrame;      // the entry that adds its frame to the archive
    std::vector<char> archived;      // its frame was archived before this batch

    // Makes room for `more` entries and takes them; the rest is theirs to fill.
    void take(std::span<const ArchiveEntry> more);
};

// Lets the statements of `db` read `batch` as the table kBatchTable, whatever it holds when
// they run. `batch` must outlive the connection.
void AddBatchTable(sqlite3* db, const Batch& batch);

}  // namespace pelorin::sqlite
