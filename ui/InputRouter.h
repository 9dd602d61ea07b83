#pragma once

#include <QObject>
#include <QString>

class QMainWindow;
class QMimeData;
class QPlainTextEdit;
class QScrollBar;
class QWidget;

namespace pelorin {

// The main window's keyboard routing and file drops. Page Up/Down and Home/End step the record
// selector wherever the focus is, except in the text boxes (the paste box, the value boxes and
// Text3), which keep those keys for their cursor, and Home in the chart, which shows all rows. A
// local file dropped on the window, the paste box included, is announced by fileDropped() instead
// of being pasted as its name.
class InputRouter : public QObject {
    Q_OBJECT
  public:
    // Watches `window` and the controls of its client area; owned by `window`.
    InputRouter(QMainWindow& window, QPlainTextEdit& pasteBox, QScrollBar& selector);

  signals:
    void fileDropped(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The text boxes keep every key for their cursor, the chart its own keys.
    static bool KeepsKey(const QWidget* widget, int key);
    bool stepSelector(int key);
    // The local file of a drop, "" when it carries none.
    static QString FileFromDrop(const QMimeData* mime);

    QPlainTextEdit& pasteBox_;
    QScrollBar& selector_;
};

}  // namespace pelorin
