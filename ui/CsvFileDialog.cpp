#include "CsvFileDialog.h"

#include <QFileDialog>

#include "WindowSettings.h"

namespace pelorin {
namespace {

const QString kCaptionsFilter = QStringLiteral("CSV with captions (*.csv)");
const QString kNamesFilter = QStringLiteral("CSV with column names (*.csv)");

}  // namespace

std::optional<CsvFileChoice> ChooseCsvFile(QWidget* parent, const QString& title,
                                           const QString& fallbackFolder, const QString& name) {
    const QString kept = WindowSettings::folder(WindowSettings::Folder::CsvExport);
    const QString folder = kept.isEmpty() ? fallbackFolder : kept;
    QFileDialog dialog(parent, title, folder + QLatin1Char('/') + name,
                       kCaptionsFilter + QStringLiteral(";;") + kNamesFilter);
    dialog.setObjectName(QStringLiteral("CsvFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));  // for a name typed without an extension
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    CsvFileChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.form = dialog.selectedNameFilter() == kNamesFilter ? CsvForm::Analysis : CsvForm::Export;
    WindowSettings::rememberFolderOf(WindowSettings::Folder::CsvExport, choice.path);
    return choice;
}

}  // namespace pelorin
