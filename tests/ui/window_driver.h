#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Form1.h"
#include "PictureBox.h"
#include "chart/TrendChart.h"
#include "frames.h"
#include "load_and_wait.h"
#include "pelorin/number_text.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Drives a main window the way a user does, finding its controls by name.
class WindowDriver {
  public:
    WindowDriver() : form_(std::make_unique<pelorin::Form1>()) {
        form_->show();
        Settle();
    }

    pelorin::Form1& form() { return *form_; }

    template <typename T>
    T* find(const QString& name) const {
        T* found = form_->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
        return found;
    }
    static QString indexed(const char* array, int index) {
        return QString::fromLatin1(array) + QLatin1Char('_') +
               QString::fromStdString(pelorin::FormatInteger(index));
    }
    QLineEdit* box(int i) const { return find<QLineEdit>(indexed("Text1", i)); }
    QRadioButton* option(int i) const { return find<QRadioButton>(indexed("Option1", i)); }
    QLabel* unit(int i) const { return find<QLabel>(indexed("Label1", i)); }
    QPlainTextEdit* pasteBox() const { return find<QPlainTextEdit>(QStringLiteral("Text2")); }
    QLineEdit* lengthBox() const { return find<QLineEdit>(QStringLiteral("Text3")); }
    QLabel* label(const char* name) const { return find<QLabel>(QString::fromLatin1(name)); }
    QScrollBar* selector() const { return find<QScrollBar>(QStringLiteral("HScroll1")); }
    QGroupBox* frame(int n) const {
        return find<QGroupBox>(QStringLiteral("Frame") +
                               QString::fromStdString(pelorin::FormatInteger(n)));
    }
    pelorin::TrendChart* chart() const {
        return find<pelorin::TrendChart>(QStringLiteral("MSChart1"));
    }
    pelorin::PictureBox* picture() const {
        return find<pelorin::PictureBox>(QStringLiteral("Picture1"));
    }

    // Replaces the paste box's text, as a paste does.
    void paste(const std::string& text) {
        pasteBox()->setPlainText(QString::fromStdString(text));
        Settle();
    }
    // Lines joined by the paste box's own line breaks.
    void pasteLines(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += (text.empty() ? "" : "\n") + line;
        }
        paste(text);
    }

    QColor boxBackground(int i) const { return box(i)->palette().color(QPalette::Base); }
    QColor pixel(int x, int y) const { return picture()->image().pixelColor(x, y); }

    // Lets queued work (the chart's replot, repaints) run.
    static void Settle() {
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

  private:
    std::unique_ptr<pelorin::Form1> form_;
};

// A telemetry line whose digits at `offset` (0-based within the 112 digits) are `hex`.
inline std::string LineWithDigits(std::size_t offset, const std::string& hex,
                                  const std::string& base = testframes::kExampleDigits) {
    std::string digits = base;
    digits.replace(offset, hex.size(), hex);
    return testframes::line(digits);
}

// Digit offsets of some fields.
inline constexpr std::size_t kStatusDigits = 92;       // value 29, 2 digits
inline constexpr std::size_t kOnMinutesDigits = 94;    // value 30, 4 digits
inline constexpr std::size_t kTemperatureDigits = 32;  // value 9, 3 digits each for 9..12

inline std::string LineWithStatus(int statusByte) {
    static const char* hex = "0123456789ABCDEF";
    return LineWithDigits(kStatusDigits, {hex[(statusByte >> 4) & 0xF], hex[statusByte & 0xF]});
}
