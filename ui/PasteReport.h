#pragma once

#include <QStatusBar>
#include <cstdint>
#include <vector>

#include "pelorin/decoder.h"

class QLabel;

namespace pelorin {

// The status bar under the window's bottom line: what the last decode made of the pasted
// lines. The counts that warn (rejected frames, frames decoded with non-hex characters and,
// when the user has set limits, records with a value outside them) list their line or record
// numbers in their tool tip and are red while there are any (a lighter red where the palette's
// background is dark).
class PasteReport : public QStatusBar {
    Q_OBJECT
  public:
    explicit PasteReport(QWidget* parent = nullptr);

    void showResult(const DecodeResult& result);
    // `records`: the record numbers with a value out of limits; hidden when `limitsSet` is
    // false.
    void showOutOfLimits(const std::vector<std::int32_t>& records, bool limitsSet);

    // What a followed log is doing (which file, how long ago its last line came), or why
    // following stopped; hidden while empty. `toolTip`: the whole path.
    void showFollowing(const QString& text, const QString& toolTip = QString());
    // The last rotation, deletion or truncation of the followed log; hidden while empty.
    void showFollowEvent(const QString& text);

    // At most this many line or record numbers are listed in a tool tip: as many line numbers
    // as a decode reports.
    static constexpr int kListedLineNumbers = kReportedLineNumbers;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // A count that warns, red while above zero.
    struct Warning {
        QLabel* label = nullptr;
        bool any = false;
    };
    void showWarning(Warning& warning, std::int64_t count, const QString& toolTip);
    void colourWarning(const Warning& warning) const;

    QLabel* decoded_;
    QLabel* other_;
    Warning rejected_;
    Warning suspect_;
    Warning outOfLimits_;
    QLabel* following_;
    QLabel* followEvent_;
};

}  // namespace pelorin
