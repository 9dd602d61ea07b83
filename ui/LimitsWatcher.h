#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "pelorin/limits.h"

namespace pelorin {

// The user's limits file, read at start and again whenever it or its folder changes while the
// window runs. The folder is watched too because editors often replace the file instead of
// writing into it, and a folder that does not exist yet is waited for at its nearest existing
// parent. changed() is emitted only when a new reading differs from the last one.
class LimitsWatcher : public QObject {
    Q_OBJECT
  public:
    // `file`: the limits file's path; empty for none (no limits, nothing watched).
    explicit LimitsWatcher(const QString& file, QObject* parent = nullptr);

    const LimitsLoad& load() const { return load_; }
    const QString& file() const { return file_; }
    // The file's bad lines as "FILE:LINE: what", separated by "; "; "" for none.
    QString warningText() const;

  signals:
    void changed();

  private:
    void reload();
    void watch();

    QString file_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // one reading after a burst of change notifications
    LimitsLoad load_;
};

}  // namespace pelorin
