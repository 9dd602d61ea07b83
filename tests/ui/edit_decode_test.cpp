// The window after every edit of the paste box, however made, against a full Decode_Text of the
// box's text, as the window decoded before it kept its decode edit by edit: the table and the
// CSV export, the counts, Text3, Label2, the selector, the record shown, the chart and the
// paste report.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <random>

#include "PasteReport.h"
#include "QtText.h"
#include "ValueText.h"
#include "pelorin/csv_export.h"
#include "pelorin/decoder.h"
#include "window_driver.h"

namespace {

using pelorin::DecodeResult;

constexpr int kChartValue = 19;

// What the window showed under the old rule: a full decode of the whole text on every change,
// followed by the workflow's selector and Label2 steps.
struct Reference {
    pelorin::TelemetryStore store;
    DecodeResult result;
    bool accepted = false;  // a decode has accepted a line: Text3 shows 122
    std::vector<double> chart;
    int position = 1;
    QString label2;

    void decode(const QString& boxText) {
        QString text = boxText;
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        result = pelorin::Decode_Text(pelorin::Utf16(text), store);
        accepted = accepted || result.telemetryLines > 0;
        const int maximum = std::max(1, result.RecordCount);
        if (position <= maximum) {
            label2 = QLatin1Char('#') + pelorin::IntegerText(position) + QStringLiteral(" / ") +
                     pelorin::IntegerText(result.RecordCount);
        } else {
            position = maximum;  // the selector's own change handler writes the label
            label2 =
                pelorin::IntegerText(maximum) + QLatin1Char('/') + pelorin::IntegerText(maximum);
        }
        if (result.RecordCount > 0) {
            chart.clear();
            for (int r = 1; r <= result.RecordCount; ++r) {
                chart.push_back(store.value(r, kChartValue));
            }
        }
    }
};

class RandomEdits {
  public:
    RandomEdits(WindowDriver& window, unsigned seed) : window_(window), rng_(seed) {}

    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(rng_); }

