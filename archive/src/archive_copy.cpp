#include <vector>

#include "pelorin/archive_store.h"

namespace pelorin {

AddCounts CopyArchive(ArchiveStore& from, ArchiveStore& to, std::size_t batch,
                      const std::function<bool()>& keepGoing) {
    AddCounts counts;
    std::vector<ArchiveEntry> pending;
    pending.reserve(batch);
    bool stopped = false;
    const auto flush = [&] {
        if (!stopped && !pending.empty()) {
            stopped = !keepGoing();
            if (!stopped) {
                counts += to.add(pending);
            }
        }
        pending.clear();
    };
    // What the other side has already is left as it is by add itself, in the database: a copy
    // sends everything and the target keeps what it lacks.
    from.forEachEntry([&](const ArchiveEntry& entry) {
        if (stopped) {
            return;
        }
        pending.push_back(entry);
        if (pending.size() >= batch) {
            flush();
        }
    });
    flush();
    return counts;
}

}  // namespace pelorin
