// The program's edits of the paste box: each keeps the box quiet or speaks once as it should,
// and leaves the decode as a fresh reading of the box's text gives it.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <functional>
#include <string>

#include "BoxLines.h"
#include "QtText.h"
#include "frames.h"
#include "paste/PasteBox.h"
#include "pelorin/csv_export.h"

namespace {

using pelorin::PasteBox;

QString Lines(unsigned first, unsigned count, const char* between = "beacon") {
    QString text;
    for (unsigned k = first; k < first + count; ++k) {
        text += QString::fromStdString(testframes::lineWithTime(k)) + QLatin1Char('\n') +
                QLatin1String(between) + QLatin1Char('\n');
    }
    return text.chopped(1);
}

std::string Export(PasteBox& box, pelorin::DecodeResult& result) {
    pelorin::TelemetryStore store;
    result = box.update(store);
    return pelorin::BuildCsvFile(store, ".", pelorin::CsvForm::Export);
}

struct Edit {
    const char* name;
    std::function<void(PasteBox&)> run;
    int changeSignals;  // the box's textChanged() the edit may emit
};

TEST(PasteBoxEdits, KeepTheDecodeAsAFreshReadingAndTheBoxQuiet) {
    const Edit edits[] = {
        {"replace", [](PasteBox& box) { box.replaceSilently(Lines(50, 3)); }, 0},
        {"append", [](PasteBox& box) { box.append(Lines(20, 4)); }, 0},
        {"trim top", [](PasteBox& box) { box.trimTop(5); }, 0},
        {"put under", [](PasteBox& box) { box.putUnder(Lines(70, 2)); }, 0},
        {"paste", [](PasteBox& box) { box.paste(Lines(80, 2)); }, 1},
        {"replacement kept",
         [](PasteBox& box) {
             const QString text = Lines(90, 6);
             pelorin::box_lines::InsertedTextMarks marks;
             box.beginReplacement();
             for (const QString& piece : {text.left(200), text.mid(200)}) {
                 marks.add(pelorin::Utf16(piece));
                 box.addToReplacement(piece);
             }
             box.keepReplacement(marks.finish());
         },
         1},
        {"replacement dropped",
         [](PasteBox& box) {
             box.beginReplacement();
             box.addToReplacement(Lines(90, 6));
             box.dropReplacement();
         },
         0},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        QPlainTextEdit widget;
        widget.setPlainText(Lines(1, 8));
        PasteBox box(widget);
        pelorin::DecodeResult before;
        Export(box, before);
        QSignalSpy changed(&widget, &QPlainTextEdit::textChanged);
        edit.run(box);
        EXPECT_EQ(changed.count(), edit.changeSignals);

        QPlainTextEdit freshWidget;
        freshWidget.setPlainText(widget.toPlainText());
        PasteBox fresh(freshWidget);
        pelorin::DecodeResult kept;
        pelorin::DecodeResult read;
        EXPECT_EQ(Export(box, kept), Export(fresh, read));
        EXPECT_EQ(kept.telemetryLines, read.telemetryLines);
        EXPECT_EQ(kept.totalLines, read.totalLines);
        EXPECT_FALSE(widget.isReadOnly());
    }
}

TEST(PasteBoxEdits, UndoAfterPutUnderOrADroppedReplacement) {
    QPlainTextEdit widget;
    widget.setPlainText(Lines(1, 3));
    PasteBox box(widget);
    widget.document()->setUndoRedoEnabled(false);
    box.append(Lines(4, 2));
    const QString followed = widget.toPlainText();
    box.putUnder(Lines(1, 3));
    EXPECT_EQ(widget.toPlainText(), followed);

    QTextCursor cursor = widget.textCursor();
    cursor.setPosition(7);
    widget.setTextCursor(cursor);
    box.beginReplacement();
    EXPECT_TRUE(widget.isReadOnly());
    box.addToReplacement(QStringLiteral("other text"));
    box.dropReplacement();
    EXPECT_EQ(widget.toPlainText(), followed);
    EXPECT_EQ(widget.textCursor().position(), 7);

    widget.document()->undo();
    EXPECT_EQ(widget.toPlainText(), Lines(1, 3));
}

}  // namespace
