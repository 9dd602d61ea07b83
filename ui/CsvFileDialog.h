#pragma once

#include <QString>
#include <optional>

#include "pelorin/csv_writer.h"

class QWidget;

namespace pelorin {

// Where to write a CSV file, and its header kind.
struct CsvFileChoice {
    QString path;
    CsvForm form = CsvForm::Export;
};

// Asks where to write a CSV file, proposing `name` in the folder last used for CSV files, else
// in `fallbackFolder`; the file types are the header kinds, captions as the export writes them
// or one column name per value. Remembers the folder; nothing when the user cancelled.
std::optional<CsvFileChoice> ChooseCsvFile(QWidget* parent, const QString& title,
                                           const QString& fallbackFolder, const QString& name);

}  // namespace pelorin
