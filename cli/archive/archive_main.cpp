#include <cstdio>
#include <string_view>
#include <vector>

#include "add_run.h"
#include "archive_options.h"
#include "archive_reports.h"
#include "decoder_run.h"
#include "error_report.h"
#include "pelorin/archive_location.h"
#include "pelorin/number_text.h"
#include "pelorin/temporary_files.h"
#include "stop_signal.h"

namespace {

using namespace pelorin;
using namespace pelorin::cli;

// Entries a copy commits at a time, as add does.
constexpr std::size_t kCopyBatch = 20'000;

// Pushes this archive to the other one, or pulls the other one into this one.
int copyArchives(const ArchiveOptions& options) {
    const bool push = options.command == ArchiveCommand::Push;
    const std::string here = ArchiveLocation(options.archive);
    try {
        const auto from = OpenArchive(push ? here : *options.other, ArchiveAccess::Read);
        const auto to = OpenArchive(push ? *options.other : here, ArchiveAccess::Write);
        const AddCounts added =
            CopyArchive(*from, *to, kCopyBatch, [] { return !StopRequested(); });
        ReportError("added to " + to->location() + ": " + FormatInteger(added.newFrames) +
                    " new frames, " + FormatInteger(added.newReceptions) + " new receptions");
    } catch (const ArchiveError& error) {
        ReportError(error.what());
        return kExitFailure;
    }
    return ExitStatus(false);
}

int runCommand(const ArchiveOptions& options) {
    if (options.command == ArchiveCommand::Push || options.command == ArchiveCommand::Pull) {
        return copyArchives(options);
    }
    if (options.command == ArchiveCommand::Init) {
        const std::string sql = SharedArchiveSetupSql();
        std::fwrite(sql.data(), 1, sql.size(), stdout);
        return kExitOk;
    }
    const bool writing = options.command == ArchiveCommand::Add;
    std::unique_ptr<ArchiveStore> store;
    try {
        store = OpenArchive(ArchiveLocation(options.archive),
                            writing ? ArchiveAccess::Write : ArchiveAccess::Read);
    } catch (const ArchiveError& error) {
        ReportError(error.what());
        return kExitFailure;
    }
    switch (options.command) {
        case ArchiveCommand::Add:
            return AddRun(options, *store).run();
        case ArchiveCommand::Passes:
            return ListPasses(options, *store);
        case ArchiveCommand::Export:
            return ExportFrames(options, *store);
        case ArchiveCommand::Stats:
            return ShowStats(*store);
        case ArchiveCommand::Init:
        case ArchiveCommand::Push:
        case ArchiveCommand::Pull:
        case ArchiveCommand::None:
            break;
    }
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    SetReportedProgram("pelorin-archive");
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedArchiveOptions parsed = ParseArchiveOptions(args, UtcNow());
    if (!parsed.error.empty()) {
        ReportError(parsed.error);
        ReportError("try 'pelorin-archive --help' for more information");
        return kExitUsage;
    }
    const ArchiveOptions& options = parsed.options;
    if (options.help) {
        const std::string_view usage = ArchiveUsageText(options.command);
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        return kExitOk;
    }
    if (options.version) {
        std::puts("pelorin-archive " PELORIN_VERSION);
        return kExitOk;
    }
    InstallStopHandlers();
    ProtectTemporaryFiles();
    return runCommand(options);
}
