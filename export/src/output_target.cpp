#include "pelorin/output_target.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "pelorin/number_text.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using Kind = OutputTarget::Kind;

constexpr int kMaxLinks = 40;  // the kernel's own limit for one name

fs::path folderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

ResolvedTarget failure(const fs::path& name, const std::string& why) {
    return {{}, "could not write " + name.string() + ": " + why};
}

ResolvedTarget failure(const fs::path& name, int error) {
    return failure(name, std::generic_category().message(error));
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// True for "/proc/PID/fd" and "/proc/PID/task/TID/fd", PID being this process.
bool isOwnDescriptorFolder(std::string_view folder) {
    const std::string own = "/proc/" + FormatInteger(::getpid()) + "/";
    if (!folder.starts_with(own)) {
        return false;
    }
    folder.remove_prefix(own.size());
    if (folder == "fd") {
        return true;
    }
    constexpr std::string_view kTask = "task/";
    constexpr std::string_view kFd = "/fd";
    return folder.starts_with(kTask) && folder.ends_with(kFd) &&
           allDigits(folder.substr(kTask.size(), folder.size() - kTask.size() - kFd.size()));
}

// The descriptor that `path` names in the process's own descriptor folder, or -1.
int ownDescriptor(const fs::path& path) {
    const std::string name = path.filename().string();
    int fd = -1;
    if (!allDigits(name) ||
        std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc()) {
        return -1;
    }
    char real[PATH_MAX];
    if (::realpath(folderOf(path).c_str(), real) == nullptr || !isOwnDescriptorFolder(real)) {
        return -1;
    }
    return fd;
}

bool mayFollow(const fs::path& link, const struct stat& linkStatus) {
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkStatus.st_uid == folder.st_uid || linkStatus.st_uid == ::geteuid();
}

Kind kindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return Kind::Regular;
    }
    if (S_ISDIR(mode)) {
        return Kind::Folder;
    }
    return S_ISSOCK(mode) ? Kind::Socket : Kind::Device;
}

// A name that ends in "/" can only be a folder.
ResolvedTarget folderName(const fs::path& name, const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return failure(name, S_ISDIR(st.st_mode) ? EISDIR : ENOTDIR);
    }
    if (errno == ENOENT) {
        return failure(name, "the folder " + path.string() + " does not exist");
    }
    return failure(name, errno);
}

}  // namespace

ResolvedTarget ResolveOutputTarget(const fs::path& name) {
    fs::path path = name;
    for (int links = 0;; ++links) {
        if (!path.has_filename()) {
            return folderName(name, path);
        }
        if (const int fd = ownDescriptor(path); fd >= 0) {
            return {{Kind::Descriptor, path, fd, {}}, {}};
        }
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? ResolvedTarget{{Kind::Missing, path, -1, {}}, {}}
                                   : failure(name, errno);
        }
        if (!S_ISLNK(st.st_mode)) {
            return {{kindOf(st.st_mode), path, -1, st}, {}};
        }
        if (links == kMaxLinks) {
            return failure(name, ELOOP);
        }
        if (!mayFollow(path, st)) {
            return failure(name, "not following the symbolic link " + path.string() +
                                     ", which another user made in the shared folder " +
                                     folderOf(path).string());
        }
        std::error_code ec;
        const fs::path to = fs::read_symlink(path, ec);
        if (ec) {
            return failure(name, ec.value());
        }
        path = to.is_absolute() ? to : folderOf(path) / to;
    }
}

}  // namespace pelorin
