#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QPalette>
#include <QPointer>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Form1Layout.h"
#include "pelorin/csv_writer.h"
#include "pelorin/limits.h"
#include "pelorin/telemetry_table.h"

namespace pelorin {

class ArchiveKeeper;
class DropRouter;
class Form2;
class InputRouter;
class LimitsWatcher;
class LogFollowSession;
class OutOfLimitsNotifier;
class PasteBox;
class PasteRouter;
class RecentFiles;
class TextFileLoadSession;
class RecordsModel;
class RecordsWindow;
class HistoryWindow;
class ValueBoxColors;
class WindowGeometry;
struct DecodeResult;
struct FollowBatch;

// The main window. It owns the decoded telemetry for the life of the program and every control
// that shows it: the paste box Text2, the value boxes Text1(0..34) with their option buttons
// Option1 and unit labels Label1, the status graphic Picture1, the trend chart MSChart1 and
// the record selector HScroll1. Form1Layout builds the controls; this class holds the
// handlers and procedures that react to them.
class Form1 : public QMainWindow, private Form1Layout {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The program's folder, which "Write CSV File" writes into when the user may, unless a test
    // points it elsewhere.
    void setCsvFolder(const QString& folder) { csvFolder_ = folder; }

    // Starts putting a text file into the paste box as one paste (decoded once, undoable),
    // showing its progress with a Cancel button when it takes a while; a load under way is
    // cancelled first. textFileLoaded() reports the end: when the file is in the box it is
    // listed first in File > Open Recent; when it cannot be used Label3 says why and the box is
    // unchanged, as it is when the user cancelled or the window closed meanwhile.
    void loadTextFile(const QString& path);
    // Follows the log file at `path` in the paste box (its newest 1000 records, then each line
    // as it comes) until Stop Following or an edit of the box. When the file cannot be
    // followed, says why in Label3, leaves the box unchanged and returns false.
    bool followLog(const QString& path);
    // Writes all records as CSV to `path` without ever leaving a half-written file there.
    // Returns false, with the reason in Label3, when it could not be written.
    // `form`: the header kind, the export's captions or the analysis tools' column names.
    bool writeCsvFile(const QString& path, CsvForm form = CsvForm::Export);

  signals:
    // A load begun by loadTextFile() has ended; `ok` when the file is in the box.
    void textFileLoaded(bool ok);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void connectHandlers();
    void loadFinished(const QString& path, bool ok, const QString& error);
    void cancelLoad();

    // Event handlers and procedures, named after control and event.
    void Form_Load();
    void Text2_Change();
    // Where the record selector goes after a decode.
    enum class SelectorPolicy {
        // Keeps its position, pulled back when the records became fewer; the chart shows the
        // quantity a decode chooses (the user's edit).
        Stay,
        // Keeps its record, which moved up by the records that left the top, or the newest when
        // it was on the last; the chart keeps the chosen quantity and its zoom (followed lines).
        SameRecord,
        // The newest record, the chart as for SameRecord (following began).
        Newest,
    };
    // Decodes the paste box, then brings the selector, the position label, the value boxes, the
    // faces, the chart and the reports up to date.
    void showDecode(SelectorPolicy policy, int removedRecords = 0);
    int chosenIndex();
    void reportDecode(const DecodeResult& result);
    // Label2, where the selector is: "#1 / 3" after a decode, "2/3" after the selector moved.
    enum class PositionText { Decoded, Moved };
    void showPosition(PositionText form);
    // The selector owns the selected record; this tells the rest of the window it moved.
    void HScroll1_Change();
    // The record the value boxes show, -1 before the first decode.
    int shownRecord() const;
    void Option1_Click(int Index);
    void WriteCSVFile_Click();
    void WriteCSVFileAs_Click();
    QString csvPath() const;
    void MnuOpen_Click();
    void MnuOpenRecent_Click(const QString& path);
    void MnuFollow_Click();
    void MnuInfo_Click();
    // The archive (Form1Archive.cpp): followed lines as they come, the paste box on request,
    // the station's name, and what became of them in Label3.
    void connectArchive();
    void keepFollowed(const FollowBatch& batch, bool live);
    void MnuAddToArchive_Click();
    void MnuStationName_Click();
    void showKept(int purpose, qint64 telemetryLines, qint64 newFrames);
    // File > Records Table: opens the records table beside the window, or raises it.
    void MnuRecords_Click();
    void placeBeside(QWidget& window) const;
    // File > History... (Form1History.cpp): opens the History window over the archive, or
    // raises it.
    void MnuHistory_Click();
    // Puts `lines` into the paste box as one undoable edit, as an opened file; asks first while
    // a log is followed, as the edit ends the following.
    void openInBox(const QString& lines);
    // The reception time of each record's line in the paste box, where it has one.
    std::vector<std::optional<QDateTime>> receptionTimes() const;
    std::optional<QDateTime> firstReceptionTime() const;
    // Brings an open records table up to date with the store, the limits and the selector.
    void updateRecordsTable();
    void Show_Data(int Rec);
    void Draw_Chart(int Index);

    void showAcceptedLength(int length);
    void showRecordLimit(const DecodeResult& result);
    // The user's limits, as the limits file last read gave them.
    const LimitTable& limits() const;
    // The user's limits: red text in the boxes of shown values outside them, red in the chart,
    // the count in the paste report.
    void applyLimits();
    void colourShownValues();
    void showLimitsReport();
    // What Label3 shows, so a message goes away when its cause does.
    enum class Message { None, RecordLimit, OpenFailed, Export, Limits, Chart, Settings, Archive };
    void setMessage(const QString& text, Message kind);
    void clearMessage(Message kind);

    TelemetryStore store_;
    PasteBox* paste_ = nullptr;  // Text2 and its decode
    std::string decimalSeparator_;
    QString csvFolder_;
    LimitsWatcher* limitsWatcher_ = nullptr;
    int chartedIndex_ = -1;  // the value of the chart's last drawing, -1 before the first
    Message shownMessage_ = Message::None;
    TextFileLoadSession* load_ = nullptr;  // the load under way, if any
    QPointer<Form2> form2_;
    RecordsModel* recordsModel_ = nullptr;
    QPointer<RecordsWindow> records_;
    QPointer<HistoryWindow> history_;
    RecentFiles* recentFiles_ = nullptr;
    LogFollowSession* follow_ = nullptr;
    ArchiveKeeper* keeper_ = nullptr;
    QString openedPath_;    // the absolute path of the file opened into the box, "" for none
    QString followedPath_;  // the absolute path of the log followed last
    std::int64_t followedFileOffset_ = 0;  // where the tail of the current followed file began
    std::int64_t followedKept_ = 0;        // telemetry lines archived while following
    std::int64_t followedNew_ = 0;
    OutOfLimitsNotifier* alerts_ = nullptr;  // while following
    ValueBoxColors* boxColors_ = nullptr;
    // The window's event filters, its children for its whole life.
    WindowGeometry* geometry_ = nullptr;
    InputRouter* keys_ = nullptr;
    PasteRouter* pastes_ = nullptr;
    DropRouter* drops_ = nullptr;
};

}  // namespace pelorin
