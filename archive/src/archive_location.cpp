#include "pelorin/archive_location.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace pelorin {
namespace {

constexpr const char* kArchiveFile = "/pelorin/archive.sqlite";
constexpr std::array<std::string_view, 2> kServerSchemes = {"postgresql://", "postgres://"};
constexpr std::string_view kPasswordKey = "password=";

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string ArchiveLocation(const std::optional<std::string>& given) {
    if (given) {
        return *given;
    }
    if (std::string chosen = variable(kArchiveVariable); !chosen.empty()) {
        return chosen;
    }
    return DefaultArchiveFile();
}

std::string DefaultArchiveFile() {
    if (const std::string data = variable("XDG_DATA_HOME"); !data.empty() && data[0] == '/') {
        return data + kArchiveFile;
    }
    const std::string home = variable("HOME");
    return home.empty() ? std::string() : home + "/.local/share" + kArchiveFile;
}

bool IsServerLocation(std::string_view location) {
    for (const std::string_view scheme : kServerSchemes) {
        if (location.starts_with(scheme)) {
            return true;
        }
    }
    return false;
}

std::string RedactLocation(std::string_view location) {
    if (!IsServerLocation(location)) {
        return std::string(location);
    }
    std::string shown(location);
    const std::size_t hostStart = shown.find("://") + 3;
    const std::size_t hostEnd = std::min(shown.find_first_of("/?", hostStart), shown.size());
    // The last '@' ends the user part: a password may hold one.
    const std::size_t at = shown.rfind('@', hostEnd);
    if (at != std::string::npos && at >= hostStart) {
        const std::size_t colon = shown.find(':', hostStart);
        if (colon < at) {
            shown.erase(colon, at - colon);
        }
    }
    const std::size_t query = shown.find('?');
    if (query == std::string::npos) {
        return shown;
    }
    std::string kept;
    for (std::size_t start = query + 1; start <= shown.size();) {
        const std::size_t end = std::min(shown.find('&', start), shown.size());
        const std::string_view parameter = std::string_view(shown).substr(start, end - start);
        if (!parameter.empty() && !parameter.starts_with(kPasswordKey)) {
            kept.append(kept.empty() ? "?" : "&").append(parameter);
        }
        start = end + 1;
    }
    shown.replace(query, std::string::npos, kept);
    return shown;
}

}  // namespace pelorin
