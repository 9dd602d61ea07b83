#include "WindowGeometry.h"

#include <QEvent>
#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

namespace pelorin {
namespace {

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kSplitterKey = QStringLiteral("window/splitter");

}  // namespace

WindowGeometry::WindowGeometry(QMainWindow& window, QSplitter& splitter)
    : QObject(&window), window_(window), splitter_(splitter) {
    const QSettings settings;
    // Settings edited into something else are ignored: the window then places itself.
    window_.restoreGeometry(settings.value(kGeometryKey).toByteArray());
    splitter_.restoreState(settings.value(kSplitterKey).toByteArray());
    window_.installEventFilter(this);
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        QSettings settings;
        settings.setValue(kGeometryKey, window_.saveGeometry());
        settings.setValue(kSplitterKey, splitter_.saveState());
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pelorin
