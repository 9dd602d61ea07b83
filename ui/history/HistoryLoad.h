#pragma once

#include <span>

#include "history/HistoryData.h"
#include "pelorin/archive_store.h"

namespace pelorin::history {

// Reads every frame of `store` with the values `valueIndices` (each 1..35) and the on-board
// time, with the stations that heard each, groups them into the archive's passes and makes
// both time axes: one narrow read of the frames and one of the receptions. Throws ArchiveError
// as the store does.
HistoryData LoadHistory(ArchiveStore& store, std::span<const int> valueIndices);

}  // namespace pelorin::history
