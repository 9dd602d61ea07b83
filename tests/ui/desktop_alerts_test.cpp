// Out-of-limits alerts from the window to a notification service on a real session bus: one
// notification per value per pass while following, none once switched off. Runs under
// dbus-run-session (see CMakeLists.txt).
#include <QAction>
#include <QDBusConnection>
#include <QDir>
#include <QSaveFile>
#include <QTest>
#include <fstream>

#include "temp_folder.h"
#include "window_driver.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

// The desktop's notification service, on a connection of its own so that every call goes
// through the bus.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    NotificationService()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                             QStringLiteral("notification-service"))) {}
    bool start() {
        return bus_.registerService(kService) &&
               bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                   QDBusConnection::ExportAllSlots);
    }
    QStringList bodies;

  public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        EXPECT_EQ(summary, QStringLiteral("Telemetry out of limits"));
        bodies.append(body);
        return static_cast<uint>(bodies.size());
    }

  private:
    QDBusConnection bus_;
};

void WriteLimits(const char* text) {
    const QString folder =
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("pelorin"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QSaveFile out(QDir(folder).filePath(QStringLiteral("limits.ini")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
    ASSERT_TRUE(out.commit());
}

TEST(DesktopAlerts, OneNotificationPerValuePerPassWhileFollowing) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        GTEST_SKIP() << "needs a session bus (the test command gives one)";
    }
    NotificationService service;
    ASSERT_TRUE(service.start());
    WriteLimits("[value0]\nhigh=90\n");
    TempFolder folder;
    const std::filesystem::path log = folder / "pass.log";
    WriteFile(log, testframes::lineWithTime(60) + "\n");
    WindowDriver window;
    ASSERT_TRUE(window.form().followLog(QString::fromStdString(log.string())));
    const auto append = [&](std::initializer_list<unsigned> times) {
        std::ofstream out(log, std::ios::app);
        for (unsigned time : times) {
            out << testframes::lineWithTime(time) << "\n";
        }
    };

    append({120, 180, 240});  // out from 120 on: one alert for the pass
    QTRY_COMPARE(service.bodies.size(), 1);
    EXPECT_TRUE(service.bodies[0].endsWith(QStringLiteral(" at time counter 120")))
        << service.bodies[0].toStdString();
    append({5000});  // the next pass
    QTRY_COMPARE(service.bodies.size(), 2);
    EXPECT_TRUE(service.bodies[1].endsWith(QStringLiteral(" at time counter 5000")));

    window.find<QAction>(QStringLiteral("MnuAlerts"))->setChecked(false);
    append({9000});
    QTRY_COMPARE(window.selector()->maximum(), 6);
    QTest::qWait(200);
    EXPECT_EQ(service.bodies.size(), 2);
    EXPECT_FALSE(window.label("ReportFollowEvent")->text().contains(QStringLiteral("alerts")));
    window.find<QAction>(QStringLiteral("MnuAlerts"))->setChecked(true);
}

}  // namespace

#include "desktop_alerts_test.moc"
