#pragma once

#include <QClipboard>
#include <QObject>

class QAction;
class QContextMenuEvent;
class QLineEdit;
class QMainWindow;
class QMenu;

namespace pelorin {

class PasteBox;

// Lines belong in the paste box. Text holding a line break that is pasted into a one-line box
// of the window (a value box or Text3: by keyboard, context menu or middle click) goes into the
// paste box at its cursor as one paste, so it is decoded once and undone in one step. A single
// line pasted into a box stays there.
class PasteRouter : public QObject {
    Q_OBJECT
  public:
    // Watches the one-line boxes of `window`'s client area; owned by `window`.
    PasteRouter(QMainWindow& window, PasteBox& pasteBox);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool filterBoxEvent(QLineEdit& box, QEvent* event);
    // Moves the clipboard's text into the paste box when it holds lines; false otherwise.
    bool routeClipboard(QClipboard::Mode mode);
    void showContextMenu(QLineEdit& box, const QContextMenuEvent& event);
    // The Paste entry of a box's standard context menu.
    static QAction* PasteEntry(const QMenu& menu);

    PasteBox& pasteBox_;
};

}  // namespace pelorin
