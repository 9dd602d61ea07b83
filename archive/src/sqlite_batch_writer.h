#pragma once

#include <sqlite3.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pelorin/archive_store.h"
#include "sqlite_batch_table.h"
#include "sqlite_connection.h"

namespace pelorin::sqlite {

// Adds a batch of entries to the archive in a handful of statements, each over the whole batch,
// rather than a few statements an entry: the frames it holds already are found in one pass,
// the new ones inserted in one and the receptions in two more.
class BatchWriter {
  public:
    explicit BatchWriter(sqlite3* db);
    ~BatchWriter();
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    // Within the caller's transaction, which holds the write lock.
    AddCounts add(std::span<const ArchiveEntry> entries);

  private:
    struct Statements;

    void take(std::span<const ArchiveEntry> entries);
    void findArchived();
    std::int64_t numberNewFrames();
    void noteArchivedFramesHeardAt();
    void setEarliestReceptions();

    sqlite3* db_;
    Batch batch_;
    std::unique_ptr<Statements> statements_;
    // Per entry: the first entry of the batch with its digits, and for that one whether its
    // frame was archived before the batch and, for a new frame, its earliest reception so far.
    std::vector<std::size_t> firstOf_;
    std::vector<char> archived_;
    std::vector<std::string> earliest_;
    std::vector<char> hasEarliest_;
    std::unordered_map<std::string_view, std::size_t> byDigits_;
    // The frames whose first reception is to be found again from their receptions.
    std::vector<std::int64_t> earlierFrames_;
};

}  // namespace pelorin::sqlite
