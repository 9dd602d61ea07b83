#pragma once

#include <QObject>
#include <QString>

namespace pelorin {

// Shows desktop notifications through the freedesktop notification service on the session
// bus. When there is no such service, unavailable() is told once and nothing more is sent.
class DesktopNotifier : public QObject {
    Q_OBJECT
  public:
    explicit DesktopNotifier(QObject* parent = nullptr);

    // Sends one notification; the answer comes back later.
    void notify(const QString& summary, const QString& body);
    bool isUnavailable() const { return unavailable_; }

  signals:
    void unavailable(const QString& reason);

  private:
    void giveUp(const QString& reason);

    bool unavailable_ = false;
};

}  // namespace pelorin
