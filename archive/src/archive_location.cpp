#include "pelorin/archive_location.h"

#include <cstdlib>

namespace pelorin {
namespace {

constexpr const char* kArchiveFile = "/pelorin/archive.sqlite";

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
    if (const std::string data = variable("XDG_DATA_HOME"); !data.empty() && data[0] == '/') {
        return data + kArchiveFile;
    }
    const std::string home = variable("HOME");
    return home.empty() ? std::string() : home + "/.local/share" + kArchiveFile;
}

}  // namespace pelorin
