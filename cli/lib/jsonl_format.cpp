#include "jsonl_format.h"

#include "pelorin/number_text.h"
#include "pelorin/unicode_chars.h"

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
    : texts_([](std::string& out, double value) { out.append(FormatShortest(value)); }),
      limits_(limits) {}

void JsonlFormat::appendHeader(std::string& /*out*/) {}

void JsonlFormat::appendRecord(std::string& out, const TelemetryRecord& record,
                               const RecordOrigin& origin) {
    out.append("{\"record\":");
    out.append(FormatInteger(origin.recordNumber));
    out.append(",\"file\":");
    AppendJsonString(out, origin.file);
    out.append(",\"line\":");
    out.append(FormatInteger(origin.lineNumber));
    out.append(",\"values\":[");
    // The values are written in place: room for the longest kept texts first, cut after.
    std::size_t pos = out.size();
    out.resize(pos + record.size() * NumberTextCache::kRoomPerValue);
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0) {
            out[pos++] = ',';
        }
        pos = texts_.put(out, pos, record[i]);
    }
    out.resize(pos);
    out.push_back(']');
    if (limits_ != nullptr) {
        out.append(",\"out_of_limits\":[");
        const std::vector<int> outside = OutOfLimitsValues(record, *limits_);
        for (std::size_t i = 0; i < outside.size(); ++i) {
            out.append(i > 0 ? "," : "").append(FormatInteger(outside[i]));
        }
        out.push_back(']');
    }
    out.append(origin.moreJson);
    out.append(origin.suspect ? ",\"suspect\":true}\n" : "}\n");
}

}  // namespace pelorin::cli
