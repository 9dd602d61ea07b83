#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <memory>
#include <vector>

#include "history/HistoryData.h"
#include "pelorin/archive_store.h"
#include "pelorin/csv_writer.h"

namespace pelorin {

// What the History window shows of an archive, read at one moment.
struct HistorySnapshot {
    history::HistoryData data;
};

class HistoryReader;

// Reads the archive for the History window on a thread of its own, so that a million frames
// never stall the window; results come back as queued signals, in call order.
class HistoryLoader : public QObject {
    Q_OBJECT
  public:
    explicit HistoryLoader(QObject* parent = nullptr);
    ~HistoryLoader() override;

    // Reads every frame and pass of the archive at `location`, with the values `valueIndices`,
    // and makes their series on `base`.
    void load(const QString& location, const std::vector<int>& valueIndices,
              history::TimeBase base);
    // The same after frames were added: those added alone when they follow all read before,
    // else everything again.
    void refresh(const QString& location, const std::vector<int>& valueIndices,
                 history::TimeBase base);
    // Asks for the archive's newest frame, to see whether frames came since the last load.
    void poll(const QString& location);
    // Reads the telemetry lines of pass `number`, one a line in reception order.
    void readPass(const QString& location, std::int64_t number);
    // Writes the frames within `span` on axis `base` to `path` as the CSV export does.
    void exportRange(const QString& location, history::TimeBase base, history::TimeSpan span,
                     const QString& path, CsvForm form, const std::string& decimalSeparator);
    // A load or poll is under way.
    bool busy() const { return pending_ > 0; }

  signals:
    void loaded(std::shared_ptr<const pelorin::HistorySnapshot> snapshot);
    void polled(qint64 newestFrame);
    void passRead(const QString& lines);
    // `error` is empty when the file was written.
    void exported(const QString& path, const QString& error);
    void failed(const QString& message);

  private:
    void done();

    QThread thread_;
    HistoryReader* reader_;
    int pending_ = 0;
};

// The loader's work on its thread.
class HistoryReader : public QObject {
    Q_OBJECT
  public:
    void load(const QString& location, const std::vector<int>& valueIndices,
              history::TimeBase base);
    void refresh(const QString& location, const std::vector<int>& valueIndices,
                 history::TimeBase base);
    void poll(const QString& location);
    void readPass(const QString& location, std::int64_t number);
    void exportRange(const QString& location, history::TimeBase base, history::TimeSpan span,
                     const QString& path, CsvForm form, const std::string& decimalSeparator);

  signals:
    void loaded(std::shared_ptr<const pelorin::HistorySnapshot> snapshot);
    void polled(qint64 newestFrame);
    void passRead(const QString& lines);
    void exported(const QString& path, const QString& error);
    void failed(const QString& message);

  private:
    ArchiveStore& store(const QString& location);
    // The archive at `location` opened `count` times, each a reader of its own.
    std::vector<ArchiveStore*> stores(const QString& location, std::size_t count);

    void hand(std::shared_ptr<HistorySnapshot> snapshot, const QString& location,
              history::TimeBase base);
    void fail(const ArchiveError& error);

    std::vector<std::unique_ptr<ArchiveStore>> stores_;
    // The last snapshot handed out, and where from: a refresh extends it.
    std::shared_ptr<const HistorySnapshot> last_;
    QString lastLocation_;
};

}  // namespace pelorin
