#pragma once

#include "archive_options.h"
#include "pelorin/archive_store.h"

namespace pelorin::cli {

// The reading commands; each returns the exit status and reports its errors.
int ListPasses(const ArchiveOptions& options, ArchiveStore& store);
int ExportFrames(const ArchiveOptions& options, ArchiveStore& store);
int ShowStats(ArchiveStore& store);

}  // namespace pelorin::cli
