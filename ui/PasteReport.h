#pragma once

#include <QStatusBar>

class QLabel;

namespace pelorin {

struct DecodeResult;

// The status bar under the window's bottom line: what the last decode made of the pasted
// lines, with the line numbers of the rejected frames as the tool tip of their count, which
// is red while there are any (a lighter red where the palette's background is dark).
class PasteReport : public QStatusBar {
    Q_OBJECT
  public:
    explicit PasteReport(QWidget* parent = nullptr);

    void showResult(const DecodeResult& result);

    // At most this many line numbers are listed in the tool tip.
    static constexpr int kListedLineNumbers = 50;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void colourWarnings();
    void colourWarning(QLabel& label, bool warn) const;

    QLabel* decoded_;
    QLabel* other_;
    QLabel* rejected_;
    QLabel* suspect_;
    bool anyRejected_ = false;
    bool anySuspect_ = false;
};

}  // namespace pelorin
