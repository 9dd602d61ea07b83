#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <optional>

class QCustomPlot;

namespace pelorin {

// What a saved or copied picture of the chart says about itself.
struct PictureCaptions {
    QString title;  // statistic, quantity and unit
    QString range;  // the records in view
    QString keyAxis;
    QString valueAxis;
};

// The plot at `size`, made taller by a title band over it and the axis names; the plot shows as
// before once it has been replotted.
QPixmap RenderChartPicture(QCustomPlot& plot, const PictureCaptions& captions, QSize size);

// Writes `picture` as a PNG file at `path` by the rules of every file the window writes
// (WriteFileAtomically): what was there is replaced only once the file is complete, and a
// read-only file is refused. The reason when it could not be written, nothing when it was.
std::optional<QString> SaveChartPicture(const QPixmap& picture, const QString& path);

}  // namespace pelorin
