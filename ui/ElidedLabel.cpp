#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace pelorin {
namespace {

const QString kEllipsis = QStringLiteral("...");

}  // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {}

QString ElidedLabel::shownText() const {
    const QString whole = text();
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width() - 2 * margin();
    if (metrics.horizontalAdvance(whole) <= room) {
        return whole;
    }
    // The longest beginning that fits with the dots: a binary search over its length.
    qsizetype fits = 0;
    qsizetype tooLong = whole.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        (metrics.horizontalAdvance(whole.left(middle) + kEllipsis) <= room ? fits : tooLong) =
            middle;
    }
    if (fits > 0 && whole.at(fits - 1).isHighSurrogate()) {
        --fits;  // never half a character
    }
    return whole.left(fits) + kEllipsis;
}

void ElidedLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shownText(), foregroundRole());
}

}  // namespace pelorin
