// Renders the main window and the info window to PNG files on Qt's offscreen platform.
// main-window.png shows the window after decoding a sample pass, with a record whose solar
// panels are lit and the average charge current charted; info-window.png the info window.
// The chart's frame by on-board time (chart-on-board-time.png) and with the four statistics
// (chart-statistics.png), and the window with limits set for the picture (window-limits.png).
// With --steps it also writes the window at start, right after decoding, and with the
// temperature charted. With --dark it writes main-window-dark.png alone: the same window
// under the Fusion style with a dark palette. With --screen it writes instead the whole screen
// with that window, its client scrolled to the bottom and the selector focused:
// main-window-WIDTHxHEIGHT.png (run it on an X server of that size, see
// scripts/render-window.sh). Settings and limits come from a temporary folder, never the user's.
// Usage: pelorin-render-window [--steps | --dark | --screen] OUTPUT_DIR [SAMPLE_FILE]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "Form1.h"
#include "Form2.h"
#include "chart/TrendChart.h"
#include "dark_palette.h"
#include "load_and_wait.h"

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

// From the middle of the pass on, the first record with at least two panels in the sun.
void SelectLitRecord(pelorin::Form1& form) {
    auto* selector = form.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    auto* status = form.findChild<QLineEdit*>(QStringLiteral("Text1_29"));
    for (int rec = selector->maximum() / 3; rec <= selector->maximum(); ++rec) {
        selector->setValue(rec);
        if (status->text().count(QStringLiteral(" on")) >= 2) {
            return;
        }
    }
    selector->setValue(selector->maximum() / 2);
}

// The whole screen, with the main window's client scrolled to the bottom line.
bool SaveScreen(pelorin::Form1& form, const QDir& dir) {
    auto* area = form.findChild<QScrollArea*>(QStringLiteral("ClientScroll"));
    auto* selector = form.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
    form.activateWindow();
    selector->setFocus();
    area->ensureWidgetVisible(selector);
    Settle();
    QScreen* screen = form.screen();
    const QString name = QStringLiteral("main-window-%1x%2.png")
                             .arg(screen->geometry().width())
                             .arg(screen->geometry().height());
    const QString path = dir.filePath(name);
    const bool ok = screen->grabWindow(0).save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// Average and actual bus voltage limits that the pass leaves in the earth's shadow, so the
// picture shows red; the sample's own limits file keeps the pass inside.
constexpr char kPictureLimits[] = "[value19]\nlow=7.7\nhigh=8.15\n[value20]\nlow=7.7\nhigh=8.15\n";
constexpr int kChartPictureRecord = 60;
constexpr int kLimitsPictureRecord = 30;  // in the shadow: about 7.6 V

bool SaveChartPictures(const QDir& dir, const QString& sample) {
    pelorin::Form1 form;
    form.show();
    if (!LoadAndWait(form, sample)) {
        return false;
    }
    form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->setValue(kChartPictureRecord);
    auto* chart = form.findChild<pelorin::TrendChart*>(QStringLiteral("MSChart1"));
    auto* graph = form.findChild<QGroupBox*>(QStringLiteral("Frame8"));
    chart->setOptions(
        {pelorin::TimeAxisChoice::OnBoardTime, pelorin::ValueScale::FitToValues, false});
    bool ok = Save(*graph, dir, "chart-on-board-time.png");
    chart->setOptions(
        {pelorin::TimeAxisChoice::RecordNumber, pelorin::ValueScale::FitToValues, true});
    ok = Save(*graph, dir, "chart-statistics.png") && ok;
    chart->setOptions({});
    return ok;
}

bool SaveLimitsPicture(const QDir& dir, const QString& sample, const QString& config) {
    QDir(config).mkpath(QStringLiteral("pelorin"));
    QFile limits(QDir(config).filePath(QStringLiteral("pelorin/limits.ini")));
    if (!limits.open(QIODevice::WriteOnly) || limits.write(kPictureLimits) < 0) {
        return false;
    }
    limits.close();
    pelorin::Form1 form;
    form.show();
    if (!LoadAndWait(form, sample)) {
        return false;
    }
    form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->setValue(kLimitsPictureRecord);
    return Save(form, dir, "window-limits.png");
}

}  // namespace

int main(int argc, char* argv[]) {
    // A screen large enough for the window's designed size.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELORIN_TEST_SCREEN);
    }
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("pelorin-render"));
    int arg = 1;
    bool steps = false;
    bool dark = false;
    bool wholeScreen = false;
    for (; arg < argc && argv[arg][0] == '-'; ++arg) {
        steps = steps || std::strcmp(argv[arg], "--steps") == 0;
        dark = dark || std::strcmp(argv[arg], "--dark") == 0;
        wholeScreen = wholeScreen || std::strcmp(argv[arg], "--screen") == 0;
    }
    if (argc <= arg) {
        std::fprintf(stderr, "usage: %s [--steps | --dark | --screen] OUTPUT_DIR [SAMPLE_FILE]\n",
                     argv[0]);
        return 2;
    }
    if (dark) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(DarkPalette());
        steps = false;
    }
    const QDir dir(QString::fromLocal8Bit(argv[arg]));
    QDir().mkpath(dir.path());
    const QString sample = argc > arg + 1 ? QString::fromLocal8Bit(argv[arg + 1])
                                          : QStringLiteral(PELORIN_SAMPLES_DIR "/pass.txt");

    pelorin::Form1 form;
    form.show();
    bool ok = !steps || Save(form, dir, "main-window-start.png");
    if (!LoadAndWait(form, sample)) {
        std::fprintf(stderr, "could not load %s\n", qPrintable(sample));
        return 1;
    }
    ok = (!steps || Save(form, dir, "main-window-decoded.png")) && ok;
    if (steps) {
        form.findChild<QRadioButton*>(QStringLiteral("Option1_12"))->click();
        ok = Save(form, dir, "main-window-temperature.png") && ok;
    }
    SelectLitRecord(form);
    form.findChild<QRadioButton*>(QStringLiteral("Option1_27"))->click();
    if (wholeScreen) {
        return SaveScreen(form, dir) ? 0 : 1;
    }
    ok = Save(form, dir, dark ? "main-window-dark.png" : "main-window.png") && ok;
    if (dark) {
        return ok ? 0 : 1;
    }
    ok = SaveChartPictures(dir, sample) && ok;
    ok = SaveLimitsPicture(dir, sample, config.path()) && ok;

    auto* info = new pelorin::Form2();
    info->show();
    ok = Save(*info, dir, "info-window.png") && ok;
    info->close();
    return ok ? 0 : 1;
}
