#pragma once
// Texts of the program (UTF-8) as Qt strings, and the dialogs' fonts.

#include <QFont>
#include <QString>
#include <string_view>

namespace quarnel {

inline QString qt_text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The font a dialog asks for; where the family is not installed the font system picks its
// nearest match.
inline QFont dialog_font(std::string_view family) {
    QFont font(qt_text(family), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace quarnel
