#include "jsonl_format.h"

#include "pelorin/number_text.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at the start of `text`, 0 if there is none.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned char min = 0x80;
    unsigned char max = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        max = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = lead == 0xF0 ? 0x90 : 0x80;
        max = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < min || second > max) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

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
            const std::size_t length = utf8SequenceLength(text);
            out.append(length == 0 ? kReplacementUtf8 : text.substr(0, length));
            text.remove_prefix(length == 0 ? 1 : length);
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

JsonlFormat::JsonlFormat()
    : texts_([](std::string& out, double value) { out.append(FormatShortest(value)); }) {}

void JsonlFormat::appendHeader(std::string& /*out*/) {}

void JsonlFormat::appendRecord(std::string& out, const TelemetryRecord& record,
                               const RecordOrigin& origin) {
    for (const double value : record) {
        texts_.prefetch(value);
    }
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
    out.append("]}\n");
}

}  // namespace pelorin::cli
