#pragma once
// Qt's own texts (message box buttons, the file dialogs) in the user's language.

#include "app/language.h"

class QCoreApplication;
class QTranslator;

namespace quarnel {

// Loads Qt's translations for `language` from Qt's translation folder into `application`,
// which owns them. Returns them; nullptr for English, which needs none, and when they are
// not installed (Qt's texts then stay English).
QTranslator* install_qt_translations(QCoreApplication& application, Language language);

}  // namespace quarnel
