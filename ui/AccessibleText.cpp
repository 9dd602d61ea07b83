#include "AccessibleText.h"

#include <QLineEdit>
#include <QScrollBar>
#include <array>

#include "Form1Layout.h"
#include "OptionButton.h"
#include "PictureBox.h"
#include "QtText.h"
#include "chart/TrendChart.h"
#include "pelorin/value_info.h"

namespace pelorin {
namespace {

constexpr std::array<const char*, 4> kPanelNames = {"X+", "Y+", "X-", "Y-"};  // flag order

// What value `index` is, without its unit, and the unit.
std::pair<QString, QString> Words(int index) {
    const ValueInfo& info = InfoOf(index);
    return {ToQString(info.spokenName), ToQString(info.spokenUnit)};
}

QString RecordOf(int record, int recordCount) {
    return recordCount < 1 ? QStringLiteral("no records decoded")
                           : QStringLiteral("record ") + IntegerText(record) +
                                 QStringLiteral(" of ") + IntegerText(recordCount);
}

QString ValueInWords(int index) {
    const auto [what, unit] = Words(index);
    return what + QStringLiteral(", ") + unit;
}

}  // namespace

void DescribeControls(Form1Layout& controls) {
    for (int i = 0; i < kShownValues; ++i) {
        controls.Text1[i]->setAccessibleName(ValueInWords(i));
        const QString what = Words(i).first;
        controls.Option1[i]->setAccessibleName(what);
        controls.Option1[i]->setAccessibleDescription(QStringLiteral("charts the ") + what +
                                                      QStringLiteral(" of all records"));
    }
    controls.HScroll1->setAccessibleDescription(
        QStringLiteral("Page Up, Page Down, Home and End step through the records"));
    controls.MSChart1->setAccessibleName(QStringLiteral("trend chart"));
    controls.MSChart1->setAccessibleDescription(QStringLiteral("no records decoded"));
    controls.Picture1->setAccessibleName(QStringLiteral("spacecraft status graphic"));
    DescribeRecord(controls, kFirstRecord, 0, {});
}

void DescribeRecord(Form1Layout& controls, int record, int recordCount,
                    const SolarArrayFlags& flags) {
    const QString shown = RecordOf(record, recordCount);
    controls.HScroll1->setAccessibleName(QStringLiteral("record selector, ") + shown);
    for (QLineEdit* box : controls.Text1) {
        box->setAccessibleDescription(shown);
    }
    QString panels = QStringLiteral("solar panels:");
    for (std::size_t face = 0; face < flags.size(); ++face) {
        panels += (face == 0 ? QStringLiteral(" ") : QStringLiteral(", ")) +
                  QString::fromLatin1(kPanelNames[face]) +
                  (flags[face] ? QStringLiteral(" on") : QStringLiteral(" off"));
    }
    controls.Picture1->setAccessibleDescription(panels);
}

void DescribeChart(Form1Layout& controls, int index, int recordCount) {
    controls.MSChart1->setAccessibleName(QStringLiteral("trend chart, ") + ValueInWords(index));
    controls.MSChart1->setAccessibleDescription(
        QStringLiteral("one bar for each of records 1 to ") + IntegerText(recordCount));
}

}  // namespace pelorin
