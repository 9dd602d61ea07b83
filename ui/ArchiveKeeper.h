#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pelorin/archive_store.h"
#include "pelorin/buffered_archive.h"

namespace pelorin {

// A line to archive: its text as read, its 1-based number in its source, and the time it was
// read when it came while following (the time written before its marker goes first).
struct KeptLine {
    std::string text;
    std::int64_t number = 0;
    std::optional<UtcMillis> readTime;
};

class ArchiveWorker;

// Adds the window's telemetry lines to the archive ($PELORIN_ARCHIVE, else the default) on a
// thread of its own, so that a slow, locked or full archive never stalls the window. Each call
// is decoded and added in batches there; the results come back as signals, in call order.
class ArchiveKeeper : public QObject {
    Q_OBJECT
  public:
    explicit ArchiveKeeper(QObject* parent = nullptr);
    ~ArchiveKeeper() override;

    // Adds `lines` of `source` (an absolute path, or "paste"), heard by `station`. With
    // `bytesBefore` > 0 the lines are numbered after the first `linesBefore` bytes of the file
    // `source`, which are counted first (a followed log's tail).
    // `purpose` comes back with the results.
    void keep(std::vector<KeptLine> lines, const QString& source, const QString& station,
              std::int64_t bytesBefore, int purpose);

    // The same for the lines of `text`, numbered from 1; split on the keeper's thread.
    void keepText(const QString& text, const QString& source, const QString& station, int purpose);

  signals:
    void kept(int purpose, qint64 telemetryLines, qint64 newFrames);
    void failed(const QString& message);
    // A server archive was lost, is back, or handed waiting frames to the local file.
    void told(const QString& message);

  private:
    QThread thread_;
    ArchiveWorker* worker_;
};

// The keeper's work on its thread.
class ArchiveWorker : public QObject {
    Q_OBJECT
  public:
    ~ArchiveWorker() override;
    void keep(const std::vector<KeptLine>& lines, const QString& source, const QString& station,
              std::int64_t bytesBefore, int purpose);

  signals:
    void kept(int purpose, qint64 telemetryLines, qint64 newFrames);
    void failed(const QString& message);
    void told(const QString& message);

  private:
    // Adds to the file archive, or through a buffer to a server that may go away for a while.
    AddCounts add(std::span<const ArchiveEntry> entries);

    std::unique_ptr<ArchiveStore> store_;
    std::unique_ptr<BufferedArchive> buffer_;
};

}  // namespace pelorin
