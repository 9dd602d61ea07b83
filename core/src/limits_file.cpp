#include <cstdlib>
#include <fstream>
#include <iterator>
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

std::string_view environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

LimitsLoad LoadLimitsFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        LimitsLoad load;
        load.missing = true;
        return load;
    }
    // Not regular: a folder cannot be read, and a FIFO would block the reader.
    if (error || status.type() != std::filesystem::file_type::regular) {
        return fileWarning("is not a regular file, no limits are applied");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxLimitsFileBytes) {
        return fileWarning("is larger than " + FormatInteger(kMaxLimitsFileBytes / 1024) +
                           " KiB, no limits are applied");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return fileWarning("cannot be read, no limits are applied");
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
