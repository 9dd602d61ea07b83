#pragma once

#include <QStatusBar>
#include <cstdint>
#include <vector>

class QLabel;

namespace pelorin {

struct DecodeResult;

// The status bar under the window's bottom line: what the last decode made of the pasted
// lines, with the line numbers of the rejected frames as the tool tip of their count, and, when
// the user has set limits, the records with a value outside them.
class PasteReport : public QStatusBar {
    Q_OBJECT
  public:
    explicit PasteReport(QWidget* parent = nullptr);

    void showResult(const DecodeResult& result);
    // `records`: the record numbers with a value out of limits; hidden when `limitsSet` is
    // false.
    void showOutOfLimits(const std::vector<std::int32_t>& records, bool limitsSet);

    // At most this many line or record numbers are listed in a tool tip.
    static constexpr int kListedLineNumbers = 50;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* decoded_;
    QLabel* other_;
    QLabel* rejected_;
    QLabel* outOfLimits_;
};

}  // namespace pelorin
