#pragma once

// What the window benchmarks share: generated telemetry lines, letting queued work run, and
// the figures they print.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "pelorin/frame_marker.h"

namespace window_bench {

using Clock = std::chrono::steady_clock;

// Telemetry lines with varied digits, so values, flags and bars differ from line to line.
inline std::string TelemetryLine(unsigned seed) {
    static const char* hex = "0123456789ABCDEF";
    std::string line(pelorin::FrameMarker);
    unsigned state = seed * 2654435761U + 12345U;
    for (int k = 0; k < pelorin::kFrameDigits; ++k) {
        state = state * 1103515245U + 12345U;
        line += hex[(state >> 16) & 0xF];
    }
    return line;
}

// Lets queued work (the chart's replot, repaints) run.
inline void Settle() {
    for (int turn = 0; turn < 3; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

inline double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

inline double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace window_bench
