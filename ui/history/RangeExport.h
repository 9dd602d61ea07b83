#pragma once

#include <filesystem>
#include <string_view>

#include "history/HistoryData.h"
#include "pelorin/atomic_file.h"
#include "pelorin/csv_writer.h"

namespace pelorin::history {

// The export's query for `span` on the reception axis: the frames first received within it,
// to the millisecond.
FrameQuery ReceptionQuery(TimeSpan span);

// Writes the frames within `span` on time axis `base` to `path` in the CSV export's `form`,
// as pelorin-archive export writes the same frames, under the file rules of every export: the
// file is replaced only when complete. A failure to read the archive is reported as one to
// write, naming the archive.
WriteResult WriteRangeCsv(ArchiveStore& store, TimeBase base, TimeSpan span,
                          const std::filesystem::path& path, CsvForm form,
                          std::string_view decimalSeparator);

}  // namespace pelorin::history
