// The info window, and how the program ends.
#include <QAction>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "Form2.h"
#include "window_driver.h"

namespace {

QList<pelorin::Form2*> InfoWindows() {
    QList<pelorin::Form2*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* info = qobject_cast<pelorin::Form2*>(widget); info && info->isVisible()) {
            found << info;
        }
    }
    return found;
}

void ChooseInfo(WindowDriver& window) {
    window.find<QAction>(QStringLiteral("MnuInfo"))->trigger();
    WindowDriver::Settle();
}

TEST(InfoWindow, ChoosingInfoTwiceShowsOneIndependentWindow) {
    WindowDriver window;
    ChooseInfo(window);
    ChooseInfo(window);
    const auto windows = InfoWindows();
    ASSERT_EQ(windows.size(), 1);
    pelorin::Form2* info = windows.front();
    EXPECT_EQ(info->parentWidget(), nullptr);
    EXPECT_EQ(info->windowHandle()->transientParent(), window.form().windowHandle());
    const QPoint offCentre =
        info->frameGeometry().center() - window.form().frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4);  // the frames' rounding
    EXPECT_EQ(info->windowModality(), Qt::NonModal);
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(info->size(), QSize(339, 234));
    EXPECT_TRUE(window.form().isEnabled());
    EXPECT_EQ(info->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Ver.0.4 - 2012, Oct 27"));
    EXPECT_EQ(info->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Pelorin Telemetry Decoder"));
    info->close();
}

TEST(InfoWindow, ClosingDestroysItAndTheNextOneIsNew) {
    WindowDriver window;
    ChooseInfo(window);
    QPointer<pelorin::Form2> first = InfoWindows().front();
    first->findChild<QLabel*>(QStringLiteral("Label2"))->setText(QStringLiteral("changed"));
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    ChooseInfo(window);
    ASSERT_EQ(InfoWindows().size(), 1);
    pelorin::Form2* second = InfoWindows().front();
    EXPECT_EQ(second->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("Ver.0.4 - 2012, Oct 27"));
    second->close();
}

TEST(InfoWindow, ThePictureIsDrawnUnderTheLabels) {
    auto* info = new pelorin::Form2();
    info->show();
    WindowDriver::Settle();
    const QImage shown = info->grab().toImage();
    // The spacecraft's yellow cells stand right of the text lines.
    int yellow = 0;
    for (int y = 40; y < 180; ++y) {
        for (int x = 200; x < 339; ++x) {
            const QColor c = shown.pixelColor(x, y);
            yellow += (c.red() > 200 && c.green() > 150 && c.blue() < 80) ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 500);
    info->close();
}

TEST(ProgramEnd, MainWindowClosesAloneAndTheProgramEndsWithTheInfoWindow) {
    auto* main = new pelorin::Form1();
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->show();
    QPointer<pelorin::Form1> mainAlive(main);
    main->findChild<QAction*>(QStringLiteral("MnuInfo"))->trigger();
    QPointer<pelorin::Form2> info = InfoWindows().front();

    bool runningAfterMainClosed = false;
    QTimer::singleShot(0, [&] { main->findChild<QAction*>(QStringLiteral("MnuExit"))->trigger(); });
    QTimer::singleShot(100, [&] {
        runningAfterMainClosed = mainAlive.isNull() && info && info->isVisible();
        info->close();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // never hang the suite
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(runningAfterMainClosed);
}

TEST(ProgramEnd, ExitAfterDecodingWritesNothing) {
    QTemporaryDir dir;
    WindowDriver window;
    window.form().setCsvFolder(dir.path());
    window.paste(testframes::line());
    window.find<QAction>(QStringLiteral("MnuExit"))->trigger();
    WindowDriver::Settle();
    EXPECT_FALSE(window.form().isVisible());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
