#pragma once

#include <optional>
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

// `previous` with the frames archived since it was read (those of larger ids), read alone, when
// they come after all of its frames on both time axes, as a followed log's do; nothing when they
// do not, or when frames without a reception time are among either, and the archive is to be
// read whole instead. New receptions of frames read before are not seen. Throws ArchiveError as
// the store does.
std::optional<HistoryData> ExtendHistory(const HistoryData& previous, ArchiveStore& store);

}  // namespace pelorin::history
