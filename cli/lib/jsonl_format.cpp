#include "jsonl_format.h"

#include <algorithm>
#include <cstring>

#include "pelorin/number_text.h"
#include "pelorin/unicode_chars.h"
#include "pelorin/value_info.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kRecordKey = "{\"record\":";
constexpr std::string_view kFileKey = ",\"file\":";
constexpr std::string_view kLineKey = ",\"line\":";
constexpr std::string_view kValuesKey = ",\"values\":[";

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
      line_(kLineRoom, '\0') {
    AppendJsonString(fileText_, file_);
}

void JsonlFormat::appendHeader(std::string& /*out*/) {}

// The record is made in line_, whose room stays allocated, and appended at once.
void JsonlFormat::appendRecord(std::string& out, const RawRecord& raw, const RecordOrigin& origin) {
    if (origin.file != file_) {  // the same input for many records: escaped once
        file_ = origin.file;
        fileText_.clear();
        AppendJsonString(fileText_, file_);
        line_.resize(std::max(line_.size(), kLineRoom + fileText_.size()));
    }
    std::size_t pos = putText(0, kRecordKey);
    pos = putInteger(pos, origin.recordNumber);
    pos = putText(pos, kFileKey);
    pos = putText(pos, fileText_);
    pos = putText(pos, kLineKey);
    pos = putInteger(pos, origin.lineNumber);
    pos = putText(pos, kValuesKey);
    pos = putValues(pos, raw, std::make_index_sequence<kValuesPerRecord>());
    line_[pos++] = ']';
    out.append(line_.data(), pos);
    if (limits_ != nullptr) {
        appendOutOfLimits(out, raw);
    }
    out.append(origin.moreJson);
    out.append(origin.suspect ? ",\"suspect\":true}\n" : "}\n");
}

std::size_t JsonlFormat::putText(std::size_t pos, std::string_view text) {
    std::memcpy(line_.data() + pos, text.data(), text.size());
    return pos + text.size();
}

std::size_t JsonlFormat::putInteger(std::size_t pos, std::int64_t value) {
    return static_cast<std::size_t>(WriteInteger(line_.data() + pos, value) - line_.data());
}

// The values one by one at `pos`, each with its scaling a constant; returns where they end.
template <std::size_t... I>
std::size_t JsonlFormat::putValues(std::size_t pos, const RawRecord& raw,
                                   std::index_sequence<I...> /*values*/) {
    ((pos = texts_.put(line_, pos, kValueInfo[I].scaling, raw[I]), line_[pos++] = ','), ...);
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
