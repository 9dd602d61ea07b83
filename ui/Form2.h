#pragma once

#include <QImage>
#include <QWidget>

namespace pelorin {

// The info window: the program's name, version and the maker's contact lines over a picture
// of the spacecraft. An independent top-level window, destroyed when it is closed (Escape
// closes it too). Of the dialog kind: X11 window managers keep such a window above the one it
// is transient for.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    explicit Form2(QWidget* parent = nullptr);

    static const QString kVersionText;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Form_Load();

    QImage picture_;
};

}  // namespace pelorin
