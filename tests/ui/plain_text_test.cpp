// Texts from files, file names and settings are shown as they are: never read as HTML, control
// characters escaped.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <fstream>

#include "window_driver.h"

namespace {

// HTML that a file name can hold too: no "/".
const QString kTag = QStringLiteral("<font size=7 color=red>BIG");

// A text as a label or a tool tip shows it: Qt reads it as HTML when it looks like HTML.
QString Shown(const QString& text, Qt::TextFormat format) {
    const bool rich =
        format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    return rich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Every label and tool tip of the window that mentions the tag shows it literally, and no
// text holds a control character but a tab.
void ExpectAllPlain(QWidget& window, int expectedTags) {
    int tags = 0;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        std::vector<QString> shown{Shown(widget->toolTip(), Qt::AutoText)};
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown.push_back(Shown(label->text(), label->textFormat()));
        }
        for (const QString& text : shown) {
            tags += text.contains(kTag) ? 1 : 0;
            EXPECT_FALSE(text.contains(QLatin1Char('\x1B')) || text.contains(QLatin1Char('\n')))
                << widget->objectName().toStdString() << ": " << text.toStdString();
        }
    }
    EXPECT_GE(tags, expectedTags);
}

TEST(PlainText, NamesAndLinesOfFilesAreNeverHtml) {
    QTemporaryDir dir;
    const QString limitsFolder =
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("pelorin"));
    ASSERT_TRUE(QDir().mkpath(limitsFolder));
    const QString limits = QDir(limitsFolder).filePath(QStringLiteral("limits.ini"));
    std::ofstream(limits.toStdString()) << "[" << kTag.toStdString() << "]\nlow=1\n";
    WindowDriver window;
    ExpectAllPlain(window.form(), 2);  // Label3 and its tool tip
    QFile::remove(limits);

    // A name with the tag, a line feed and an ESC, as a missing file and as a followed log.
    const QString name = QDir(dir.path()).filePath(kTag + QStringLiteral("\n\x1B.log"));
    EXPECT_FALSE(LoadAndWait(window.form(), name));
    EXPECT_TRUE(window.label("Label3")->text().contains(QStringLiteral("\\x0A\\x1B.log")));
    ExpectAllPlain(window.form(), 2);
    std::ofstream(QFile::encodeName(name).toStdString()) << testframes::line() << "\n";
    ASSERT_TRUE(window.form().followLog(name));
    ExpectAllPlain(window.form(), 2);  // "Following ..." and its tool tip
}

}  // namespace
