#include "pelorin/csv_export.h"

#include "pelorin/number_text.h"

namespace pelorin {
namespace {

// The option buttons' captions as runs of equal texts, value index 0 first.
struct CaptionRun {
    std::string_view text;
    int count;
};
constexpr CaptionRun kCaptionRuns[] = {
    {"5 Volts ", 5},     {"3.3 Volts ", 4},   {"Temperature ", 4},  {"Current ", 4},
    {"Bus Voltage ", 4}, {"Bus Current ", 4}, {"Charge Curr", 4},   {"Status", 1},
    {"on", 1},           {"off", 1},          {"Single Errors", 1}, {"All Errors", 1},
    {"All Errors 2", 1},
};

CsvCaptions makeDefaultCaptions() {
    CsvCaptions captions;
    std::size_t i = 0;
    for (const CaptionRun& run : kCaptionRuns) {
        for (int k = 0; k < run.count; ++k) {
            captions.at(i++) = std::string(run.text);
        }
    }
    return captions;
}

// Bytes of one data line of typical values, to size the file's buffer once.
constexpr std::size_t kTypicalRecordBytes = 400;

}  // namespace

const CsvCaptions& DefaultCsvCaptions() {
    static const CsvCaptions captions = makeDefaultCaptions();
    return captions;
}

void AppendCsvHeader(std::string& out, const CsvCaptions& captions) {
    for (const std::string& caption : captions) {
        out.append(caption);
        out.push_back(kCsvFieldEnd);
    }
    out.append(kCsvLineEnd);
}

void AppendCsvRecord(std::string& out, const TelemetryRecord& record,
                     std::string_view decimalSeparator) {
    for (int i = 0; i < kShownValues; ++i) {
        AppendGeneral(out, record[static_cast<std::size_t>(i)], decimalSeparator);
        out.push_back(kCsvFieldEnd);
    }
    out.append(kCsvLineEnd);
}

std::string BuildCsvFile(const TelemetryStore& store, const CsvCaptions& captions,
                         std::string_view decimalSeparator) {
    const std::int32_t count = store.RecordCount();  // taken once, before the loop
    std::string out;
    out.reserve(kTypicalRecordBytes * static_cast<std::size_t>(count + 1));
    AppendCsvHeader(out, captions);
    for (std::int32_t r = 1; r <= count; ++r) {
        AppendCsvRecord(out, store.record(r), decimalSeparator);
    }
    return out;
}

}  // namespace pelorin
