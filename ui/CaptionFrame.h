#pragma once

#include <QGroupBox>

namespace pelorin {

// A frame of the main window: a group box whose caption is bold and grey, while the controls
// inside keep their own black text.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

    static const QColor kCaptionColor;

  protected:
    void initStyleOption(QStyleOptionGroupBox* option) const override;
};

}  // namespace pelorin
