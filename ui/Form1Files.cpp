// Form1's file commands: writing the CSV file, opening a text file and following a log.
#include "Form1.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <filesystem>

#include "CsvFileDialog.h"
#include "ExportFolder.h"
#include "ExportName.h"
#include "LogFollowSession.h"
#include "QtText.h"
#include "RecentFiles.h"
#include "TextFileLoadSession.h"
#include "WindowSettings.h"
#include "pelorin/atomic_file.h"
#include "pelorin/csv_export.h"

namespace pelorin {
namespace {

// Asks for a file in the folder last used for `folder`'s purpose and remembers the new one;
// empty when the user cancelled.
QString ChooseFileToRead(QWidget* parent, const QString& title, WindowSettings::Folder folder,
                         const QString& filter) {
    const QString path =
        QFileDialog::getOpenFileName(parent, title, WindowSettings::folder(folder), filter);
    if (!path.isEmpty()) {
        WindowSettings::rememberFolderOf(folder, path);
    }
    return path;
}

}  // namespace

// Beside the program, or in the documents folder when the program's folder is closed to the
// user (an installed program).
QString Form1::csvPath() const {
    const QString folder = ExportFolder(
        csvFolder_, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return folder + QLatin1Char('/') + ToQString(kCsvFileName);
}

void Form1::WriteCSVFile_Click() {
    const QString path = csvPath();
    if (writeCsvFile(path)) {
        setMessage(path + QStringLiteral(" has been written"), Message::Export);
    }
}

void Form1::WriteCSVFileAs_Click() {
    const QString name = ProposedCsvName(firstReceptionTime(), QDateTime::currentDateTimeUtc());
    const std::optional<CsvFileChoice> choice = ChooseCsvFile(
        this, QStringLiteral("Write CSV File As"), QFileInfo(csvPath()).absolutePath(), name);
    if (choice && writeCsvFile(choice->path, choice->form)) {
        setMessage(choice->path + QStringLiteral(" has been written"), Message::Export);
    }
}

bool Form1::writeCsvFile(const QString& path, CsvForm form) {
    const std::string content = BuildCsvFile(store_, decimalSeparator_, form);
    const WriteResult result = WriteFileAtomically(
        std::filesystem::path(QFile::encodeName(path).toStdString()), content, ReaderWait::Refuse);
    if (!result.ok) {
        setMessage(
            path + QStringLiteral(" could not be written: ") + QString::fromLocal8Bit(result.error),
            Message::Export);
        return false;
    }
    return true;
}

void Form1::MnuOpen_Click() {
    const QString path =
        ChooseFileToRead(this, QStringLiteral("Open"), WindowSettings::Folder::Open,
                         QStringLiteral("Text files (*.txt *.log);;All files (*)"));
    if (!path.isEmpty()) {
        loadTextFile(path);
    }
}

void Form1::MnuOpenRecent_Click(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_->remove(path);
        setMessage(path + QStringLiteral(" no longer exists; it was taken off Open Recent."),
                   Message::OpenFailed);
        return;
    }
    loadTextFile(path);
}

void Form1::loadTextFile(const QString& path) {
    cancelLoad();  // the newest open wins
    follow_->stop(QStringLiteral("a file was opened."));
    // One edit, as a paste is: decoded once, and Undo brings the old text back.
    load_ = new TextFileLoadSession(*paste_, *this, path);
    connect(load_, &TextFileLoadSession::finished, this,
            [this, path](bool ok, const QString& error) { loadFinished(path, ok, error); });
}

void Form1::loadFinished(const QString& path, bool ok, const QString& error) {
    load_->deleteLater();
    load_ = nullptr;
    if (ok) {
        clearMessage(Message::OpenFailed);
        recentFiles_->add(path);
        openedPath_ = QFileInfo(path).absoluteFilePath();
        Text2->document()->setModified(false);  // an edit makes its lines the paste's
    } else if (!error.isEmpty()) {
        setMessage(error, Message::OpenFailed);
    }
    emit textFileLoaded(ok);
}

void Form1::cancelLoad() {
    if (load_ != nullptr) {
        load_->cancel();
    }
}

void Form1::MnuFollow_Click() {
    const QString path =
        ChooseFileToRead(this, QStringLiteral("Follow Log"), WindowSettings::Folder::Follow,
                         QStringLiteral("Log files (*.log *.txt);;All files (*)"));
    if (!path.isEmpty()) {
        followLog(path);
    }
}

bool Form1::followLog(const QString& path) {
    cancelLoad();
    followedPath_ = QFileInfo(path).absoluteFilePath();
    followedKept_ = followedNew_ = 0;
    followedFileOffset_ = -1;  // the tail's start, once the follower has found it
    follow_->setNote(QString());
    const QString error = follow_->start(path);
    if (!error.isEmpty()) {
        setMessage(error, Message::OpenFailed);
        return false;
    }
    openedPath_.clear();
    clearMessage(Message::OpenFailed);
    showDecode(SelectorPolicy::Newest);
    return true;
}

}  // namespace pelorin
