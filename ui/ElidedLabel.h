#pragma once

#include <QLabel>

namespace pelorin {

// A one-line label that cuts a text too long for it at the end, visibly, with "...". text()
// stays the whole text, for the tool tip and for screen readers.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as drawn: whole where it fits, else its longest beginning that fits with "...".
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pelorin
