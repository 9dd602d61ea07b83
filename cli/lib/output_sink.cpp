#include "output_sink.h"

#include <unistd.h>

#include <system_error>

#include "pelorin/write_all.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

// Large writes: fewer system calls, each of which costs about as much as decoding many lines.
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

WriteResult writeToStdout(std::string_view data) {
    if (const int error = WriteAll(STDOUT_FILENO, data, StopRequested); error != 0) {
        return {false, "could not write standard output: " + std::generic_category().message(error),
                error};
    }
    return {true, {}};
}

WriteMode writeModeFor(Delivery delivery) {
    return delivery == Delivery::AsRecordsArrive ? WriteMode::AsWritten : WriteMode::WhenComplete;
}

}  // namespace

OutputSink::OutputSink(const std::optional<std::string>& path, Delivery delivery)
    : delivery_(delivery) {
    if (path) {
        file_.emplace(*path, writeModeFor(delivery));
        file_->setStopCheck(StopRequested);
    }
    buffer_.reserve(2 * kBlockBytes);
}

WriteResult OutputSink::open() {
    return file_ ? file_->open() : WriteResult{true, {}};
}

WriteResult OutputSink::endRecord() {
    if (delivery_ == Delivery::AsRecordsArrive || buffer_.size() >= kBlockBytes) {
        return flush();
    }
    return {true, {}};
}

WriteResult OutputSink::flush() {
    if (buffer_.empty()) {
        return {true, {}};
    }
    WriteResult r = file_ ? file_->write(buffer_) : writeToStdout(buffer_);
    buffer_.clear();
    return r;
}

WriteResult OutputSink::finish() {
    WriteResult r = flush();
    if (r.ok && file_) {
        r = file_->commit();
    }
    return r;
}

void OutputSink::abandon() {
    buffer_.clear();
    if (file_) {
        file_->discard();
    }
}

}  // namespace pelorin::cli
