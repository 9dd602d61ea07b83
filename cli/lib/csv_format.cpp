#include "csv_format.h"

#include <cmath>
#include <cstdint>

#include "pelorin/csv_export.h"
#include "pelorin/number_text.h"

namespace pelorin::cli {
namespace {

// A whole number below this magnitude is written plainly in the general text, with neither
// decimal separator nor exponent: its text is the integer's, which is much quicker to make.
constexpr double kPlainWholeLimit = 1e15;

}  // namespace

CsvFormat::CsvFormat(std::string_view decimalSeparator)
    : separator_(decimalSeparator), texts_([this](std::string& out, double value) {
          if (std::trunc(value) == value && std::fabs(value) < kPlainWholeLimit) {
              out.append(FormatInteger(static_cast<std::int64_t>(value)));
          } else {
              AppendGeneral(out, value, separator_);
          }
      }) {}

void CsvFormat::appendHeader(std::string& out) {
    AppendCsvHeader(out, DefaultCsvCaptions());
}

void CsvFormat::appendRecord(std::string& out, const TelemetryRecord& record,
                             const RecordOrigin& /*origin*/) {
    // The line is written in place: room for the longest kept texts first, cut to size after.
    for (int i = 0; i < kShownValues; ++i) {
        texts_.prefetch(record[static_cast<std::size_t>(i)]);
    }
    std::size_t pos = out.size();
    out.resize(pos + kShownValues * NumberTextCache::kRoomPerValue + kCsvLineEnd.size());
    for (int i = 0; i < kShownValues; ++i) {
        pos = texts_.put(out, pos, record[static_cast<std::size_t>(i)]);
        out[pos++] = kCsvFieldEnd;
    }
    out.replace(pos, kCsvLineEnd.size(), kCsvLineEnd);
    out.resize(pos + kCsvLineEnd.size());
}

}  // namespace pelorin::cli
