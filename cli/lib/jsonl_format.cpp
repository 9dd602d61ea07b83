#include "jsonl_format.h"

#include "pelorin/number_text.h"
#include "pelorin/unicode_chars.h"
#include "pelorin/value_info.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

void appendEscaped(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
        case '"':
            out.append("\\\"");
            return;
        case '\\':
            out.append("\\\\");
            return;
        case '\n':
            out.append("\\n");
            return;
        case '\r':
            out.append("\\r");
            return;
        case '\t':
            out.append("\\t");
            return;
        default:
            out.append("\\u00");
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
    }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text[0]);
        if (c >= 0x80) {
            const CharRead read = ReadChar(text);
            out.append(read.codePoint == kReplacementChar ? kReplacementUtf8
                                                          : text.substr(0, read.units));
            text.remove_prefix(read.units);
            continue;
        }
        if (c < 0x20 || c == '"' || c == '\\' || c == 0x7F) {
            appendEscaped(out, c);
        } else {
            out.push_back(static_cast<char>(c));
        }
        text.remove_prefix(1);
    }
    out.push_back('"');
}

JsonlFormat::JsonlFormat(const LimitTable* limits)
    : texts_([](std::string& out, double value) { out.append(FormatShortest(value)); },
             ValueTexts::WholeNumbers::Shortest),
      limits_(limits),
      values_(kValuesPerRecord * ValueTexts::kRoomPerValue, '\0') {
    AppendJsonString(fileText_, file_);
}

void JsonlFormat::appendHeader(std::string& /*out*/) {}

void JsonlFormat::appendRecord(std::string& out, const RawRecord& raw, const RecordOrigin& origin) {
    out.append("{\"record\":");
    AppendInteger(out, origin.recordNumber);
    out.append(",\"file\":");
    if (origin.file != file_) {  // the same input for many records: escaped once
        file_ = origin.file;
        fileText_.clear();
        AppendJsonString(fileText_, file_);
    }
    out.append(fileText_);
    out.append(",\"line\":");
    AppendInteger(out, origin.lineNumber);
    out.append(",\"values\":[");
    out.append(values_.data(), putValues(raw, std::make_index_sequence<kValuesPerRecord>()));
    out.push_back(']');
    if (limits_ != nullptr) {
        appendOutOfLimits(out, raw);
    }
    out.append(origin.suspect ? ",\"suspect\":true}\n" : "}\n");
}

// The values one by one, each with its scaling a constant; returns the length of their text.
template <std::size_t... I>
std::size_t JsonlFormat::putValues(const RawRecord& raw, std::index_sequence<I...> /*values*/) {
    std::size_t pos = 0;
    ((pos = texts_.put(values_, pos, kValueInfo[I].scaling, raw[I]), values_[pos++] = ','), ...);
    return pos - 1;  // no "," after the last
}

void JsonlFormat::appendOutOfLimits(std::string& out, const RawRecord& raw) const {
    TelemetryRecord record;
    ScaleRecord(raw, record);
    out.append(",\"out_of_limits\":[");
    const std::vector<int> outside = OutOfLimitsValues(record, *limits_);
    for (std::size_t i = 0; i < outside.size(); ++i) {
        out.append(i > 0 ? "," : "").append(FormatInteger(outside[i]));
    }
    out.push_back(']');
}

}  // namespace pelorin::cli
