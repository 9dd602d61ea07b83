#include "Resources.h"

#include <QString>

// The resource file is compiled into this static library; its registration has to be pulled
// in by a call, or the linker leaves it out.
static void InitPelorinResources() {
    Q_INIT_RESOURCE(pelorin_ui);
}

namespace pelorin {
namespace {

void EnsureResources() {
    static const bool done = [] {
        InitPelorinResources();
        return true;
    }();
    (void)done;
}

}  // namespace

QIcon WindowIcon() {
    EnsureResources();
    return QIcon(QStringLiteral(":/pelorin/pelorin-telemetry.png"));
}

QImage InfoPicture() {
    EnsureResources();
    return QImage(QStringLiteral(":/pelorin/spacecraft.bmp"));
}

}  // namespace pelorin
