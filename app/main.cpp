// quarnel: writes MTV header files for MPEG recordings from one dialog.

#include <QApplication>

#include "app/language.h"
#include "app/main_dialog.h"
#include "app/program_header_reader.h"
#include "app/qt_prompts.h"
#include "app/qt_translations.h"
#include "app/qt_ui_thread.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const quarnel::Language language = quarnel::ChooseLanguage();
    quarnel::install_qt_translations(application, language);
    quarnel::QtPrompts prompts(language);
    quarnel::QtUiThread ui;
    quarnel::MainDialog dialog(language, prompts, quarnel::program_header_reader(language, ui));
    dialog.exec();  // the dialog's result does not matter: nothing is kept
    return 0;
}
