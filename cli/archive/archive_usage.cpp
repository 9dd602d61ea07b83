// pelorin-archive's usage texts, the whole program's and each command's.
#include "archive_options.h"

namespace pelorin::cli {
namespace {

constexpr std::string_view kAddUsage =
    R"(Usage: pelorin-archive add [--station CALL] [--follow] FILE...
Decodes the telemetry lines of the FILEs ("-" for standard input) as pelorin-decode does and
adds each frame once, with a reception for every line that carried it. Adding a log again
adds nothing. A line's reception time is the date and time written before its marker, or,
while following, the time the line was read.

Options:
      --station CALL   the station that heard the lines (default: none)
  -f, --follow         after the end of the one FILE, add each line appended to it, through
                       rotation; each frame is in the archive within a second of its line
  -q, --quiet          no summary on standard error
)";

constexpr std::string_view kPassesUsage =
    R"(Usage: pelorin-archive passes [--since T] [--until T] [--json]
One line per pass: number, start, end, duration, frames, receptions and stations. A pass is a
run of frames received within 15 minutes of the one before; frames without a reception
time are grouped alike by on-board time, and a reboot starts a new pass.

Options:
      --since T        passes that end at or after T
      --until T        passes that start at or before T
      --json           JSON Lines with "pass", "start", "end", "frames", "receptions",
                       "stations"
)";

constexpr std::string_view kExportUsage =
    R"(Usage: pelorin-archive export [OPTIONS]
Writes one record per archived frame, by first reception, frames without one after them by
on-board time, in pelorin-decode's CSV or JSON Lines; jsonl adds "received" (the first
reception) and "stations".

Options:
      --since T        frames first received at or after T
      --until T        frames first received at or before T
      --pass N         the frames of pass N (see passes)
      --format FORMAT  csv (default) or jsonl
      --header HEADER  captions (default) or names, as in pelorin-decode
      --decimal-comma  write the CSV values with "," as decimal separator
  -o, --output FILE    write to FILE, by pelorin-decode's rules, instead of standard output
)";

constexpr std::string_view kStatsUsage =
    R"(Usage: pelorin-archive stats
Frames, receptions, stations, first and last reception, passes and the archive's size.
)";

constexpr std::string_view kInitUsage =
    R"(Usage: pelorin-archive init
Prints the SQL that an administrator runs once on a PostgreSQL database to share one archive
among stations: the tables, and the role pelorin_station, which may read and add frames but
neither change nor delete them. Each station's login is then made a member of that role.
)";

constexpr std::string_view kPushUsage =
    R"(Usage: pelorin-archive push --to ARCHIVE
Adds to ARCHIVE every frame and reception of this archive that it lacks, such as the passes a
station heard while it was offline. Running it again adds nothing; a push cut short, run
again, completes it. Either archive may be a file or a postgresql:// URI.

Options:
      --to ARCHIVE     the archive to add to
)";

constexpr std::string_view kPullUsage =
    R"(Usage: pelorin-archive pull --from ARCHIVE
Adds to this archive every frame and reception of ARCHIVE that it lacks; as push, the other
way.

Options:
      --from ARCHIVE   the archive to read from
)";

constexpr std::string_view kUsage =
    R"(Usage: pelorin-archive [--archive ARCHIVE] COMMAND [OPTIONS]
Keeps every telemetry frame of the Pelorin satellite ever received, with each reception, in
an archive that pelorin-telemetry writes too.

Commands:
  add [--station CALL] [--follow] FILE...   decode logs and add their frames
  passes [--since T] [--until T] [--json]   list the passes
  export [OPTIONS]                          write the frames as CSV or JSON Lines
  stats                                     count what the archive holds
  push --to ARCHIVE                         add what ARCHIVE lacks to it
  pull --from ARCHIVE                       add what this archive lacks from ARCHIVE
  init                                      print the SQL that sets up a shared server

T is a date or date and time in UTC (2026-12-08, 2026-12-08T13:25:40Z), or a time back from
now: 24h, 7d. "pelorin-archive COMMAND --help" describes a command.

Options:
      --archive ARCHIVE  the archive: a file, or a postgresql:// URI (password from
                       ~/.pgpass, PGPASSWORD or a service file; default: $PELORIN_ARCHIVE,
                       else $XDG_DATA_HOME/pelorin/archive.sqlite, made on the first add)
      --station CALL   add: the station that heard the lines
  -f, --follow         add: keep adding the lines appended to the one FILE
  -q, --quiet          add: no summary
      --to ARCHIVE     push: the archive to add to
      --from ARCHIVE   pull: the archive to read from
      --since T        passes, export: from T on
      --until T        passes, export: up to T
      --json           passes: JSON Lines
      --pass N         export: the frames of pass N
      --format FORMAT  export: csv (default) or jsonl
      --header HEADER  export: captions (default) or names
      --decimal-comma  export: "," as decimal separator
  -o, --output FILE    export: write to FILE instead of standard output
  -h, --help           show this help and exit
      --version        show the version and exit

Exit status: 0 when all went well, 1 when an input, the archive or the output could not be
read or written, 2 for a bad command line, 128 + N when stopped by signal N (130 for Ctrl-C).
)";

}  // namespace

std::string_view ArchiveUsageText(ArchiveCommand command) {
    switch (command) {
        case ArchiveCommand::Add:
            return kAddUsage;
        case ArchiveCommand::Passes:
            return kPassesUsage;
        case ArchiveCommand::Export:
            return kExportUsage;
        case ArchiveCommand::Stats:
            return kStatsUsage;
        case ArchiveCommand::Init:
            return kInitUsage;
        case ArchiveCommand::Push:
            return kPushUsage;
        case ArchiveCommand::Pull:
            return kPullUsage;
        case ArchiveCommand::None:
            break;
    }
    return kUsage;
}

}  // namespace pelorin::cli
