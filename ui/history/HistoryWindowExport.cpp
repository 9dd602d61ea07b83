// The History window's File menu: the frames in view as CSV, and the plots as a PNG picture,
// under the file rules of every export.
#include <qcustomplot.h>

#include <QBuffer>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>
#include <cmath>
#include <filesystem>

#include "CsvFileDialog.h"
#include "ExportName.h"
#include "QtText.h"
#include "WindowSettings.h"
#include "history/HistoryLoader.h"
#include "history/HistoryPanel.h"
#include "history/HistoryWindow.h"
#include "pelorin/atomic_file.h"

namespace pelorin {
namespace {

constexpr int kPictureMargin = 8;
const QString kPngFilter = QStringLiteral("PNG picture (*.png)");
const QString kPngSuffix = QStringLiteral("png");

using history::Millis;

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

QMenuBar* HistoryWindow::makeMenuBar() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(tr("&File"));
    QAction* csv =
        file->addAction(tr("&Export Range as CSV..."), this, &HistoryWindow::exportRange);
    csv->setObjectName(QStringLiteral("HistoryExportCsv"));
    csv->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    QAction* png = file->addAction(tr("&Save Plots as PNG..."), this, &HistoryWindow::savePlots);
    png->setObjectName(QStringLiteral("HistorySavePng"));
    png->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
    return bar;
}

// "From ... to ...": UTC reception times, or on-board seconds.
QString HistoryWindow::rangeText() const {
    if (base_ == history::TimeBase::Reception) {
        return tr("Received %1 to %2")
            .arg(QString::fromStdString(FormatUtcTime(Millis(view_.from))),
                 QString::fromStdString(FormatUtcTime(Millis(view_.to))));
    }
    return tr("On-board time %1 s to %2 s")
        .arg(IntegerText(static_cast<std::int64_t>(std::floor(view_.from))),
             IntegerText(static_cast<std::int64_t>(std::ceil(view_.to))));
}

void HistoryWindow::exportRange() {
    const std::optional<QDateTime> start =
        base_ == history::TimeBase::Reception
            ? std::optional<QDateTime>(QDateTime::fromMSecsSinceEpoch(Millis(view_.from)))
            : std::nullopt;
    const QString name = ProposedCsvName(start, QDateTime::currentDateTimeUtc());
    if (const std::optional<CsvFileChoice> choice =
            ChooseCsvFile(this, tr("Export Range as CSV"), DocumentsFolder(), name)) {
        exportRangeTo(choice->path, choice->form);
    }
}

void HistoryWindow::exportRangeTo(const QString& path, CsvForm form) {
    status_->setText(tr("Writing %1...").arg(path));
    loader_->exportRange(location_, base_, view_, path, form, decimalSeparator_);
}

void HistoryWindow::onExported(const QString& path, const QString& error) {
    status_->setText(error.isEmpty() ? tr("%1 has been written").arg(path)
                                     : tr("%1 could not be written: %2").arg(path, error));
    emit csvWritten(path, error);
}

void HistoryWindow::savePlots() {
    const QString kept = WindowSettings::folder(WindowSettings::Folder::CsvExport);
    const QString folder = kept.isEmpty() ? DocumentsFolder() : kept;
    const QString name = QFileInfo(ProposedCsvName(std::nullopt, QDateTime::currentDateTimeUtc()))
                             .completeBaseName() +
                         u'.' + kPngSuffix;
    QFileDialog dialog(this, tr("Save Plots as PNG"), folder + u'/' + name, kPngFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(kPngSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    WindowSettings::rememberFolderOf(WindowSettings::Folder::CsvExport, path);
    savePlotsTo(path);
}

bool HistoryWindow::savePlotsTo(const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plotsImage().save(&buffer, "PNG");
    const WriteResult result = WriteFileAtomically(
        std::filesystem::path(QFile::encodeName(path).toStdString()),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
        ReaderWait::Refuse);
    status_->setText(
        result.ok
            ? tr("%1 has been written").arg(path)
            : tr("%1 could not be written: %2").arg(path, QString::fromLocal8Bit(result.error)));
    return result.ok;
}

QImage HistoryWindow::plotsImage() const {
    const QFontMetrics metrics(font());
    const int line = metrics.height() + kPictureMargin;
    const int width = panels_[0]->plot()->width() + 2 * kPictureMargin;
    int height = kPictureMargin + line;
    for (int k = 0; k < panelCount(); ++k) {
        height += line + panels_[static_cast<std::size_t>(k)]->plot()->height();
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    int y = kPictureMargin;
    painter.drawText(QRect(kPictureMargin, y, width, line), Qt::AlignLeft | Qt::AlignTop,
                     windowTitle() + QStringLiteral(": ") + rangeText());
    y += line;
    for (int k = 0; k < panelCount(); ++k) {
        QCustomPlot* plot = panels_[static_cast<std::size_t>(k)]->plot();
        painter.drawText(QRect(kPictureMargin, y, width, line), Qt::AlignLeft | Qt::AlignTop,
                         panels_[static_cast<std::size_t>(k)]->chooser()->currentText());
        y += line;
        painter.drawPixmap(kPictureMargin, y, plot->toPixmap(plot->width(), plot->height()));
        y += plot->height();
    }
    return image;
}

}  // namespace pelorin
