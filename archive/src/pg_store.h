#pragma once

#include <memory>
#include <string>

#include "pelorin/archive_store.h"
#include "pg_connection.h"

namespace pelorin {

// The archive in a PostgreSQL database, shared by stations that add to it at the same time:
// each add is one transaction, and the server settles frames that two of them bring at once.
class PostgresStore final : public ArchiveStore {
  public:
    // `uri`: a postgresql:// or postgres:// URI, passed to libpq whole.
    PostgresStore(const std::string& uri, ArchiveAccess access);

    // The URI without its password.
    const std::string& location() const override { return shown_; }
    AddCounts add(std::span<const ArchiveEntry> entries) override;
    std::vector<PassSummary> passes(const TimeRange& range) override;
    void forEachFrame(const FrameQuery& query,
                      const std::function<void(const ArchivedFrame&)>& visit) override;
    ArchiveStats stats() override;
    void forEachChartFrame(std::span<const int> valueIndices, FrameIds ids,
                           const std::function<void(const ChartFrame&)>& visit) override;
    void forEachStation(FrameIds ids,
                        const std::function<void(std::int64_t, std::string_view)>& visit) override;
    std::int64_t newestFrame() override;
    void forEachEntry(const std::function<void(const ArchiveEntry&)>& visit) override;

  private:
    int version();
    void upgrade();
    AddCounts addOnce(std::span<const ArchiveEntry> entries);
    void scanFrames(std::string_view where, std::string_view order, const pg::Params& bounds,
                    const std::function<void(const ArchivedFrame&)>& visit);
    [[noreturn]] void fail(std::string_view doing, const pg::Failure& failure) const;

    std::string shown_;
    std::unique_ptr<pg::Connection> db_;
    bool writing_ = false;
};

}  // namespace pelorin
