#pragma once

#include <QObject>
#include <QString>

class QMainWindow;
class QMimeData;

namespace pelorin {

class PasteBox;

// What is dropped on the main window, by one rule: a local file opens (fileDropped()), and text
// holding lines goes into the paste box at its cursor as one paste. A file dropped on the paste
// box opens too instead of being pasted as its name; text dropped on the box goes where it
// lands, as the box puts it. The one-line boxes take no drops, so theirs reach the window.
class DropRouter : public QObject {
    Q_OBJECT
  public:
    // Watches `window`, the controls of its client area and the paste box; owned by `window`.
    DropRouter(QMainWindow& window, PasteBox& pasteBox);

  signals:
    void fileDropped(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a drop carries by the rule: a local file, or else lines for the paste box; both
    // empty when it is neither.
    struct Content {
        QString file;
        QString lines;
    };
    static Content Read(const QMimeData* mime);
    // The drop is taken here: a file anywhere, lines only where no control took them.
    bool takes(const QObject* watched, const Content& content) const;

    QMainWindow& window_;
    PasteBox& pasteBox_;
};

}  // namespace pelorin
