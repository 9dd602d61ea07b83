#include "output_sink.h"

#include <unistd.h>

#include <system_error>

#include "pelorin/write_all.h"

namespace pelorin::cli {
namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 15;

WriteResult writeToStdout(std::string_view data) {
    if (const int error = WriteAll(STDOUT_FILENO, data); error != 0) {
        return {false,
                "could not write standard output: " + std::generic_category().message(error)};
    }
    return {true, {}};
}

}  // namespace

OutputSink::OutputSink() {
    buffer_.reserve(2 * kBlockBytes);
}

OutputSink::OutputSink(const std::string& path) : file_(std::in_place, path) {
    buffer_.reserve(2 * kBlockBytes);
}

OutputSink::~OutputSink() = default;

WriteResult OutputSink::open() {
    return file_ ? file_->open() : WriteResult{true, {}};
}

WriteResult OutputSink::writeIfFull() {
    return buffer_.size() >= kBlockBytes ? flush() : WriteResult{true, {}};
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

std::string OutputSink::name() const {
    return file_ ? file_->target().string() : std::string("standard output");
}

}  // namespace pelorin::cli
