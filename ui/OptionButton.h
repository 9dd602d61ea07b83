#pragma once

#include <QRadioButton>

namespace pelorin {

// An option button of the Option1 array. It is not exclusive by itself (the window clears the
// others), and a click on a selected button leaves it selected, as option buttons do.
class OptionButton : public QRadioButton {
    Q_OBJECT
  public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

  protected:
    void nextCheckState() override;
};

}  // namespace pelorin
