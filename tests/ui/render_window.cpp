// Renders the main window and the info window to PNG files on Qt's offscreen platform: the
// window at start, after decoding a sample pass, with another quantity charted, with another
// record selected, and the info window.
// Usage: pelorin-render-window OUTPUT_DIR [SAMPLE_FILE]
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>

#include "Form1.h"
#include "Form2.h"

namespace {

void Settle() {
    for (int turn = 0; turn < 5; ++turn) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

bool Save(QWidget& widget, const QDir& dir, const char* name) {
    Settle();
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = widget.grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [SAMPLE_FILE]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(dir.path());
    const QString sample = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                    : QStringLiteral(PELORIN_SAMPLES_DIR "/pass.txt");

    pelorin::Form1 form;
    form.show();
    bool ok = Save(form, dir, "main-window-start.png");
    if (!form.loadTextFile(sample)) {
        std::fprintf(stderr, "could not load %s\n", qPrintable(sample));
        return 1;
    }
    ok = Save(form, dir, "main-window-decoded.png") && ok;
    form.findChild<QRadioButton*>(QStringLiteral("Option1_12"))->click();
    ok = Save(form, dir, "main-window-temperature.png") && ok;
    auto* selector = form.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    selector->setValue(selector->maximum() / 2);
    form.findChild<QRadioButton*>(QStringLiteral("Option1_27"))->click();
    ok = Save(form, dir, "main-window.png") && ok;

    auto* info = new pelorin::Form2();
    info->show();
    ok = Save(*info, dir, "info-window.png") && ok;
    info->close();
    return ok ? 0 : 1;
}
