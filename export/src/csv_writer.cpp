#include "pelorin/csv_writer.h"

#include <cstring>

#include "pelorin/number_text.h"
#include "pelorin/value_info.h"

namespace pelorin {

CsvWriter::CsvWriter(std::string_view decimalSeparator, CsvForm form)
    : texts_([separator = std::string(decimalSeparator)](
                 std::string& out, double value) { AppendGeneral(out, value, separator); },
             ValueTexts::WholeNumbers::Decimal),
      form_(form),
      line_(kShownValues * ValueTexts::kRoomPerValue + kCsvLineEnd.size(), '\0') {}

void CsvWriter::appendHeader(std::string& out) const {
    for (std::size_t i = 0; i < kShownValues; ++i) {
        out.append(form_ == CsvForm::Analysis ? kValueInfo[i].column : kValueInfo[i].caption);
        out.push_back(kCsvFieldEnd);
    }
    endLine(out, out.size());
}

// The fields one by one, each with its scaling a constant, so that each takes the few
// instructions of its own table's lookup.
template <typename Values, std::size_t... I>
void CsvWriter::appendValues(std::string& out, const Values& values,
                             std::index_sequence<I...> /*fields*/) {
    std::size_t pos = 0;
    ((pos = texts_.put(line_, pos, kValueInfo[I].scaling, values[I]), line_[pos++] = kCsvFieldEnd),
     ...);
    if (form_ == CsvForm::Analysis) {
        --pos;  // the ";" after the last field goes
    }
    std::memcpy(line_.data() + pos, kCsvLineEnd.data(), kCsvLineEnd.size());
    out.append(line_.data(), pos + kCsvLineEnd.size());
}

void CsvWriter::appendRecord(std::string& out, const TelemetryRecord& record) {
    appendValues(out, record, std::make_index_sequence<kShownValues>());
}

void CsvWriter::appendRecord(std::string& out, const RawRecord& raw) {
    appendValues(out, raw, std::make_index_sequence<kShownValues>());
}

void CsvWriter::endLine(std::string& out, std::size_t pos) const {
    if (form_ == CsvForm::Analysis) {
        --pos;  // the ";" after the last field goes
    }
    out.resize(pos);
    out.append(kCsvLineEnd);
}

}  // namespace pelorin
