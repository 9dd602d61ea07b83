#pragma once

#include <span>

#include "history/HistoryData.h"
#include "pelorin/archive_store.h"

namespace pelorin::history {

// Reads every frame with the values `valueIndices` (each 1..35) and the on-board time, with the
// stations that heard each, groups them into the archive's passes and makes both time axes: one
// narrow read of the frames and one of the receptions. `stores` (at least one) are the same
// archive opened once for each reader: the frames are split among them, read at once. Throws
// ArchiveError as a store does.
HistoryData LoadHistory(std::span<ArchiveStore* const> stores, std::span<const int> valueIndices);

}  // namespace pelorin::history
