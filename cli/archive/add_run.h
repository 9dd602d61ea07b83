#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive_options.h"
#include "input_run.h"
#include "pelorin/archive_ingest.h"
#include "pelorin/archive_store.h"
#include "pelorin/buffered_archive.h"
#include "pelorin/line_reader.h"
#include "pelorin/log_follower.h"

namespace pelorin::cli {

// One `pelorin-archive add`: reads the inputs by pelorin-decode's rules (or follows the one
// input), decodes their lines and adds the frames in batches, each batch one transaction. A
// stop signal commits what was read and ends it.
class AddRun final : public InputRun {
  public:
    AddRun(const ArchiveOptions& options, ArchiveStore& store);
    // The exit status.
    int run();

  private:
    InputEnd readStream(int fd, const std::string& name) override;
    InputEnd followFile(LogFollower& follower, const std::string& name) override;
    bool ended() const override { return archiveFailed_; }
    void printSummary() const override;
    bool commit();

    const ArchiveOptions& options_;
    ArchiveStore& store_;
    // While following a server: what waits for it when it is away.
    std::unique_ptr<BufferedArchive> buffer_;
    ArchiveIngest ingest_;
    AddCounts added_;
    bool archiveFailed_ = false;
};

}  // namespace pelorin::cli
