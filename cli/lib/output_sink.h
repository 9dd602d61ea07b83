#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pelorin/atomic_file.h"

namespace pelorin::cli {

// When what is decoded reaches the output.
enum class Delivery {
    // Gathered and written in large blocks; a regular file replaces its target only when the
    // whole output is written, and otherwise stays as it was.
    InBlocks,
    // The header at once and each record as soon as it is complete, so that nothing decoded is
    // lost if the program is killed; a regular file is emptied at the start and written as the
    // records come.
    AsRecordsArrive,
};

// Where the output goes: standard output, or a file (see pelorin::AtomicFile for what a name
// may lead to). Once a stop is requested, a write that has to wait gives up.
class OutputSink {
  public:
    // `path`: the file, or standard output when there is none.
    OutputSink(const std::optional<std::string>& path, Delivery delivery);
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    // Prepares the target; fails with the reason, naming the file or folder.
    WriteResult open();
    // The text still to be written; append to it freely.
    std::string& buffer() { return buffer_; }
    // Call after the header and after each record: writes out what the delivery asks for.
    WriteResult endRecord();
    // Writes out the rest and, for a file, puts it in place of the target.
    WriteResult finish();
    // Gives up: a file's target keeps its previous content unless changedInPlace().
    void abandon();
    // True when a file's target already holds part of this output.
    bool changedInPlace() const { return file_ && file_->changedInPlace(); }

  private:
    WriteResult flush();

    std::optional<AtomicFile> file_;
    Delivery delivery_;
    std::string buffer_;
};

}  // namespace pelorin::cli
