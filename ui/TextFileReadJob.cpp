#include "TextFileReadJob.h"

#include <algorithm>

#include "BoxLines.h"
#include "QtText.h"
#include "TextFileLoader.h"

namespace pelorin {
namespace {

constexpr int kQueuedPieces = 16;  // pieces read ahead of the window

}  // namespace

TextFileReadJob::TextFileReadJob(QString path) : path_(std::move(path)), room_(kQueuedPieces) {}

void TextFileReadJob::stop() {
    stop_.request_stop();
    room_.release();  // a run() waiting for room sees the stop
}

void TextFileReadJob::run() {
    const std::stop_token stop = stop_.get_token();
    TextFileLoader loader(path_);
    QString error = loader.check(stop);
    const std::int64_t fileBytes = std::max<std::int64_t>(1, loader.size());
    box_lines::InsertedTextMarks marks;
    if (error.isEmpty() && !stop.stop_requested()) {
        error = loader.read([&](const QString& piece, std::int64_t bytesRead) {
            marks.add(Utf16(piece));
            room_.acquire();
            if (stop.stop_requested()) {
                return false;
            }
            emit pieceRead(piece, static_cast<int>(bytesRead * kProgressSteps / fileBytes));
            return true;
        });
    }
    emit finished(error, marks.finish());
}

}  // namespace pelorin
