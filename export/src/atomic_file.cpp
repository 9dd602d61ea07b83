#include "pelorin/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "in_place_open.h"
#include "pelorin/output_target.h"
#include "pelorin/temporary_files.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 100;
constexpr mode_t kNewFileMode = 0666;      // narrowed by the user's umask
constexpr mode_t kCarriedModeBits = 0777;  // never setuid, setgid or sticky
constexpr mode_t kWriteBits = 0222;
constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the usual file systems
constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kRandomDigits = 16;

std::string reason(int error) {
    return std::generic_category().message(error);
}

// A name no other writer in the folder is likely to pick: ".NAME.tmp-" and 16 hex digits, NAME
// cut short when the whole would be longer than a file name may be.
fs::path temporaryName(const fs::path& target) {
    thread_local std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string suffix(kRandomDigits, '0');
    std::uint64_t bits = engine();
    for (char& c : suffix) {
        c = kHex[bits & 0xF];
        bits >>= 4;
    }
    constexpr std::size_t kRoom = kMaxNameBytes - 1 - kTemporaryMark.size() - kRandomDigits;
    std::string name = ".";
    name.append(target.filename().string().substr(0, kRoom)).append(kTemporaryMark);
    return target.parent_path() / name.append(suffix);
}

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// No write permission bit at all (which the superuser would ignore), or none for the caller.
bool isReadOnly(const fs::path& file, const struct stat& status) {
    if ((status.st_mode & kWriteBits) == 0) {
        return true;
    }
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0) {
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicFile::AtomicFile(fs::path name, WriteMode mode)
    : name_(std::move(name)), target_(name_), mode_(mode) {}

AtomicFile::~AtomicFile() {
    discard();
}

WriteResult AtomicFile::fail(std::string_view what, fs::path path, int error) {
    discard();
    return {false, std::string(what) + " " + path.string() + ": " + reason(error), error};
}

WriteResult AtomicFile::open() {
    discard();
    changed_ = false;
    written_ = 0;
    const ResolvedTarget resolved = ResolveOutputTarget(name_);
    if (!resolved.error.empty()) {
        return {false, resolved.error};
    }
    const OutputTarget& t = resolved.target;
    target_ = t.path;
    switch (t.kind) {
        case OutputTarget::Kind::Missing:
            return mode_ == WriteMode::AsWritten ? openInPlace(nullptr) : openTemporary(nullptr);
        case OutputTarget::Kind::Regular:
            return openExisting(t.status);
        case OutputTarget::Kind::Descriptor:
            return openStream(DuplicateForWriting(t.descriptor));
        case OutputTarget::Kind::Socket:
            return openStream(ConnectSocket(target_));
        case OutputTarget::Kind::Device:
            return openStream(openTarget(O_NOCTTY, 0));
        case OutputTarget::Kind::Folder:
            break;
    }
    return fail("could not write", name_, EISDIR);
}

WriteResult AtomicFile::openExisting(const struct stat& status) {
    if (isReadOnly(target_, status)) {
        return {false, name_.string() + " is read-only"};
    }
    return mode_ == WriteMode::AsWritten ? openInPlace(&status) : openTemporary(&status);
}

int AtomicFile::openTarget(int flags, mode_t mode) {
    if (readerWait_ == ReaderWait::Wait) {
        return OpenForWriting(target_, flags, mode, stopped_);
    }
    const int fd = OpenForWriting(target_, flags | O_NONBLOCK, mode, stopped_);
    // Writes wait for the reader as usual once it is there.
    if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

WriteResult AtomicFile::openStream(int fdOrError) {
    if (fdOrError == -ENXIO && readerWait_ == ReaderWait::Refuse) {
        discard();
        return {false, "could not write " + name_.string() + ": no program is reading this FIFO",
                ENXIO};
    }
    if (fdOrError < 0) {
        return fail("could not write", name_, -fdOrError);
    }
    fd_ = fdOrError;
    way_ = Way::Stream;
    return {true, {}};
}

WriteResult AtomicFile::openInPlace(const struct stat* existing) {
    const int truncate = mode_ == WriteMode::AsWritten ? O_TRUNC : 0;
    const int fd = openTarget(O_CREAT | O_NOFOLLOW | truncate, kNewFileMode);
    if (fd < 0) {
        return openStream(fd);
    }
    fd_ = fd;
    way_ = Way::InPlace;
    changed_ = existing != nullptr && truncate != 0;
    if (existing != nullptr && (existing->st_mode & ~kCarriedModeBits & 07777) != 0) {
        ::fchmod(fd_, existing->st_mode & kCarriedModeBits);
    }
    return {true, {}};
}

WriteResult AtomicFile::openTemporary(const struct stat* existing) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = temporaryName(target_);
        RegisterTemporary(temporary_);  // before it exists, so that no signal can miss it
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd_ >= 0) {
            way_ = Way::Temporary;
            if (existing != nullptr) {
                ::fchmod(fd_, existing->st_mode & kCarriedModeBits);
            }
            return {true, {}};
        }
        const int error = errno;
        ForgetTemporary(temporary_);
        temporary_.clear();
        if (existing != nullptr && (error == EACCES || error == EPERM)) {
            return openInPlace(existing);  // the folder is closed, the file is not
        }
        if (error != EEXIST) {
            return fail("could not create a temporary file in", folderOf(target_), error);
        }
    }
    return fail("could not create a temporary file in", folderOf(target_), EEXIST);
}

WriteResult AtomicFile::write(std::string_view data) {
    if (fd_ < 0) {
        return {false, "could not write " + name_.string() + ": the file is not open"};
    }
    changed_ = changed_ || (way_ == Way::InPlace && !data.empty());
    if (const int error = WriteAll(fd_, data, stopped_); error != 0) {
        if (way_ == Way::Temporary) {
            return fail("could not write the temporary file", temporary_, error);
        }
        return fail("could not write", name_, error);
    }
    written_ += static_cast<std::int64_t>(data.size());
    return {true, {}};
}

WriteResult AtomicFile::commit() {
    if (fd_ < 0) {
        return {false, "could not write " + name_.string() + ": the file is not open"};
    }
    if (way_ == Way::Temporary) {
        return commitTemporary();
    }
    if (way_ == Way::InPlace) {
        return commitInPlace();
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        return fail("could not close", name_, errno);
    }
    return {true, {}};
}

WriteResult AtomicFile::commitInPlace() {
    if (::ftruncate(fd_, written_) != 0) {  // the old file may have been longer
        return fail("could not write", name_, errno);
    }
    if (::fsync(fd_) != 0) {
        return fail("could not flush to disk", name_, errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        return fail("could not close", name_, errno);
    }
    changed_ = false;
    return {true, {}};
}

WriteResult AtomicFile::commitTemporary() {
    if (::fsync(fd_) != 0) {
        return fail("could not flush to disk the temporary file", temporary_, errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return fail("could not close the temporary file", temporary_, errno);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail("could not replace", target_, errno);
    }
    ForgetTemporary(temporary_);
    temporary_.clear();
    syncFolder(folderOf(target_));
    return {true, {}};
}

void AtomicFile::closeQuietly() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void AtomicFile::discard() {
    closeQuietly();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        ForgetTemporary(temporary_);
        temporary_.clear();
    }
}

WriteResult WriteFileAtomically(const fs::path& path, std::string_view content, ReaderWait wait) {
    AtomicFile file(path);
    file.setReaderWait(wait);
    if (WriteResult r = file.open(); !r.ok) {
        return r;
    }
    if (WriteResult r = file.write(content); !r.ok) {
        return r;
    }
    return file.commit();
}

}  // namespace pelorin
