#include "ChartNumberText.h"

#include <QLocale>

#include "pelorin/number_text.h"

namespace pelorin {

QString ChartNumberText(double value) {
    const std::string separator = QLocale().decimalPoint().toStdString();
    return QString::fromStdString(FormatGeneral(value, separator));
}

}  // namespace pelorin
