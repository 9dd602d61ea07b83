#pragma once

#include <QObject>

class QMainWindow;
class QPlainTextEdit;
class QScrollBar;
class QWidget;

namespace pelorin {

// The main window's keyboard routing. Page Up/Down and Home/End step the record selector
// wherever the focus is, except in the text boxes (the paste box, the value boxes and Text3),
// which keep those keys for their cursor, and Home in the chart, which shows all rows.
class InputRouter : public QObject {
    Q_OBJECT
  public:
    // Watches `window` and the controls of its client area; owned by `window`.
    InputRouter(QMainWindow& window, QPlainTextEdit& pasteBox, QScrollBar& selector);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The text boxes keep every key for their cursor, the chart its own keys.
    static bool KeepsKey(const QWidget* widget, int key);
    bool stepSelector(int key);

    QPlainTextEdit& pasteBox_;
    QScrollBar& selector_;
};

}  // namespace pelorin
