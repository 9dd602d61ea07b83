#include "history/HistoryLoader.h"

#include <QFile>

#include "QtText.h"
#include "history/HistoryLoad.h"
#include "history/RangeExport.h"

namespace pelorin {

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

void HistoryLoader::load(const QString& location, const std::vector<int>& valueIndices) {
    ++pending_;
    QMetaObject::invokeMethod(
        reader_, [r = reader_, location, valueIndices] { r->load(location, valueIndices); });
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

ArchiveStore& HistoryReader::store(const QString& location) {
    if (!store_ || store_->location() != location.toStdString()) {
        store_.reset();
        store_ = OpenArchive(location.toStdString(), ArchiveAccess::Read);
    }
    return *store_;
}

void HistoryReader::load(const QString& location, const std::vector<int>& valueIndices) {
    try {
        auto snapshot = std::make_shared<HistorySnapshot>();
        snapshot->data = history::LoadHistory(store(location), valueIndices);
        emit loaded(std::move(snapshot));
    } catch (const ArchiveError& error) {
        store_.reset();
        emit failed(QString::fromStdString(error.what()));
    }
}

void HistoryReader::poll(const QString& location) {
    try {
        emit polled(store(location).newestFrame());
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

void HistoryReader::exportRange(const QString& location, history::TimeBase base,
                                history::TimeSpan span, const QString& path, CsvForm form,
                                const std::string& decimalSeparator) {
    WriteResult result;
    try {
        result =
            history::WriteRangeCsv(store(location), base, span,
                                   QFile::encodeName(path).toStdString(), form, decimalSeparator);
    } catch (const ArchiveError& error) {
        store_.reset();
        result = {false, error.what(), 0};
    }
    emit exported(path, result.ok ? QString() : QString::fromLocal8Bit(result.error));
}

}  // namespace pelorin
