#include "sqlite_batch_writer.h"

#include <algorithm>

#include "sqlite_schema.h"

namespace pelorin::sqlite {

struct BatchWriter::Statements {
    explicit Statements(sqlite3* db)
        : lastId(db, LastFrameIdSql()),
          find(db, FindBatchFramesSql()),
          insertFrames(db, InsertBatchFramesSql()),
          insertReceptions(db, InsertBatchReceptionsSql(false)),
          insertArchivedReceptions(db, InsertBatchReceptionsSql(true)),
          earliest(db, EarliestReceptionSql()) {}
    Statement lastId;
    Statement find;
    Statement insertFrames;
    Statement insertReceptions;
    Statement insertArchivedReceptions;
    Statement earliest;
};

BatchWriter::BatchWriter(sqlite3* db) : db_(db) {
    AddBatchTable(db_, batch_);
    statements_ = std::make_unique<Statements>(db_);
}

BatchWriter::~BatchWriter() = default;

AddCounts BatchWriter::add(std::span<const ArchiveEntry> entries) {
    AddCounts counts;
    if (entries.empty()) {
        return counts;
    }
    take(entries);
    findArchived();
    counts.newFrames = numberNewFrames();
    counts.knownFrames = static_cast<std::int64_t>(entries.size()) - counts.newFrames;
    if (counts.newFrames > 0) {
        statements_->insertFrames.run();
    }
    statements_->insertReceptions.run();
    counts.newReceptions = sqlite3_changes64(db_);
    statements_->insertArchivedReceptions.run();
    const std::int64_t ofArchived = sqlite3_changes64(db_);
    counts.newReceptions += ofArchived;
    if (ofArchived > 0) {
        noteArchivedFramesHeardAt();
    }
    setEarliestReceptions();
    return counts;
}

// Packs each entry's digits, writes its time and finds the first entry of the batch that has
// the same digits.
void BatchWriter::take(std::span<const ArchiveEntry> entries) {
    const std::size_t n = entries.size();
    batch_.take(entries);
    firstOf_.resize(n);
    archived_.assign(n, 0);
    earliest_.resize(n);
    hasEarliest_.assign(n, 0);
    byDigits_.clear();
    byDigits_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const ArchiveEntry& e = entries[i];
        batch_.packedIsBytes[i] = PackDigits(e.digits, batch_.packed[i]) ? 1 : 0;
        if (e.received) {
            batch_.received[i] = FormatUtcTime(*e.received);
        } else {
            batch_.received[i].clear();
        }
        const auto [first, isFirst] = byDigits_.try_emplace(e.digits, i);
        firstOf_[i] = first->second;
        batch_.firstInBatch[i] = isFirst ? 1 : 0;
    }
}

void BatchWriter::findArchived() {
    Statement& find = statements_->find;
    while (find.step()) {
        const auto row = static_cast<std::size_t>(find.integer(0));
        archived_[row] = 1;
        batch_.frameId[row] = find.integer(1);
    }
    find.reset();
}

// Gives each frame not yet archived the next id, in the order of the batch, and each entry its
// frame's id; notes the new frames that a later entry of the batch gives an earlier reception.
std::int64_t BatchWriter::numberNewFrames() {
    Statement& last = statements_->lastId;
    last.step();
    std::int64_t nextId = last.integer(0) + 1;
    last.reset();
    std::int64_t added = 0;
    earlierFrames_.clear();
    for (std::size_t i = 0; i < batch_.entries.size(); ++i) {
        const std::size_t first = firstOf_[i];
        const bool received = batch_.entries[i].received.has_value();
        batch_.archived[i] = archived_[first];
        if (first == i && archived_[i] == 0) {
            batch_.frameId[i] = nextId++;
            batch_.newFrame[i] = 1;
            ++added;
            hasEarliest_[i] = received ? 1 : 0;
            earliest_[i] = batch_.received[i];
            continue;
        }
        batch_.frameId[i] = batch_.frameId[first];
        if (archived_[first] == 0 && received &&
            (hasEarliest_[first] == 0 || batch_.received[i] < earliest_[first])) {
            earlierFrames_.push_back(batch_.frameId[i]);
            hasEarliest_[first] = 1;
            earliest_[first] = batch_.received[i];
        }
    }
    return added;
}

// Some of the batch's receptions of archived frames were new: each of those frames with a time
// in the batch may have been heard earlier than it was.
void BatchWriter::noteArchivedFramesHeardAt() {
    for (std::size_t i = 0; i < batch_.entries.size(); ++i) {
        if (batch_.archived[i] != 0 && batch_.entries[i].received) {
            earlierFrames_.push_back(batch_.frameId[i]);
        }
    }
}

// A frame's first reception comes from its receptions themselves, since an entry whose
// reception was archived before brings no new time.
void BatchWriter::setEarliestReceptions() {
    std::sort(earlierFrames_.begin(), earlierFrames_.end());
    earlierFrames_.erase(std::unique(earlierFrames_.begin(), earlierFrames_.end()),
                         earlierFrames_.end());
    for (const std::int64_t id : earlierFrames_) {
        statements_->earliest.bind(1, id);
        statements_->earliest.run();
    }
}

}  // namespace pelorin::sqlite
