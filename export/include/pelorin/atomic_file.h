#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "pelorin/write_all.h"

namespace pelorin {

// Outcome of writing a file; `error` says why it failed, in the system's words.
struct WriteResult {
    bool ok = false;
    std::string error;
    int code = 0;  // the system's error number behind `error`, when there is one
};

// Whether opening a FIFO waits for a program to read it.
enum class ReaderWait {
    Wait,    // as a shell's redirection does
    Refuse,  // fails at once when none reads it, so that a window never blocks on it
};

enum class WriteMode {
    WhenComplete,  // a regular file is replaced by the complete new one at commit()
    AsWritten,     // a regular file is emptied at open() and takes each write at once
};

// A file that is written in full before it replaces anything: the data goes into a temporary
// file beside the target, which is flushed to disk, closed and renamed over the target by
// commit(). Until then, and after any failure, the target keeps its previous content and the
// temporary is removed (also when a fatal signal ends the program, see temporary_files.h).
//
// What is not a regular file of its own is written where it is: a name that leads to one of
// the process's own descriptors (/dev/stdout, /dev/fd/N) through that descriptor, appending if
// it appends; a device, FIFO or socket in place. A symbolic link is followed and stays; the
// file it names is replaced or created. A read-only file is refused; setuid and setgid bits are
// never carried over. When the folder takes no temporary file but the file itself may be
// written, it is written in place, which is not atomic: a failure leaves it in part rewritten.
class AtomicFile {
  public:
    explicit AtomicFile(std::filesystem::path name, WriteMode mode = WriteMode::WhenComplete);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Opens the temporary or the target. Fails with the system's reason, naming the file or
    // folder.
    WriteResult open();
    // Appends `data`; on failure the temporary is removed.
    WriteResult write(std::string_view data);
    // Flushes, closes and puts the new file in place; on failure the temporary is removed.
    WriteResult commit();
    // Removes the temporary file; the target stays as it was unless changedInPlace().
    // Safe to call at any time.
    void discard();

    // Lets a stop request end a wait (a FIFO waiting for its reader, a blocked write): once
    // `stopped` returns true, an interrupted call fails with EINTR instead of going on.
    void setStopCheck(StopCheck stopped) { stopped_ = stopped; }
    // ReaderWait::Refuse: every open() is without waiting, and a FIFO without a reader fails.
    void setReaderWait(ReaderWait wait) { readerWait_ = wait; }
    // The file that commit() replaces (symbolic links followed once open() has run).
    const std::filesystem::path& target() const { return target_; }
    bool isOpen() const { return fd_ >= 0; }
    // True once an existing regular file has been changed before commit(): emptied by
    // WriteMode::AsWritten, or written in place for want of a temporary.
    bool changedInPlace() const { return changed_; }

  private:
    enum class Way { Temporary, InPlace, Stream };

    WriteResult openExisting(const struct stat& status);
    WriteResult openTemporary(const struct stat* existing);
    WriteResult openInPlace(const struct stat* existing);
    WriteResult openStream(int fdOrError);
    // open() of the target with `flags`, without waiting under ReaderWait::Refuse.
    int openTarget(int flags, mode_t mode);
    WriteResult commitTemporary();
    WriteResult commitInPlace();
    // Takes `path` by value: it may name the temporary that discard() forgets.
    WriteResult fail(std::string_view what, std::filesystem::path path, int error);
    void closeQuietly();

    std::filesystem::path name_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    WriteMode mode_;
    StopCheck stopped_ = nullptr;
    ReaderWait readerWait_ = ReaderWait::Wait;
    int fd_ = -1;
    Way way_ = Way::Temporary;
    std::int64_t written_ = 0;
    bool changed_ = false;
};

// Writes `content` to a temporary file in the same folder and renames it over `path` only
// when it is complete and flushed; on failure the previous file is left as it was.
WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                                ReaderWait wait = ReaderWait::Wait);

}  // namespace pelorin
