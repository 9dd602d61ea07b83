#include <gtest/gtest.h>

#include <cstdlib>

#include "archive_lines.h"
#include "history/RangeExport.h"
#include "temp_folder.h"

using namespace pelorin;
using namespace pelorin::history;

namespace {

double Seconds(const char* utc) {
    return static_cast<double>(*ParseUtcTime(utc)) / 1000.0;
}

struct ExportCase {
    const char* name;
    const char* from;  // the view, in UTC, with `past` seconds more at its start
    double past;
    const char* to;
    CsvForm form;
    const char* decimalSeparator;
    std::string options;  // pelorin-archive export's for the same file
    long frames;
};

// The window's range export and pelorin-archive export of the same range write the same bytes.
TEST(RangeExport, EqualsTheArchiveCommandsExportOfTheSameRange) {
    TempFolder folder;
    const std::filesystem::path archive = folder / "a.sqlite";
    {
        auto store = OpenArchive(archive.string(), ArchiveAccess::Write);
        store->add(testarchive::entries({testarchive::logLine(100, "2026-12-01T10:00:00.250Z"),
                                         testarchive::logLine(160, "2026-12-01T10:01:00Z"),
                                         testarchive::logLine(7300, "2026-12-01T12:00:00Z")},
                                        "north"));
        store->add(testarchive::entries({testarchive::logLine(9000)}));
    }
    const ExportCase cases[] = {
        {"a whole pass and no more", "2026-12-01T09:59:00Z", 0.0, "2026-12-01T10:30:00Z",
         CsvForm::Export, ".", "", 2},
        {"a view starting within a millisecond", "2026-12-01T10:00:00.250Z", 0.0004,
         "2026-12-01T13:00:00Z", CsvForm::Analysis, ".", "--header names", 2},
        {"decimal comma", "2026-12-01T09:00:00Z", 0.0, "2026-12-01T13:00:00Z", CsvForm::Export, ",",
         "--decimal-comma", 3},
    };
    auto store = OpenArchive(archive.string(), ArchiveAccess::Read);
    for (const ExportCase& c : cases) {
        const TimeSpan view{Seconds(c.from) + c.past, Seconds(c.to)};
        const std::filesystem::path window = folder / "window.csv";
        const std::filesystem::path command = folder / "command.csv";
        const WriteResult written =
            WriteRangeCsv(*store, TimeBase::Reception, view, window, c.form, c.decimalSeparator);
        ASSERT_TRUE(written.ok) << written.error;
        const FrameQuery query = ReceptionQuery(view);
        const std::string run =
            std::string(PELORIN_ARCHIVE_EXE) + " --archive " + archive.string() +
            " export --since " + FormatUtcTime(*query.range.since) + " --until " +
            FormatUtcTime(*query.range.until) + " " + c.options + " -o " + command.string();
        ASSERT_EQ(std::system(run.c_str()), 0) << run;
        const std::string text = ReadFile(window);
        EXPECT_EQ(text, ReadFile(command)) << c.name;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.frames + 1) << c.name;
    }
}

// A view on the on-board axis takes the frames whose on-board time lies within it, those never
// received too.
TEST(RangeExport, OnBoardViewTakesTheFramesOfItsOnBoardTimes) {
    TempFolder folder;
    auto store = OpenArchive((folder / "a.sqlite").string(), ArchiveAccess::Write);
    store->add(testarchive::entries({testarchive::logLine(100, "2026-12-01T10:00:00Z"),
                                     testarchive::logLine(200), testarchive::logLine(300)}));
    const std::filesystem::path file = folder / "onboard.csv";
    ASSERT_TRUE(
        WriteRangeCsv(*store, TimeBase::Onboard, {150.0, 300.0}, file, CsvForm::Export, ".").ok);
    const std::string text = ReadFile(file);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

}  // namespace
