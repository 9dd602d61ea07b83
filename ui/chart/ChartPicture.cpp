#include "ChartPicture.h"

#include <qcustomplot.h>
#include <QFontMetrics>
#include <QImageWriter>
#include <QSaveFile>
#include <array>

namespace pelorin {
namespace {

constexpr double kTitleGrowth = 2.0;          // points above the tick labels
constexpr double kCaptionRowStretch = 0.001;  // the caption rows take no more than they need
constexpr int kCaptionRows = 2;

QCPTextElement* AddCaptionRow(QCustomPlot& plot, int row, const QString& text, const QFont& font) {
    QCPLayoutGrid* layout = plot.plotLayout();
    layout->insertRow(row);
    auto* element = new QCPTextElement(&plot, text, font);
    element->setTextColor(plot.xAxis->tickLabelColor());
    layout->addElement(row, 0, element);
    layout->setRowStretchFactor(row, kCaptionRowStretch);
    return element;
}

}  // namespace

QPixmap RenderChartPicture(QCustomPlot& plot, const PictureCaptions& captions, QSize size) {
    QFont font = plot.xAxis->tickLabelFont();
    QFont titleFont = font;
    titleFont.setPointSizeF(font.pointSizeF() + kTitleGrowth);
    titleFont.setBold(true);
    const std::array<QCPTextElement*, kCaptionRows> rows = {
        AddCaptionRow(plot, 0, captions.title, titleFont),
        AddCaptionRow(plot, 1, captions.range, font)};
    plot.xAxis->setLabel(captions.keyAxis);
    plot.yAxis->setLabel(captions.valueAxis);

    // Room for the two caption rows and the key axis name, so the plot keeps its height.
    const int extra = QFontMetrics(titleFont).height() + 2 * QFontMetrics(font).height() +
                      plot.xAxis->labelPadding();
    const QPixmap picture = plot.toPixmap(size.width(), size.height() + extra);

    for (QCPTextElement* row : rows) {
        plot.plotLayout()->remove(row);
    }
    plot.plotLayout()->simplify();
    plot.xAxis->setLabel(QString());
    plot.yAxis->setLabel(QString());
    plot.replot(QCustomPlot::rpQueuedReplot);
    return picture;
}

std::optional<QString> SaveChartPicture(const QPixmap& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(picture.toImage())) {
        file.cancelWriting();
        return writer.errorString();
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

}  // namespace pelorin
