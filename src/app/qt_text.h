#pragma once
// Conversions between the core's UTF-8 texts and Qt's strings, and the small pieces every
// dialog of the window shares.

#include <QIcon>
#include <QLabel>
#include <QString>
#include <QStyle>
#include <string>
#include <string_view>

namespace trimlet {

inline QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A label showing the style's standard icon `icon` at message-box size, as the dialogs
// that stand in for message boxes show it beside their text.
QLabel* MakeIconLabel(QStyle::StandardPixmap icon, QWidget* parent);

}  // namespace trimlet
