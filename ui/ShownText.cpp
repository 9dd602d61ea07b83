#include "ShownText.h"

#include <QTextDocument>

#include "error_report.h"

namespace pelorin {

QString EscapedText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return QString::fromStdString(cli::EscapeControls(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

QString PlainToolTip(const QString& text) {
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}

}  // namespace pelorin
