#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "pelorin/atomic_file.h"

namespace pelorin::cli {

// Where the output goes: standard output, or a file that replaces its target only when the
// whole output is written. Text is gathered in a buffer and written in large blocks.
class OutputSink {
  public:
    // Standard output.
    OutputSink();
    // A file, through a temporary beside it.
    explicit OutputSink(const std::string& path);
    ~OutputSink();
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;

    // Prepares the target; fails with the reason, naming the file or folder.
    WriteResult open();
    // The text still to be written; append to it freely.
    std::string& buffer() { return buffer_; }
    // Writes the buffer out once it holds a block's worth.
    WriteResult writeIfFull();
    // Writes out everything gathered so far.
    WriteResult flush();
    // Writes out the rest and, for a file, puts it in place of the target.
    WriteResult finish();
    // Gives up: a file's target keeps its previous content.
    void abandon();
    // The name to show in messages.
    std::string name() const;

  private:
    std::optional<AtomicFile> file_;
    std::string buffer_;
};

}  // namespace pelorin::cli
