#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace pelorin {

// What an output name leads to once the symbolic links of its last part are followed.
struct OutputTarget {
    enum class Kind {
        Missing,     // nothing there yet: a new regular file
        Regular,     // an existing regular file
        Descriptor,  // one of the process's own open descriptors (/dev/stdout, /dev/fd/N, ...)
        Device,      // a character or block device, or a FIFO
        Socket,      // a local socket
        Folder,
    };
    Kind kind = Kind::Missing;
    std::filesystem::path path;  // the file itself: no symbolic link in its last part
    int descriptor = -1;         // for Kind::Descriptor
    struct stat status {};       // for a file that exists
};

// The target, or why the name cannot be written to.
struct ResolvedTarget {
    OutputTarget target;
    std::string error;  // empty when `target` holds the answer
};

// Follows the symbolic links of the last part of `name` one at a time, as the kernel would for
// an open(), but stops at a link into the process's own descriptor folder (/proc/self/fd,
// where /dev/fd and /dev/stdout lead). Refuses a link that the kernel's protected-symlinks rule
// forbids: in a sticky folder that everyone may write to, only the links of the folder's owner
// and of the caller are followed. Fails with a message naming `name`.
ResolvedTarget ResolveOutputTarget(const std::filesystem::path& name);

}  // namespace pelorin
