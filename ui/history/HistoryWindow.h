#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryData.h"
#include "pelorin/archive_store.h"
#include "pelorin/csv_writer.h"
#include "pelorin/limits.h"

class QComboBox;
class QImage;
class QLabel;
class QMenuBar;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTimer;
class QTreeView;

namespace pelorin {

class HistoryLoader;
class HistoryPanel;
class PassListModel;
struct HistorySnapshot;

// The History window: the archive's passes, newest first, beside one to four stacked panels
// that chart any quantity across every archived frame on a shared time axis, by reception time
// (UTC, labelled in local time) or on-board time. The archive is read off this thread; while
// the window is visible it looks every second for frames that came since.
class HistoryWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMaxPanels = 4;
    static constexpr int kDefaultPanels = 2;

    // A window of its own over the archive at `location`; `parent` is the main window.
    HistoryWindow(const QString& location, QWidget* parent);
    ~HistoryWindow() override;

    // Reads the archive again.
    void reload();
    // The view on the time axis, in seconds.
    history::TimeSpan view() const { return view_; }
    history::TimeBase timeBase() const { return base_; }
    const HistorySnapshot* snapshot() const { return snapshot_.get(); }
    HistoryPanel* panel(int index) const { return panels_[static_cast<std::size_t>(index)]; }
    int panelCount() const;
    // The pass of the passes list's current row.
    std::optional<PassSummary> chosenPass() const;

    // The limits file's ranges, as the main window applies them.
    void setLimits(const LimitTable& limits);
    void zoomAt(double anchor, double factor);
    void panBy(double fraction);
    void showPreset(history::RangePreset preset);
    // The user's decimal separator, as the main window writes values with.
    void setDecimalSeparator(std::string separator) { decimalSeparator_ = std::move(separator); }

    // The cross-hair at the frame nearest to `time` on the time axis, with its text.
    void hoverAt(double time);
    void clearHover();
    // Export Range as CSV... and Save Plots as PNG... without their dialogs. The CSV is written
    // off this thread; csvWritten tells when.
    void exportRangeTo(const QString& path, CsvForm form);
    bool savePlotsTo(const QString& path);
    // The visible panels stacked in one picture under a title with the time range.
    QImage plotsImage() const;

  signals:
    // A new reading of the archive is shown.
    void snapshotShown();
    // Open in Main Window: the chosen pass's telemetry lines, one a line in reception order,
    // are wanted in the paste box.
    void openInMainWindow(const QString& lines);
    // An Export Range as CSV... has ended; `error` is empty when the file was written.
    void csvWritten(const QString& path, const QString& error);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* makeControls();
    QMenuBar* makeMenuBar();
    void exportRange();
    void savePlots();
    void onExported(const QString& path, const QString& error);
    QString rangeText() const;
    QWidget* makePassList();
    void showSnapshot(std::shared_ptr<const HistorySnapshot> snapshot);
    void fillPasses();
    void setSeries();
    void setView(history::TimeSpan view);
    void draw();
    void onPassChosen();
    void onPolled(qint64 newestFrame);
    std::vector<int> chartedValues() const;
    bool snapshotHoldsChartedValues() const;
    void showPanels(int count);
    void restoreChoices();
    void saveChoices() const;

    QString location_;
    HistoryLoader* loader_;
    PassListModel* passModel_;
    std::shared_ptr<const HistorySnapshot> snapshot_;
    history::TimeBase base_ = history::TimeBase::Reception;
    history::TimeSpan all_;
    history::TimeSpan view_;
    history::RangePreset preset_ = history::RangePreset::All;
    QSplitter* splitter_ = nullptr;
    QTreeView* passes_ = nullptr;
    QPushButton* openInMain_ = nullptr;
    QComboBox* axis_ = nullptr;
    QSpinBox* panelCount_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* hover_ = nullptr;
    std::string decimalSeparator_;
    QTimer* live_ = nullptr;
    std::array<HistoryPanel*, kMaxPanels> panels_{};
};

}  // namespace pelorin
