#include "history/HistoryLoader.h"

#include <QFile>
#include <algorithm>
#include <thread>

#include "QtText.h"
#include "history/HistoryLoad.h"
#include "history/RangeExport.h"

namespace pelorin {
namespace {

// Readers of a large archive at once: one a core, up to a few.
std::size_t ReaderCount() {
    constexpr unsigned kMostReaders = 4;
    return std::clamp(std::thread::hardware_concurrency(), 1U, kMostReaders);
}

}  // namespace

HistoryLoader::HistoryLoader(QObject* parent) : QObject(parent), reader_(new HistoryReader) {
    qRegisterMetaType<std::shared_ptr<const HistorySnapshot>>();
    reader_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, reader_, &QObject::deleteLater);
    connect(reader_, &HistoryReader::loaded, this, [this](auto snapshot) {
        done();
        emit loaded(std::move(snapshot));
    });
    connect(reader_, &HistoryReader::polled, this, [this](qint64 newestFrame) {
        done();
        emit polled(newestFrame);
    });
    connect(reader_, &HistoryReader::passRead, this, [this](const QString& lines) {
        done();
        emit passRead(lines);
    });
    connect(reader_, &HistoryReader::exported, this,
            [this](const QString& path, const QString& error) {
                done();
                emit exported(path, error);
            });
    connect(reader_, &HistoryReader::failed, this, [this](const QString& message) {
        done();
        emit failed(message);
    });
    thread_.start();
}

HistoryLoader::~HistoryLoader() {
    thread_.quit();
    thread_.wait();
}

void HistoryLoader::load(const QString& location, const std::vector<int>& valueIndices,
                         history::TimeBase base) {
    ++pending_;
    QMetaObject::invokeMethod(reader_, [r = reader_, location, valueIndices, base] {
        r->load(location, valueIndices, base);
    });
}

void HistoryLoader::refresh(const QString& location, const std::vector<int>& valueIndices,
                            history::TimeBase base) {
    ++pending_;
    QMetaObject::invokeMethod(reader_, [r = reader_, location, valueIndices, base] {
        r->refresh(location, valueIndices, base);
    });
}

void HistoryLoader::poll(const QString& location) {
    ++pending_;
    QMetaObject::invokeMethod(reader_, [r = reader_, location] { r->poll(location); });
}

void HistoryLoader::readPass(const QString& location, std::int64_t number) {
    ++pending_;
    QMetaObject::invokeMethod(reader_,
                              [r = reader_, location, number] { r->readPass(location, number); });
}

void HistoryLoader::exportRange(const QString& location, history::TimeBase base,
                                history::TimeSpan span, const QString& path, CsvForm form,
                                const std::string& decimalSeparator) {
    ++pending_;
    QMetaObject::invokeMethod(reader_, [=, r = reader_] {
        r->exportRange(location, base, span, path, form, decimalSeparator);
    });
}

void HistoryLoader::done() {
    --pending_;
}

std::vector<ArchiveStore*> HistoryReader::stores(const QString& location, std::size_t count) {
    if (!stores_.empty() && stores_.front()->location() != location.toStdString()) {
        stores_.clear();
    }
    while (stores_.size() < count) {
        stores_.push_back(OpenArchive(location.toStdString(), ArchiveAccess::Read));
    }
    std::vector<ArchiveStore*> open;
    for (std::size_t k = 0; k < count; ++k) {
        open.push_back(stores_[k].get());
    }
    return open;
}

ArchiveStore& HistoryReader::store(const QString& location) {
    return *stores(location, 1).front();
}

void HistoryReader::load(const QString& location, const std::vector<int>& valueIndices,
                         history::TimeBase base) {
    try {
        auto snapshot = std::make_shared<HistorySnapshot>();
        snapshot->data = history::LoadHistory(stores(location, ReaderCount()), valueIndices);
        hand(std::move(snapshot), location, base);
    } catch (const ArchiveError& error) {
        fail(error);
    }
}

void HistoryReader::refresh(const QString& location, const std::vector<int>& valueIndices,
                            history::TimeBase base) {
    if (!last_ || location != lastLocation_ || last_->data.valueIndices != valueIndices) {
        load(location, valueIndices, base);
        return;
    }
    try {
        std::optional<history::HistoryData> extended =
            history::ExtendHistory(last_->data, store(location));
        if (!extended) {
            load(location, valueIndices, base);
            return;
        }
        auto snapshot = std::make_shared<HistorySnapshot>();
        snapshot->data = std::move(*extended);
        hand(std::move(snapshot), location, base);
    } catch (const ArchiveError& error) {
        fail(error);
    }
}

// The archive could not be read: it is opened anew, and read whole, next time.
void HistoryReader::fail(const ArchiveError& error) {
    stores_.clear();
    last_.reset();
    emit failed(QString::fromStdString(error.what()));
}

// Makes the series the window charts first here rather than on its thread, keeps the snapshot
// for the next refresh and hands it out.
void HistoryReader::hand(std::shared_ptr<HistorySnapshot> snapshot, const QString& location,
                         history::TimeBase base) {
    history::MakeAllSeries(snapshot->data, base, static_cast<unsigned>(ReaderCount()));
    last_ = snapshot;
    lastLocation_ = location;
    emit loaded(std::move(snapshot));
}

void HistoryReader::poll(const QString& location) {
    try {
        emit polled(store(location).newestFrame());
    } catch (const ArchiveError& error) {
        fail(error);
    }
}

void HistoryReader::readPass(const QString& location, std::int64_t number) {
    try {
        std::string lines;
        FrameQuery query;
        query.pass = number;
        store(location).forEachFrame(query, [&lines](const ArchivedFrame& frame) {
            lines.append(history::TelemetryLine(frame)).push_back('\n');
        });
        emit passRead(ToQString(lines));
    } catch (const ArchiveError& error) {
        fail(error);
    }
}

void HistoryReader::exportRange(const QString& location, history::TimeBase base,
                                history::TimeSpan span, const QString& path, CsvForm form,
                                const std::string& decimalSeparator) {
    WriteResult result;
    try {
        result =
            history::WriteRangeCsv(store(location), base, span,
                                   QFile::encodeName(path).toStdString(), form, decimalSeparator);
    } catch (const ArchiveError& error) {
        stores_.clear();
        result = {false, error.what(), 0};
    }
    emit exported(path, result.ok ? QString() : QString::fromLocal8Bit(result.error));
}

}  // namespace pelorin
