#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pelorin {

// Outcome of writing a file; `error` says why it failed, in the system's words.
struct WriteResult {
    bool ok = false;
    std::string error;
};

// A file that is written in full before it replaces anything: the data goes into a temporary
// file beside the target, which is flushed to disk, closed and renamed over the target by
// commit(). Until then, and after any failure, the target keeps its previous content and the
// temporary is removed. A target that exists but is no regular file (a terminal, a pipe,
// /dev/null) cannot be replaced and is written directly; a symbolic link is followed, so the
// file it points to is replaced and the link stays.
class AtomicFile {
  public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. Fails with the system's reason, naming the folder.
    WriteResult open();
    // Appends `data` to the temporary file; on failure the temporary is removed.
    WriteResult write(std::string_view data);
    // Flushes, closes and renames the temporary over the target; on failure it is removed.
    WriteResult commit();
    // Removes the temporary file; the target stays as it was. Safe to call at any time.
    void discard();

    // The file that commit() replaces (symbolic links resolved once open() has run).
    const std::filesystem::path& target() const { return target_; }
    bool isOpen() const { return fd_ >= 0; }

  private:
    WriteResult openDirect();
    WriteResult openTemporary(bool keepMode, unsigned mode);
    WriteResult fail(std::string_view what, std::filesystem::path path, int error);
    void closeQuietly();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    bool direct_ = false;
};

// Writes `content` to a temporary file in the same folder and renames it over `path` only
// when it is complete and flushed; on failure the previous file is left as it was.
WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace pelorin
