#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive_options.h"
#include "pelorin/archive_ingest.h"
#include "pelorin/archive_store.h"
#include "pelorin/buffered_archive.h"
#include "pelorin/line_reader.h"
#include "pelorin/log_follower.h"

namespace pelorin::cli {

// One `pelorin-archive add`: reads the inputs by pelorin-decode's rules (or follows the one
// input), decodes their lines and adds the frames in batches, each batch one transaction. A
// stop signal commits what was read and ends it.
class AddRun {
  public:
    AddRun(const ArchiveOptions& options, ArchiveStore& store);
    // The exit status.
    int run();

  private:
    enum class InputEnd { Done, Failed, Stopped };

    InputEnd addInput(const std::string& name);
    InputEnd addStream(int fd, const std::string& source);
    std::optional<InputEnd> followIfFile(const std::string& name, const std::string& source);
    InputEnd followFile(LogFollower& follower, const std::string& name, const std::string& source);
    bool commit();
    void printSummary() const;

    const ArchiveOptions& options_;
    ArchiveStore& store_;
    // While following a server: what waits for it when it is away.
    std::unique_ptr<BufferedArchive> buffer_;
    ArchiveIngest ingest_;
    AddCounts added_;
    bool archiveFailed_ = false;
    std::int64_t pendingAtStop_ = 0;
};

}  // namespace pelorin::cli
