#include "pelorin/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "pelorin/write_all.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 100;
constexpr unsigned kNewFileMode = 0666;  // narrowed by the user's umask
constexpr unsigned kPermissionBits = 07777;

std::string reason(int error) {
    return std::generic_category().message(error);
}

// A name no other writer in the folder is likely to pick: ".NAME.tmp-" and 16 hex digits.
fs::path temporaryName(const fs::path& target) {
    thread_local std::mt19937_64 engine{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string suffix(16, '0');
    std::uint64_t bits = engine();
    for (char& c : suffix) {
        c = kHex[bits & 0xF];
        bits >>= 4;
    }
    std::string name = ".";
    name.append(target.filename().string()).append(".tmp-").append(suffix);
    return target.parent_path() / name;
}

// Follows a symbolic link to the file it names, so that the link itself survives.
fs::path resolveLink(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) {
            return resolved;
        }
    }
    return target;
}

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
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

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    discard();
}

WriteResult AtomicFile::fail(std::string_view what, fs::path path, int error) {
    discard();
    return {false, std::string(what) + " " + path.string() + ": " + reason(error)};
}

WriteResult AtomicFile::open() {
    discard();
    target_ = resolveLink(target_);
    if (target_.filename().empty()) {
        return fail("could not write", target_, EISDIR);
    }
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return fail("could not write", target_, EISDIR);
        }
        if (!S_ISREG(st.st_mode)) {
            return openDirect();
        }
        return openTemporary(true, st.st_mode & kPermissionBits);
    }
    return openTemporary(false, 0);
}

WriteResult AtomicFile::openDirect() {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) {
        return fail("could not open", target_, errno);
    }
    direct_ = true;
    return {true, {}};
}

WriteResult AtomicFile::openTemporary(bool keepMode, unsigned mode) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = temporaryName(target_);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd_ >= 0) {
            if (keepMode) {
                ::fchmod(fd_, mode);  // the replacement keeps the old file's permissions
            }
            return {true, {}};
        }
        if (errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            return fail("could not create a temporary file in", folderOf(target_), error);
        }
    }
    temporary_.clear();
    return fail("could not create a temporary file in", folderOf(target_), EEXIST);
}

WriteResult AtomicFile::write(std::string_view data) {
    if (fd_ < 0) {
        return {false, "could not write " + target_.string() + ": the file is not open"};
    }
    if (const int error = WriteAll(fd_, data); error != 0) {
        if (direct_) {
            return fail("could not write", target_, error);
        }
        return fail("could not write the temporary file", temporary_, error);
    }
    return {true, {}};
}

WriteResult AtomicFile::commit() {
    if (fd_ < 0) {
        return {false, "could not write " + target_.string() + ": the file is not open"};
    }
    if (direct_) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            return fail("could not close", target_, errno);
        }
        return {true, {}};
    }
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
        temporary_.clear();
    }
    direct_ = false;
}

WriteResult WriteFileAtomically(const fs::path& path, std::string_view content) {
    AtomicFile file(path);
    if (WriteResult r = file.open(); !r.ok) {
        return r;
    }
    if (WriteResult r = file.write(content); !r.ok) {
        return r;
    }
    return file.commit();
}

}  // namespace pelorin
