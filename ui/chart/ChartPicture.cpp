#include "ChartPicture.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QImageWriter>
#include <array>
#include <filesystem>
#include <string_view>

#include "pelorin/atomic_file.h"

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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture.toImage())) {
        return writer.errorString();
    }
    const WriteResult result =
        WriteFileAtomically(std::filesystem::path(QFile::encodeName(path).toStdString()),
                            std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                            ReaderWait::Refuse);
    if (!result.ok) {
        return QString::fromLocal8Bit(result.error);
    }
    return std::nullopt;
}

}  // namespace pelorin
