#pragma once

#include <QColor>
#include <QObject>
#include <array>

#include "pelorin/telemetry_table.h"

class QLineEdit;
class QWidget;

namespace pelorin {

// The colours of the value boxes Text1(0..34). A box shows its text on the window-background
// colour, or on light yellow while its quantity is charted. The text is black, except in the
// time box Text1(0), which keeps the palette's text colour where it stands on the palette's
// own base, and red for a value outside its limits. Under a dark palette, whose base would hide black text, a light grey stands in for
// the window-background colour, so the fixed black text and light yellow stay as they are.
// The colours follow palette changes of the window at run time.
class ValueBoxColors : public QObject {
    Q_OBJECT
  public:
    static const QColor kHighlight;  // light yellow, 0xC0FFFF packed
    static const QColor kDarkPaletteBase;

    // Colours `boxes` at once; owned by `window`, whose palette it follows.
    ValueBoxColors(QWidget& window, const std::array<QLineEdit*, kShownValues>& boxes);

    void setHighlighted(int index, bool highlighted);
    // A value outside its limits is written in a red that reads on the box's background.
    void setOutOfLimits(int index, bool out);

    // The box colour of the window-background colour under `palette`.
    static QColor PlainBase(const QPalette& palette);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply(int index);

    QWidget& window_;
    std::array<QLineEdit*, kShownValues> boxes_;
    std::array<bool, kShownValues> highlighted_{};
    std::array<bool, kShownValues> outOfLimits_{};
};

}  // namespace pelorin
