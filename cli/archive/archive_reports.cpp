#include "archive_reports.h"

#include <unistd.h>

#include <memory>

#include "csv_format.h"
#include "decoder_run.h"
#include "error_report.h"
#include "jsonl_format.h"
#include "output_clash.h"
#include "output_sink.h"
#include "pelorin/elapsed_time.h"
#include "pelorin/number_text.h"
#include "pelorin/write_all.h"
#include "stop_signal.h"

namespace pelorin::cli {
namespace {

constexpr std::int64_t kMillisPerSecond = 1000;
constexpr std::string_view kPassesHeader =
    "pass  start                     end                       duration    frames  receptions  "
    "stations\n";

int writeStdout(const std::string& text) {
    if (const int error = WriteAll(STDOUT_FILENO, text, StopRequested); error != 0) {
        if (!StopRequested()) {
            ReportError("could not write standard output: " +
                        std::generic_category().message(error));
        }
        return kExitFailure;
    }
    return kExitOk;
}

void pad(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    out.append(text.size() < width ? width - text.size() : 1, ' ');
}

// A pass's ends: reception times, or on-board times for a pass without them.
std::string passEnd(const PassSummary& pass, std::int64_t at) {
    return pass.timed ? FormatUtcTime(at)
                      : "on board " + SecToTime(static_cast<std::int32_t>(at / kMillisPerSecond));
}

std::string duration(const PassSummary& pass) {
    return SecToTime(static_cast<std::int32_t>((pass.end - pass.start) / kMillisPerSecond));
}

void appendPassLine(std::string& out, const PassSummary& p) {
    pad(out, FormatInteger(p.number), 6);
    pad(out, passEnd(p, p.start), 26);
    pad(out, passEnd(p, p.end), 26);
    pad(out, duration(p), 12);
    pad(out, FormatInteger(p.frames), 8);
    pad(out, FormatInteger(p.receptions), 12);
    out.append(FormatInteger(p.stations)).push_back('\n');
}

void appendPassJson(std::string& out, const PassSummary& p) {
    const auto time = [&p, &out](std::int64_t at) {
        if (p.timed) {
            AppendJsonString(out, FormatUtcTime(at));
        } else {
            out.append("null");
        }
    };
    out.append("{\"pass\":").append(FormatInteger(p.number));
    out.append(",\"start\":");
    time(p.start);
    out.append(",\"end\":");
    time(p.end);
    out.append(",\"frames\":").append(FormatInteger(p.frames));
    out.append(",\"receptions\":").append(FormatInteger(p.receptions));
    out.append(",\"stations\":").append(FormatInteger(p.stations)).append("}\n");
}

std::unique_ptr<RecordFormat> exportFormat(const Options& o) {
    if (o.format == OutputFormat::Jsonl) {
        return std::make_unique<JsonlFormat>();
    }
    return std::make_unique<CsvFormat>(o.decimalComma ? "," : ".",
                                       o.csvForm.value_or(CsvForm::Export));
}

// The members jsonl adds for an archived frame: its first reception and its stations.
void archiveMembers(std::string& out, const ArchivedFrame& frame) {
    out.assign(",\"received\":");
    if (frame.firstReceived) {
        AppendJsonString(out, FormatUtcTime(*frame.firstReceived));
    } else {
        out.append("null");
    }
    out.append(",\"stations\":[");
    for (std::size_t k = 0; k < frame.stations.size(); ++k) {
        out.append(k > 0 ? "," : "");
        AppendJsonString(out, frame.stations[k]);
    }
    out.push_back(']');
}

// The output must not be the archive, which writing it would destroy.
int refuseClash(const Options& output, const std::string& archive) {
    Options check = output;
    check.inputs = {archive};
    if (FindOutputClash(check) != OutputClash::None) {
        ReportError("the output file " + *output.outputPath + " is the archive");
        return kExitUsage;
    }
    return kExitOk;
}

}  // namespace

int ListPasses(const ArchiveOptions& options, ArchiveStore& store) {
    std::string out(options.json ? std::string_view() : kPassesHeader);
    try {
        for (const PassSummary& pass : store.passes(options.range)) {
            options.json ? appendPassJson(out, pass) : appendPassLine(out, pass);
        }
    } catch (const ArchiveError& error) {
        ReportError(error.what());
        return kExitFailure;
    }
    return writeStdout(out);
}

int ExportFrames(const ArchiveOptions& options, ArchiveStore& store) {
    const Options& o = options.output;
    if (o.outputPath) {
        if (const int status = refuseClash(o, store.location()); status != kExitOk) {
            return status;
        }
    }
    const std::unique_ptr<RecordFormat> format = exportFormat(o);
    OutputSink sink(o.outputPath, Delivery::InBlocks);
    if (const WriteResult opened = sink.open(); !opened.ok) {
        ReportError(opened.error);
        return kExitFailure;
    }
    format->appendHeader(sink.buffer());
    std::int64_t record = 0;
    std::string more;
    WriteResult written{true, {}};
    try {
        store.forEachFrame({options.range, options.pass}, [&](const ArchivedFrame& frame) {
            if (!written.ok || StopRequested()) {
                return;
            }
            if (o.format == OutputFormat::Jsonl) {
                archiveMembers(more, frame);
            }
            format->appendRecord(sink.buffer(), frame.raw,
                                 {++record, frame.source, frame.line, frame.suspect, more});
            written = sink.endRecord();
        });
    } catch (const ArchiveError& error) {
        sink.abandon();
        ReportError(error.what());
        return kExitFailure;
    }
    if (written.ok && !StopRequested()) {
        written = sink.finish();
    }
    if (!written.ok || StopRequested()) {
        sink.abandon();
        if (!written.ok && !StopRequested()) {
            ReportError(written.error);
        }
        return ExitStatus(true);
    }
    return kExitOk;
}

int ShowStats(ArchiveStore& store) {
    ArchiveStats s;
    try {
        s = store.stats();
    } catch (const ArchiveError& error) {
        ReportError(error.what());
        return kExitFailure;
    }
    const auto time = [](const std::optional<UtcMillis>& t) {
        return t ? FormatUtcTime(*t) : std::string("none");
    };
    std::string out;
    out.append("archive: ").append(store.location()).push_back('\n');
    out.append("frames: ").append(FormatInteger(s.frames)).push_back('\n');
    out.append("receptions: ").append(FormatInteger(s.receptions)).push_back('\n');
    out.append("stations: ").append(FormatInteger(s.stations)).push_back('\n');
    out.append("first reception: ").append(time(s.firstReception)).push_back('\n');
    out.append("last reception: ").append(time(s.lastReception)).push_back('\n');
    out.append("passes: ").append(FormatInteger(s.passes)).push_back('\n');
    out.append("file size: ").append(FormatInteger(s.fileBytes)).append(" bytes\n");
    return writeStdout(out);
}

}  // namespace pelorin::cli
