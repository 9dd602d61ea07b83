// The incremental decoder's share of one keystroke: one line replaced, then the store and the
// counts brought up to date, at the end or in the middle of texts of 4,000 lines (1000
// telemetry lines among other lines) and 640,000 lines (a 50 MB log). The keystroke makes the
// line a telemetry line and takes it back in turn. For instruction counts of one case:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*Keystroke*Box*'
//       build/bench/core/incremental_decode_benchmark --benchmark_filter=lines:640000/middle:1
// and divide the instructions by the calls of Keystroke (callgrind_annotate --tree=caller).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pelorin/frame_marker.h"
#include "pelorin/incremental_decoder.h"

namespace {

constexpr std::int64_t kOtherLinesPerFrame = 3;

struct Box {
    std::vector<std::u16string> lines;
    pelorin::IncrementalDecoder decoder;
    pelorin::TelemetryStore store;

    explicit Box(std::int64_t count) {
        const std::u16string frame =
            std::u16string(pelorin::FrameMarker.begin(), pelorin::FrameMarker.end()) +
            std::u16string(pelorin::kFrameDigits, u'7');
        std::vector<pelorin::LineMark> marks;
        for (std::int64_t k = 0; k < count; ++k) {
            lines.push_back(k % (kOtherLinesPerFrame + 1) == 0 ? frame
                                                               : u"PLRN-1>BEACON: OBC ALIVE");
            marks.push_back({pelorin::ClassifyLine(lines.back()), true});
        }
        decoder.replaceParagraphs(0, decoder.paragraphs(), marks);
        update();
    }

    pelorin::DecodeResult update() {
        return decoder.update(store, [this](const pelorin::LinePlace& place) {
            return std::u16string_view(lines[static_cast<std::size_t>(place.paragraph)]);
        });
    }

    // Line `at` becomes a telemetry line or stops being one, as a keystroke there does.
    void keystroke(std::int64_t at, bool telemetry) {
        const pelorin::LineMark mark{
            telemetry ? pelorin::LineClass::Telemetry : pelorin::LineClass::Other, true};
        lines[static_cast<std::size_t>(at)] =
            telemetry ? lines[0]
                      : std::u16string(pelorin::FrameMarker.begin(), pelorin::FrameMarker.end());
        decoder.replaceParagraphs(at, 1, std::span(&mark, 1));
    }
};

// Apart, so that callgrind can count it alone.
[[gnu::noinline]] std::int32_t Keystroke(Box& box, std::int64_t at, bool telemetry) {
    box.keystroke(at, telemetry);
    return box.update().RecordCount;
}

void BM_Keystroke(benchmark::State& state) {
    Box box(state.range(0));
    const std::int64_t at = state.range(1) == 0 ? state.range(0) - 1 : state.range(0) / 2;
    bool telemetry = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Keystroke(box, at, telemetry));
        telemetry = !telemetry;
    }
}
// Lines of the text; 0 at the end, 1 in the middle.
BENCHMARK(BM_Keystroke)
    ->ArgNames({"lines", "middle"})
    ->Args({4000, 0})
    ->Args({4000, 1})
    ->Args({640000, 0})
    ->Args({640000, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
