#include "history/RangeExport.h"

#include <cmath>

namespace pelorin::history {
namespace {

// Written out in blocks of about this size, so that a million frames never sit in memory.
constexpr std::size_t kBlockBytes = 1 << 20;

}  // namespace

FrameQuery ReceptionQuery(TimeSpan span) {
    FrameQuery query;
    query.range.since = static_cast<UtcMillis>(std::ceil(span.from * kMillisPerSecond));
    query.range.until = static_cast<UtcMillis>(std::floor(span.to * kMillisPerSecond));
    return query;
}

WriteResult WriteRangeCsv(ArchiveStore& store, TimeBase base, TimeSpan span,
                          const std::filesystem::path& path, CsvForm form,
                          std::string_view decimalSeparator) {
    AtomicFile file(path);
    // A window never waits for a program to read a FIFO.
    file.setReaderWait(ReaderWait::Refuse);
    WriteResult result = file.open();
    if (!result.ok) {
        return result;
    }
    CsvWriter writer(decimalSeparator, form);
    std::string block;
    writer.appendHeader(block);
    const auto flush = [&] {
        if (result.ok && !block.empty()) {
            result = file.write(block);
        }
        block.clear();
    };
    const FrameQuery query = base == TimeBase::Reception ? ReceptionQuery(span) : FrameQuery{};
    try {
        store.forEachFrame(query, [&](const ArchivedFrame& frame) {
            const double onboard = frame.values[kOnboardTimeValue];
            if (base == TimeBase::Onboard && (onboard < span.from || onboard > span.to)) {
                return;
            }
            writer.appendRecord(block, frame.raw);
            if (block.size() >= kBlockBytes) {
                flush();
            }
        });
    } catch (const ArchiveError& error) {
        file.discard();
        return {false, error.what(), 0};
    }
    flush();
    return result.ok ? file.commit() : result;
}

}  // namespace pelorin::history
