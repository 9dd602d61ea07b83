#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

// GUI tests run on Qt's offscreen platform on a large screen; the test command sets it, and so
// does this main when a test binary is started by hand. The windows' settings, limits file and
// archive live in a temporary folder, so that neither the user's files nor an earlier run can
// change a result, and no test writes the user's archive.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELORIN_TEST_SCREEN);
    }
    const QTemporaryDir config;
    if (!config.isValid()) {
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("PELORIN_ARCHIVE",
            QFile::encodeName(config.path() + QStringLiteral("/archive.sqlite")));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    ::testing::InitGoogleTest(&argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("pelorin"));
    QApplication::setApplicationName(QStringLiteral("pelorin-telemetry-tests"));
    return RUN_ALL_TESTS();
}
