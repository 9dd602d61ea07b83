#include "error_report.h"

#include <unistd.h>

#include "pelorin/unicode_chars.h"
#include "pelorin/write_all.h"

namespace pelorin::cli {
namespace {

std::string_view gProgram = "pelorin-decode";
constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1Control = 0x9F;

bool isControl(char32_t c) {
    return c < kFirstPrintable || (c >= kDelete && c <= kLastC1Control);
}

void appendEscaped(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        out.append("\\x").push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0xF]);
    }
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const CharRead c = ReadChar(text);
        const std::string_view bytes = text.substr(0, c.units);
        // A lone U+FFFD of one byte stands for a byte that is no valid UTF-8.
        const bool invalid = c.codePoint == kReplacementChar && c.units == 1;
        if (invalid || isControl(c.codePoint)) {
            appendEscaped(out, bytes);
        } else {
            out.append(bytes);
        }
        text.remove_prefix(c.units);
    }
    return out;
}

void SetReportedProgram(std::string_view name) {
    gProgram = name;
}

void ReportError(std::string_view message) {
    std::string line(gProgram);
    line.append(": ").append(EscapeControls(message)).push_back('\n');
    WriteAll(STDERR_FILENO, line);
}

}  // namespace pelorin::cli
