#pragma once

#include <memory>
#include <string>

#include "pelorin/archive_store.h"
#include "sqlite_batch_writer.h"
#include "sqlite_checkpointer.h"
#include "sqlite_connection.h"

namespace pelorin {

// The archive in one SQLite file, written ahead (WAL) so that readers and one writer at a time
// work side by side; a writer that finds another one at work waits for it.
class SqliteStore final : public ArchiveStore {
  public:
    SqliteStore(std::string path, ArchiveAccess access);
    ~SqliteStore() override;

    const std::string& location() const override { return path_; }
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
    void refuseWhatIsNoArchive() const;
    void refuseNewer(int version) const;
    void open(ArchiveAccess access);
    void upgrade();
    void beginWriting();
    // Runs `step` again while another connection holds the file, for as long as beginWriting
    // would wait.
    void whileBusy(const std::function<void()>& step);
    void scanFrames(std::string_view where, std::string_view order, TimeRange bounds,
                    const std::function<void(const ArchivedFrame&)>& visit);
    [[noreturn]] void fail(std::string_view doing, const sqlite::Failure& failure) const;

    std::string path_;
    std::unique_ptr<sqlite::Connection> db_;
    std::unique_ptr<sqlite::BatchWriter> writer_;
    std::unique_ptr<sqlite::Checkpointer> checkpointer_;
};

}  // namespace pelorin
