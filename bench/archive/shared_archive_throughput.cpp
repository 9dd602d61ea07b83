// Measures stations adding to one shared PostgreSQL archive at the same time: by default 8, each
// adding 200,000 frames of which half are also heard by the next station, in batches of 20,000
// as pelorin-archive add commits them. Gives frames a second in total (every station's frames,
// known ones included) and the time until a reader finds the last frame; then checks the
// archive's counts.
// Usage: shared_archive_throughput URI [--stations N] [--frames N]   (URI: an empty database)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "pelorin/archive_ingest.h"
#include "pelorin/archive_store.h"
#include "pelorin/frame_marker.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kDefaultStations = 8;
constexpr long kDefaultFrames = 200'000;
constexpr std::size_t kBatch = 20'000;
constexpr std::size_t kTimeDigits = 8;
// The digits of a real frame; its first eight, the on-board time, make each frame distinct.
constexpr std::string_view kDigits =
    "0001E240CC5CD0CCACCC86E878873875B6EBA0B80B904008006007004CC5004E04F01002001801C070090080085016"
    "012C8000010203FFFE";
constexpr pelorin::UtcMillis kFirstReception = 1'796'000'000'000;
constexpr pelorin::UtcMillis kFrameMillis = 60'000;

// CPU seconds this process (the stations) used so far.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Frame `index` as received by `station`: the same digits and time at every station.
std::string frameLine(long index) {
    static const char* hex = "0123456789ABCDEF";
    std::string digits(kDigits);
    auto seconds = static_cast<unsigned long>(index);
    for (std::size_t k = kTimeDigits; k-- > 0;) {
        digits[k] = hex[seconds & 0xF];
        seconds >>= 4;
    }
    return std::string(pelorin::FrameMarker) + digits;
}

// Station k hears frames k * frames / 2 onwards: half of them the next station hears too.
void station(const std::string& uri, long k, long frames, std::string& error) {
    try {
        auto store = pelorin::OpenArchive(uri, pelorin::ArchiveAccess::Write);
        pelorin::ArchiveIngest ingest(std::string("S").append(std::to_string(k)));
        const long first = k * frames / 2;
        for (long i = 0; i < frames; ++i) {
            const long index = first + i;
            ingest.addLine(frameLine(index), "station.log", i + 1,
                           kFirstReception + index * kFrameMillis);
            if (ingest.entries().size() == kBatch || i + 1 == frames) {
                store->add(ingest.entries());
                ingest.clearEntries();
            }
        }
    } catch (const pelorin::ArchiveError& e) {
        error = e.what();
    }
}

long option(int argc, char** argv, std::string_view name, long otherwise) {
    for (int i = 2; i + 1 < argc; ++i) {
        if (name == argv[i]) {
            return std::strtol(argv[i + 1], nullptr, 10);
        }
    }
    return otherwise;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: shared_archive_throughput URI [--stations N] [--frames N]\n", stderr);
        return 2;
    }
    const std::string uri = argv[1];
    const long stations = option(argc, argv, "--stations", kDefaultStations);
    const long frames = option(argc, argv, "--frames", kDefaultFrames);
    const long distinct = (stations + 1) * frames / 2;
    const long receptions = stations * frames;
    // The tables are made before the clock starts, as a server set up by init has them.
    pelorin::OpenArchive(uri, pelorin::ArchiveAccess::Write);

    const Clock::time_point start = Clock::now();
    std::vector<std::string> errors(static_cast<std::size_t>(stations));
    std::vector<std::thread> threads;
    for (long k = 0; k < stations; ++k) {
        threads.emplace_back(station, std::cref(uri), k, frames,
                             std::ref(errors[static_cast<std::size_t>(k)]));
    }
    for (std::thread& t : threads) {
        t.join();
    }
    const double added = since(start);
    const double stationsCpu = cpuSeconds();
    auto reader = pelorin::OpenArchive(uri, pelorin::ArchiveAccess::Read);
    const pelorin::UtcMillis last = kFirstReception + (distinct - 1) * kFrameMillis;
    long seen = 0;
    reader->forEachFrame({{last, last}, {}}, [&seen](const pelorin::ArchivedFrame&) { ++seen; });
    const double visible = since(start);
    const pelorin::ArchiveStats stats = reader->stats();
    for (const std::string& e : errors) {
        if (!e.empty()) {
            std::fprintf(stderr, "a station failed: %s\n", e.c_str());
            return 1;
        }
    }
    std::printf("%ld stations x %ld frames (50%% overlap): %ld distinct, %ld receptions\n",
                stations, frames, distinct, receptions);
    std::printf("archive holds %lld frames, %lld receptions%s\n",
                static_cast<long long>(stats.frames), static_cast<long long>(stats.receptions),
                stats.frames == distinct && stats.receptions == receptions ? "" : "  MISMATCH");
    std::printf(
        "all added in %.2f s: %.0f frames a second in total; the stations used %.2f s "
        "of CPU\n",
        added, static_cast<double>(receptions) / added, stationsCpu);
    std::printf("last frame %s to a reader after %.2f s\n", seen == 1 ? "visible" : "NOT FOUND",
                visible);
    return stats.frames == distinct && stats.receptions == receptions && seen == 1 ? 0 : 1;
}
