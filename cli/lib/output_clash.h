#pragma once

#include "options.h"

namespace pelorin::cli {

// How the output file is also an input, which writing it would destroy.
enum class OutputClash {
    None,
    NamedInput,     // one of the input FILEs, perhaps through a link or another hard link
    StandardInput,  // standard input is read, and comes from the output file
};

// Compares device and inode of an output that is a regular file with those of the inputs.
// Devices and pipes are never a clash: they are written, not replaced.
OutputClash FindOutputClash(const Options& options);

}  // namespace pelorin::cli