    // One edit of a random kind at the start, in the middle, at the end or anywhere.
    void edit() {
        QPlainTextEdit* box = window_.pasteBox();
        const int length = box->document()->characterCount() - 1;
        const int places[] = {0, length / 2, length, upTo(length)};
        const int at = places[upTo(3)];
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(at);
        cursor.setPosition(std::min(length, at + (upTo(2) == 0 ? upTo(300) : 0)),
                           QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        switch (upTo(7)) {
            case 0:
                cursor.insertText(text(1 + upTo(4)));  // a replacement made by the program
                break;
            case 1:
                QApplication::clipboard()->setText(text(1 + upTo(30)));
                box->paste();
                break;
            case 2:
                box->undo();
                break;
            case 3:
                box->redo();
                break;
            case 4:  // a frame typed key by key, which passes through every length
                QTest::keyClicks(box, QString::fromStdString(frame()));
                break;
            case 5:
                QTest::keyClick(box, upTo(1) == 0 ? Qt::Key_Backspace : Qt::Key_Delete);
                break;
            default:
                QTest::keyClick(box, Qt::Key_Return);  // splits a line, or joins with Delete
                break;
        }
    }

    // Lines of every kind, with the characters the box treats specially.
    QString text(int lines) {
        QString text;
        for (int k = 0; k < lines; ++k) {
            QString line = QString::fromStdString(frame());
            switch (upTo(9)) {
                case 0:
                    line.insert(upTo(int(line.size())), QChar(0x2028));  // a line break in a block
                    break;
                case 1:
                    line[20 + upTo(100)] = QChar(0x00A0);  // read as a blank
                    break;
                case 2:
                    line = QStringLiteral("beacon\r");
                    break;
                case 3:
                    line.clear();
                    break;
                default:
                    break;
            }
            text += line + (upTo(8) == 0 ? QChar(0x2029) : QChar(u'\n'));
        }
        return text;
    }

  private:
    std::string frame() {
        std::string line = testframes::lineWithTime(static_cast<unsigned>(upTo(1 << 20)));
        switch (upTo(5)) {
            case 0:
                line += 'F';  // damaged
                break;
            case 1:
                line[static_cast<std::size_t>(40 + upTo(80))] = 'g';  // suspect
                line.insert(0, "[12:00] ");
                break;
            default:
                break;
        }
        return line;
    }

    WindowDriver& window_;
    std::mt19937 rng_;
};

QString CsvOf(pelorin::Form1& form, const QString& path) {
    EXPECT_TRUE(form.writeCsvFile(path));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

void ExpectSameReport(const WindowDriver& window, const pelorin::PasteReport& expected) {
    for (const char* item : {"ReportDecoded", "ReportOther", "ReportRejected", "ReportSuspect"}) {
        const auto* shown = window.find<QLabel>(QString::fromLatin1(item));
        const auto* want = expected.findChild<QLabel*>(QString::fromLatin1(item));
        EXPECT_EQ(shown->text(), want->text()) << item;
        EXPECT_EQ(shown->toolTip(), want->toolTip()) << item;
        EXPECT_EQ(shown->isVisibleTo(shown->parentWidget()), want->isVisibleTo(&expected)) << item;
    }
}

void ExpectSameWindow(WindowDriver& window, const Reference& ref, const QString& csvPath) {
    const std::string separator = QLocale().decimalPoint().toStdString();
    if (!csvPath.isEmpty()) {
        EXPECT_EQ(CsvOf(window.form(), csvPath),
                  QString::fromStdString(pelorin::BuildCsvFile(ref.store, separator)));
    }
    EXPECT_EQ(window.lengthBox()->text(),
              ref.accepted ? QStringLiteral("122") : QStringLiteral("Text3"));
    EXPECT_EQ(window.selector()->maximum(), std::max(1, ref.result.RecordCount));
    EXPECT_EQ(window.selector()->value(), ref.position);
    EXPECT_EQ(window.label("Label2")->text(), ref.label2);
    const pelorin::TelemetryRecord& shown = ref.store.record(ref.position);
    for (int i = 0; i < pelorin::kShownValues; ++i) {
        ASSERT_EQ(window.box(i)->text().toStdString(), pelorin::ValueBoxText(shown, i, separator));
    }
    ASSERT_EQ(window.chart()->rowCount(), static_cast<int>(ref.chart.size()));
    for (int r = 1; r <= window.chart()->rowCount(); ++r) {
        ASSERT_EQ(window.chart()->data(r), ref.chart[static_cast<std::size_t>(r) - 1]) << r;
    }
    const QString limit = window.label("Label3")->text();
    EXPECT_EQ(limit.isEmpty(), ref.result.droppedLines == 0) << limit.toStdString();
    EXPECT_TRUE(ref.result.droppedLines == 0 ||
                limit.startsWith(pelorin::IntegerText(ref.result.droppedLines) + QLatin1Char(' ')))
        << limit.toStdString();
    pelorin::PasteReport expected;
    expected.showResult(ref.result);
    ExpectSameReport(window, expected);
}

TEST(EditDecode, EveryEditShowsWhatAFullDecodeGives) {
    QTemporaryDir dir;
    const QString csvPath = QDir(dir.path()).filePath(QStringLiteral("check.csv"));
    // An empty box, and one past the table's 1000 records and the 50 listed line numbers.
    for (const int startLines : {0, 1100}) {
        SCOPED_TRACE(startLines);
        WindowDriver window;
        RandomEdits edits(window, static_cast<unsigned>(startLines) + 5);
        Reference ref;
        QPlainTextEdit* box = window.pasteBox();
        QObject::connect(box, &QPlainTextEdit::textChanged,
                         [&ref, box] { ref.decode(box->toPlainText()); });
        box->setPlainText(edits.text(startLines));
        WindowDriver::Settle();
        for (int step = 0; step < 150 && !testing::Test::HasFailure(); ++step) {
            SCOPED_TRACE(step);
            if (edits.upTo(9) == 0) {
                window.selector()->setValue(1 + edits.upTo(window.selector()->maximum()));
            }
            ref.position = window.selector()->value();
            ref.label2 = window.label("Label2")->text();
            edits.edit();
            WindowDriver::Settle();
            // The export writes its file safely, which takes a while: now and then.
            ExpectSameWindow(window, ref, step % 10 == 9 ? csvPath : QString());
        }
    }
}

}  // namespace
