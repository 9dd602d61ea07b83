#include "output_clash.h"

#include <sys/stat.h>
#include <unistd.h>

#include "fd_source.h"

namespace pelorin::cli {
namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

OutputClash FindOutputClash(const Options& options) {
    struct stat output {};
    if (!options.outputPath || ::stat(options.outputPath->c_str(), &output) != 0 ||
        !S_ISREG(output.st_mode)) {
        return OutputClash::None;
    }
    bool readsStdin = options.inputs.empty();
    for (const std::string& name : options.inputs) {
        struct stat input {};
        if (name == kStdinName) {
            readsStdin = true;
        } else if (::stat(name.c_str(), &input) == 0 && sameFile(input, output)) {
            return OutputClash::NamedInput;
        }
    }
    struct stat input {};
    if (readsStdin && ::fstat(STDIN_FILENO, &input) == 0 && sameFile(input, output)) {
        return OutputClash::StandardInput;
    }
    return OutputClash::None;
}

}  // namespace pelorin::cli
