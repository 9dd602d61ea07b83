#include <cstdio>
#include <string_view>
#include <vector>

#include "decoder_run.h"
#include "options.h"
#include "pelorin/temporary_files.h"
#include "stop_signal.h"

int main(int argc, char** argv) {
    using namespace pelorin::cli;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.error.empty()) {
        ReportError(parsed.error);
        ReportError("try 'pelorin-decode --help' for more information");
        return kExitUsage;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::fwrite(UsageText().data(), 1, UsageText().size(), stdout);
        return kExitOk;
    }
    if (options.version) {
        std::puts("pelorin-decode " PELORIN_VERSION);
        return kExitOk;
    }
    InstallStopHandlers();
    pelorin::ProtectTemporaryFiles();
    return DecoderRun(options).run();
}
