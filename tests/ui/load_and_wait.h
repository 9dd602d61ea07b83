#pragma once

#include <QEventLoop>
#include <QString>
#include <optional>

#include "Form1.h"

// Opens `path` as File > Open does and handles events until the load has ended; true when the
// file is in the paste box.
inline bool LoadAndWait(pelorin::Form1& form, const QString& path) {
    form.loadTextFile(path);  // a load it cancels ends in here, before this one can
    std::optional<bool> loaded;
    QEventLoop loop;
    QObject::connect(&form, &pelorin::Form1::textFileLoaded, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    loop.exec();
    return loaded.value_or(false);
}
