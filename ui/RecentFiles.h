#pragma once

#include <QObject>
#include <QStringList>

namespace pelorin {

// The text files opened last, most recent first, each once, at most kMaxFiles of them. The
// list lives in the user's settings, so the next run, and another window running meanwhile,
// see the same files.
class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QObject* parent = nullptr);

    // Absolute paths, most recent first.
    QStringList files() const;
    // Puts `path` first; an earlier entry of the same file goes, and the oldest beyond
    // kMaxFiles.
    void add(const QString& path);
    void remove(const QString& path);

    // `list` with `path` first, without another entry of it, cut to kMaxFiles.
    static QStringList WithFirst(QStringList list, const QString& path);

  signals:
    void changed();

  private:
    void store(const QStringList& list);
};

}  // namespace pelorin
