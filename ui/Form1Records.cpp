// The main window's records table: File > Records Table and the selection both ways.
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>

#include "Form1.h"
#include "paste/PasteBox.h"
#include "records/ReceptionTime.h"
#include "records/RecordsModel.h"
#include "records/RecordsWindow.h"

namespace pelorin {

void Form1::MnuRecords_Click() {
    if (records_.isNull()) {
        if (recordsModel_ == nullptr) {
            recordsModel_ = new RecordsModel(store_, decimalSeparator_, this);
        }
        records_ = new RecordsWindow(*recordsModel_, this);
        records_->setAttribute(Qt::WA_DeleteOnClose);
        connect(records_, &RecordsWindow::recordChosen, HScroll1, &QScrollBar::setValue);
        updateRecordsTable();
        placeBeside(*records_);
    }
    records_->show();
    records_->raise();
    records_->activateWindow();
}

// Beside the main window on the side with room, else where the system puts it.
void Form1::placeBeside(QWidget& window) const {
    const QRect main = frameGeometry();
    const QRect area = screen()->availableGeometry();
    const QSize size = window.size();
    if (main.right() + size.width() <= area.right()) {
        window.move(main.right() + 1, main.top());
    } else if (main.left() - size.width() >= area.left()) {
        window.move(main.left() - size.width(), main.top());
    }
}

std::vector<std::optional<QDateTime>> Form1::receptionTimes() const {
    std::vector<std::optional<QDateTime>> times(static_cast<std::size_t>(store_.RecordCount()));
    const QTextDocument& document = *Text2->document();
    for (std::size_t rank = 0; rank < times.size(); ++rank) {
        const int block = paste_->telemetryBlock(static_cast<std::int64_t>(rank));
        if (block < 0) {
            break;
        }
        times[rank] = ReceptionTimeOfBlock(document.findBlockByNumber(block));
    }
    return times;
}

std::optional<QDateTime> Form1::firstReceptionTime() const {
    const int block = store_.RecordCount() > 0 ? paste_->telemetryBlock(0) : -1;
    return block >= 0 ? ReceptionTimeOfBlock(Text2->document()->findBlockByNumber(block))
                      : std::nullopt;
}

void Form1::updateRecordsTable() {
    if (records_.isNull()) {
        return;  // the model is brought up to date when the table opens
    }
    recordsModel_->refresh(receptionTimes(), limits());
    if (store_.RecordCount() > 0) {
        records_->selectRecord(HScroll1->value());
    }
}

}  // namespace pelorin
