#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>

#include "pelorin/telemetry_table.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPlainTextEdit;
class QScrollBar;

namespace pelorin {

class Form2;
class OptionButton;
class PasteReport;
class PictureBox;
class TrendChart;
struct DecodeResult;

// The main window. It owns the decoded telemetry for the life of the program and every control
// that shows it: the paste box Text2, the value boxes Text1(0..34) with their option buttons
// Option1 and unit labels Label1, the status graphic Picture1, the trend chart MSChart1 and
// the record selector HScroll1.
class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The folder that "Write CSV File" writes into: the program's folder unless a test points
    // it elsewhere.
    void setCsvFolder(const QString& folder) { csvFolder_ = folder; }

    // Puts a text file into the paste box as one paste (decoded once, undoable). When the file
    // cannot be used, says why in Label3, leaves the box unchanged and returns false.
    bool loadTextFile(const QString& path);
    // Writes all records as CSV to `path` without ever leaving a half-written file there.
    // Returns false, with the reason in Label3, when it could not be written.
    bool writeCsvFile(const QString& path);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildFrames(QWidget& client);
    void buildValueControls();
    void buildSingleControls(QWidget& client);
    void buildMenus();
    void setFocusOrder();
    void connectHandlers();
    QWidget* container(int number) const;

    // Event handlers and procedures, named after control and event.
    void Form_Load();
    void Text2_Change();
    void HScroll1_Change();
    void Option1_Click(int Index);
    void WriteCSVFile_Click();
    void WriteCSVFileAs_Click();
    void MnuOpen_Click();
    void MnuInfo_Click();
    void Show_Data(int Rec);
    void Draw_Chart(int Index);

    void setBoxBackground(int index, const QColor& color);
    void showRecordLimit(const DecodeResult& result);
    // What Label3 shows, so a message goes away when its cause does.
    enum class Message { None, RecordLimit, OpenFailed, Export };
    void setMessage(const QString& text, Message kind);
    void clearMessage(Message kind);
    bool stepSelector(int key);
    static QString FileFromDrop(const QMimeData* mime);

    TelemetryStore store_;
    std::string decimalSeparator_;
    QString csvFolder_;
    QColor boxBackground_;
    Message shownMessage_ = Message::None;

    std::array<QGroupBox*, 8> Frame_{};  // Frame1..Frame8
    std::array<QLineEdit*, kShownValues> Text1{};
    std::array<OptionButton*, kShownValues> Option1{};
    std::array<QLabel*, kShownValues> Label1{};
    QPlainTextEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 1> Label5{};  // a one-element control array
    QLabel* Label6 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    PictureBox* Picture1 = nullptr;
    TrendChart* MSChart1 = nullptr;
    PasteReport* report_ = nullptr;
    QPointer<Form2> form2_;
};

}  // namespace pelorin
