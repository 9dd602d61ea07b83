#include "history/HistoryLoader.h"

#include <numeric>

#include "QtText.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {
namespace {

// Every value but the on-board time, which is read as the second time axis anyway.
std::vector<int> AllValues() {
    std::vector<int> values(kValuesPerRecord - 1);
    std::iota(values.begin(), values.end(), 1);
    return values;
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
    connect(reader_, &HistoryReader::polled, this, [this](qint64 frames, qint64 receptions) {
        done();
        emit polled(frames, receptions);
    });
    connect(reader_, &HistoryReader::passRead, this, [this](const QString& lines) {
        done();
        emit passRead(lines);
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

void HistoryLoader::load(const QString& location) {
    ++pending_;
    QMetaObject::invokeMethod(reader_, [r = reader_, location] { r->load(location); });
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

void HistoryLoader::done() {
    --pending_;
}

ArchiveStore& HistoryReader::store(const QString& location) {
    if (!store_ || store_->location() != location.toStdString()) {
        store_.reset();
        store_ = OpenArchive(location.toStdString(), ArchiveAccess::Read);
    }
    return *store_;
}

void HistoryReader::load(const QString& location) {
    try {
        ArchiveStore& archive = store(location);
        auto snapshot = std::make_shared<HistorySnapshot>();
        snapshot->stats = archive.stats();
        snapshot->data = history::LoadHistory(archive, AllValues());
        snapshot->passes = archive.passes({});
        emit loaded(std::move(snapshot));
    } catch (const ArchiveError& error) {
        store_.reset();
        emit failed(QString::fromStdString(error.what()));
    }
}

void HistoryReader::poll(const QString& location) {
    try {
        const ArchiveStats stats = store(location).stats();
        emit polled(stats.frames, stats.receptions);
    } catch (const ArchiveError& error) {
        store_.reset();
        emit failed(QString::fromStdString(error.what()));
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
        store_.reset();
        emit failed(QString::fromStdString(error.what()));
    }
}

}  // namespace pelorin
