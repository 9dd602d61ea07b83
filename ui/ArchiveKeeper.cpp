#include "ArchiveKeeper.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>

#include "pelorin/archive_ingest.h"
#include "pelorin/archive_location.h"
#include "pelorin/line_reader.h"

namespace pelorin {
namespace {

constexpr std::size_t kBatchEntries = 20'000;

// The first `limit` bytes of a file.
class FilePrefix final : public ByteSource {
  public:
    FilePrefix(int fd, std::int64_t limit) : fd_(fd), left_(limit) {}
    ReadOutcome read(char* buffer, std::size_t capacity) override {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(left_, static_cast<std::int64_t>(capacity)));
        const ssize_t got = want == 0 ? 0 : ::read(fd_, buffer, want);
        if (got < 0) {
            return {0, errno};
        }
        left_ -= got;
        return {static_cast<std::size_t>(got), 0};
    }

  private:
    int fd_;
    std::int64_t left_;
};

// The lines in the first `bytes` bytes of `path` (a line start), by the line reader's rules.
std::int64_t linesBefore(const QString& path, std::int64_t bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    FilePrefix prefix(fd, bytes);
    LineReader reader(prefix);
    LineReader::Line line;
    std::int64_t count = 0;
    while (reader.next(line) == LineReader::Status::Line) {
        count = line.number;
    }
    ::close(fd);
    return count;
}

}  // namespace

ArchiveKeeper::ArchiveKeeper(QObject* parent) : QObject(parent), worker_(new ArchiveWorker) {
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &ArchiveWorker::kept, this, &ArchiveKeeper::kept);
    connect(worker_, &ArchiveWorker::failed, this, &ArchiveKeeper::failed);
    connect(worker_, &ArchiveWorker::told, this, &ArchiveKeeper::told);
    thread_.start();
}

// What was handed over is still added before the window goes.
ArchiveKeeper::~ArchiveKeeper() {
    thread_.quit();
    thread_.wait();
}

void ArchiveKeeper::keep(std::vector<KeptLine> lines, const QString& source, const QString& station,
                         std::int64_t bytesBefore, int purpose) {
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, lines = std::move(lines), source, station, bytesBefore, purpose] {
            worker->keep(lines, source, station, bytesBefore, purpose);
        },
        Qt::QueuedConnection);
}

void ArchiveKeeper::keepText(const QString& text, const QString& source, const QString& station,
                             int purpose) {
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, text, source, station, purpose] {
            const QStringList texts = text.split(QLatin1Char('\n'));
            std::vector<KeptLine> lines;
            lines.reserve(static_cast<std::size_t>(texts.size()));
            for (qsizetype k = 0; k < texts.size(); ++k) {
                lines.push_back({texts[k].toStdString(), k + 1, std::nullopt});
            }
            worker->keep(lines, source, station, 0, purpose);
        },
        Qt::QueuedConnection);
}

void ArchiveWorker::keep(const std::vector<KeptLine>& lines, const QString& source,
                         const QString& station, std::int64_t bytesBefore, int purpose) {
    const std::int64_t base = bytesBefore > 0 ? linesBefore(source, bytesBefore) : 0;
    const std::string sourceText = source.toStdString();
    ArchiveIngest ingest(station.toStdString());
    qint64 newFrames = 0;
    try {
        for (std::size_t k = 0; k < lines.size(); ++k) {
            ingest.addLine(lines[k].text, sourceText, base + lines[k].number, lines[k].readTime);
            if (ingest.entries().size() >= kBatchEntries || k + 1 == lines.size()) {
                newFrames += add(ingest.entries()).newFrames;
                ingest.clearEntries();
            }
        }
    } catch (const ArchiveError& error) {
        store_.reset();  // opened again next time: the disk may have room by then
        buffer_.reset();
        emit failed(QString::fromStdString(error.what()));
        return;
    }
    emit kept(purpose, ingest.counts().telemetryLines, newFrames);
}

AddCounts ArchiveWorker::add(std::span<const ArchiveEntry> entries) {
    if (!store_ && !buffer_) {
        const std::string location = ArchiveLocation(std::nullopt);
        if (IsServerLocation(location)) {
            buffer_ = BufferServerArchive(location, [this](const std::string& message) {
                emit told(QString::fromStdString(message));
            });
        } else {
            store_ = OpenArchive(location, ArchiveAccess::Write);
        }
    }
    return buffer_ ? buffer_->add(entries) : store_->add(entries);
}

// Frames still waiting for a server go to it if it is back, else to the local file.
ArchiveWorker::~ArchiveWorker() {
    if (buffer_) {
        try {
            buffer_->finish();
        } catch (const ArchiveError&) {
            // At exit no window is left to say it in; what waited stays unwritten.
        }
    }
}

}  // namespace pelorin
