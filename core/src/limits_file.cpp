#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "pelorin/limits.h"
#include "pelorin/number_text.h"

namespace pelorin {
namespace {

// A limits file holds at most 35 short groups; anything larger is not one.
constexpr std::uintmax_t kMaxLimitsFileBytes = 64 * 1024;
constexpr std::string_view kLimitsFileInConfig = "pelorin/limits.ini";
constexpr std::string_view kConfigInHome = ".config";

LimitsLoad fileWarning(std::string what) {
    LimitsLoad load;
    load.warnings.push_back({0, std::move(what)});
    return load;
}

LimitsLoad openFailure(int error) {
    if (error == ENOENT) {
        LimitsLoad load;
        load.missing = true;
        return load;
    }
    if (error == ELOOP) {
        return fileWarning("is a loop of symbolic links, no limits are applied");
    }
    return fileWarning("cannot be read (" + std::generic_category().message(error) +
                       "), no limits are applied");
}

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Reads to the end; false on a read error, or when the file grew past the largest limits file
// since it was measured.
bool readAll(int fd, std::string& text) {
    char buffer[4096];
    while (text.size() <= kMaxLimitsFileBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            return true;
        }
        if (got < 0 && errno != EINTR) {
            return false;
        }
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
    }
    return false;
}

std::string_view environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

LimitsLoad LoadLimitsFile(const std::filesystem::path& path) {
    // Opened without blocking and checked by its descriptor, so that a FIFO put in the file's
    // place after any check cannot stop the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return openFailure(errno);
    }
    const FileCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return fileWarning("is not a regular file, no limits are applied");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxLimitsFileBytes) {
        return fileWarning("is larger than " + FormatInteger(kMaxLimitsFileBytes / 1024) +
                           " KiB, no limits are applied");
    }
    std::string text;
    if (!readAll(fd, text)) {
        return fileWarning("cannot be read, no limits are applied");
    }
    // UTF-16 and UTF-32 text holds NUL bytes; read as UTF-8 every line of it would be bad.
    if (text.find('\0') != std::string::npos) {
        return fileWarning(
            "holds NUL bytes (UTF-16 or UTF-32 text?), no limits are applied; "
            "save it as UTF-8");
    }
    return ParseLimits(text);
}

std::filesystem::path LimitsFilePath(std::string_view xdgConfigHome, std::string_view home) {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    const std::filesystem::path config(xdgConfigHome);
    if (config.is_absolute()) {
        return config / kLimitsFileInConfig;
    }
    const std::filesystem::path homeFolder(home);
    if (homeFolder.is_absolute()) {
        return homeFolder / kConfigInHome / kLimitsFileInConfig;
    }
    return {};
}

std::filesystem::path LimitsFilePathFromEnvironment() {
    return LimitsFilePath(environmentValue("XDG_CONFIG_HOME"), environmentValue("HOME"));
}

}  // namespace pelorin
