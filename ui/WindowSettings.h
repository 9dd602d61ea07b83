#pragma once

#include <QString>

namespace pelorin {

// What the main window keeps between runs in the user's settings (QSettings under the
// application's organisation and name, in the user's config folder): the folder each file
// dialog was last used in. The recent files and the window's geometry keep their own keys.
class WindowSettings {
  public:
    // Checks the settings file before anything reads or writes it. A FIFO would block the
    // reading, and a device or a link to one would be replaced at exit: then this run keeps its
    // settings in a private folder, removed at exit, and the result says why. "" when the file
    // is a regular one or does not exist yet.
    static QString guardFile();

    // The file dialogs that start where they were last used.
    enum class Folder { Open, Follow, CsvExport };

    // The folder `dialog` was last used in; "" when none was kept or it no longer exists.
    static QString folder(Folder dialog);
    // Keeps the folder that holds `chosenFile` for `dialog`.
    static void rememberFolderOf(Folder dialog, const QString& chosenFile);
};

}  // namespace pelorin
