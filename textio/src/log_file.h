#pragma once

#include <cstdint>
#include <string>

#include "pelorin/byte_source.h"

namespace pelorin {

// Which file a name leads to: files are the same when device and inode are.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

// What a path names at the moment: `error` 0 and the file's identity, or the system's error
// number, or kNotRegularFile.
struct PathLook {
    int error = 0;
    FileIdentity identity;
};

// Looks at what `path` names now, following symbolic links.
PathLook LookAtPath(const std::string& path);

// A regular file open for reading at any offset. The only place where the follower's file
// system calls are made.
class LogFile {
  public:
    LogFile() = default;
    ~LogFile();
    LogFile(LogFile&& other) noexcept;
    LogFile& operator=(LogFile&& other) noexcept;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens `path` without waiting (a FIFO does not wait for its writer); 0, or the system's
    // error number, or kNotRegularFile when it is no regular file (and is not kept open).
    int open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }
    FileIdentity identity() const { return identity_; }
    // The size in bytes now, or a negative error number.
    std::int64_t size() const;
    // Reads up to `capacity` bytes at `offset`; zero bytes at the end of the file.
    ReadOutcome readAt(char* buffer, std::size_t capacity, std::int64_t offset) const;
    void close();

  private:

    int fd_ = -1;
    FileIdentity identity_;
};

}  // namespace pelorin
