// The chart as a picture: captions, the saved file and the clipboard.
#include <qcustomplot.h>
#include <QApplication>
#include <QClipboard>
#include <QDir>

#include "ChartPicture.h"
#include "ChartScene.h"
#include "ChartTexts.h"
#include "TrendChart.h"

namespace pelorin {
namespace {

const QString kRecordNumberAxis = QStringLiteral("Record number");
const QString kOnBoardTimeAxis = QStringLiteral("On-board time");

}  // namespace

PictureCaptions TrendChart::pictureCaptions() const {
    const QCPRange shown = plot_->xAxis->range();
    QString range;
    if (const auto rows = rowKeys_.rowsIn(shown.lower, shown.upper); rows && hasDrawing_) {
        range = RecordRangeText(rowLabel(rows->first), rowLabel(rows->second), rowCount());
    }
    return {PictureTitle(details_, unit_, showsStatistics()), range,
            showsTime() ? kOnBoardTimeAxis : kRecordNumberAxis, ValueAxisName(details_, unit_)};
}

// The selected-record cursor belongs to the window, not to the picture.
QPixmap TrendChart::picture() {
    updateNow();
    const QSize size = plot_->width() > 1 && plot_->height() > 1 ? plot_->size() : sizeHint();
    scene_->setSelected(-1);
    QPixmap shown = RenderChartPicture(*plot_, pictureCaptions(), size);
    updateCursor();
    return shown;
}

bool TrendChart::savePicture(const QString& path) {
    const std::optional<QString> error = SaveChartPicture(picture(), path);
    const QString shown = QDir::toNativeSeparators(path);
    emit messageForUser(error ? shown + QStringLiteral(" could not be written: ") + *error
                              : shown + QStringLiteral(" has been written"));
    return !error;
}

void TrendChart::copyToClipboard() {
    QApplication::clipboard()->setPixmap(picture());
    emit messageForUser(QStringLiteral("The chart has been copied to the clipboard"));
}

}  // namespace pelorin
