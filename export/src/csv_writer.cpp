#include "pelorin/csv_writer.h"

#include "pelorin/number_text.h"
#include "pelorin/value_captions.h"

namespace pelorin {

CsvWriter::CsvWriter(std::string_view decimalSeparator)
    : texts_([separator = std::string(decimalSeparator)](std::string& out, double value) {
          AppendGeneral(out, value, separator);
      }) {}

void CsvWriter::appendHeader(std::string& out) {
    for (const ValueCaption& c : kValueCaptions) {
        out.append(c.caption);
        out.push_back(kCsvFieldEnd);
    }
    out.append(kCsvLineEnd);
}

void CsvWriter::appendRecord(std::string& out, const TelemetryRecord& record) {
    // The line is written in place: room for the longest kept texts first, cut to size after.
    std::size_t pos = out.size();
    out.resize(pos + kShownValues * NumberTextCache::kRoomPerValue + kCsvLineEnd.size());
    for (int i = 0; i < kShownValues; ++i) {
        pos = texts_.put(out, pos, record[static_cast<std::size_t>(i)]);
        out[pos++] = kCsvFieldEnd;
    }
    out.replace(pos, kCsvLineEnd.size(), kCsvLineEnd);
    out.resize(pos + kCsvLineEnd.size());
}

}  // namespace pelorin
