#include "pelorin/csv_export.h"

#include "pelorin/csv_writer.h"

namespace pelorin {
namespace {

// Bytes of one data line of typical values, to size the file's buffer once.
constexpr std::size_t kTypicalRecordBytes = 400;

}  // namespace

std::string BuildCsvFile(const TelemetryStore& store, std::string_view decimalSeparator,
                         CsvForm form) {
    const std::int32_t count = store.RecordCount();  // taken once, before the loop
    std::string out;
    out.reserve(kTypicalRecordBytes * static_cast<std::size_t>(count + 1));
    CsvWriter writer(decimalSeparator, form);
    writer.appendHeader(out);
    for (std::int32_t r = 1; r <= count; ++r) {
        writer.appendRecord(out, store.record(r));
    }
    return out;
}

}  // namespace pelorin
