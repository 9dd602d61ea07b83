// Decoding a full paste box (1000 telemetry lines between as many other lines) against one
// plain pass over the same text. The decoder runs on every keystroke, so its cost should stay
// within twice that pass.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "pelorin/decoder.h"

namespace {

constexpr int kTelemetryLines = 1000;

std::u16string makeText() {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> digit(0, 15);
    const char* hex = "0123456789ABCDEF";
    const char* others[] = {"PLRN-1>BEACON: PELORIN-1 OBC ALIVE MODE NOMINAL",
                            "[12:01:07] G4PLN>APRS: =4807.38N/01131.00E-QTH 661",
                            "PLRN-1.MSG: PLEASE SEND YOUR TELEMETRY REPORTS"};
    std::string text;
    for (int k = 0; k < kTelemetryLines; ++k) {
        text += others[k % 3];
        text += "\r\n";
        text += pelorin::FrameMarker;
        for (int d = 0; d < pelorin::kFrameDigits; ++d) {
            text += hex[digit(rng)];
        }
        text += "\r\n";
    }
    return std::u16string(text.begin(), text.end());
}

const std::u16string& sampleText() {
    static const std::u16string text = makeText();
    return text;
}

void BM_DecodeText(benchmark::State& state) {
    const std::u16string& text = sampleText();
    pelorin::TelemetryStore store;
    for (auto _ : state) {
        const auto result = pelorin::Decode_Text(text, store);
        benchmark::DoNotOptimize(result.RecordCount);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_DecodeText)->Unit(benchmark::kMicrosecond);

// The baseline: one pass that upper-cases the text into a buffer.
void BM_UpperCasePass(benchmark::State& state) {
    const std::u16string& text = sampleText();
    std::u16string buffer(text.size(), u' ');
    for (auto _ : state) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            buffer[i] = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_UpperCasePass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
