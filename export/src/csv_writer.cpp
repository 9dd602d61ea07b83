#include "pelorin/csv_writer.h"

#include "pelorin/number_text.h"
#include "pelorin/value_info.h"

namespace pelorin {

CsvWriter::CsvWriter(std::string_view decimalSeparator, CsvForm form)
    : texts_([separator = std::string(decimalSeparator)](std::string& out, double value) {
          AppendGeneral(out, value, separator);
      }),
      form_(form) {}

void CsvWriter::appendHeader(std::string& out) const {
    for (std::size_t i = 0; i < kShownValues; ++i) {
        out.append(form_ == CsvForm::Analysis ? kValueInfo[i].column : kValueInfo[i].caption);
        out.push_back(kCsvFieldEnd);
    }
    endLine(out, out.size());
}

void CsvWriter::appendRecord(std::string& out, const TelemetryRecord& record) {
    // The line is written in place: room for the longest kept texts first, cut to size after.
    std::size_t pos = out.size();
    out.resize(pos + kShownValues * NumberTextCache::kRoomPerValue + kCsvLineEnd.size());
    for (int i = 0; i < kShownValues; ++i) {
        pos = texts_.put(out, pos, record[static_cast<std::size_t>(i)]);
        out[pos++] = kCsvFieldEnd;
    }
    endLine(out, pos);
}

void CsvWriter::endLine(std::string& out, std::size_t pos) const {
    if (form_ == CsvForm::Analysis) {
        --pos;  // the ";" after the last field goes
    }
    out.resize(pos);
    out.append(kCsvLineEnd);
}

}  // namespace pelorin
