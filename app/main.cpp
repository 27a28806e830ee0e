// quarnel: writes MTV header files for MPEG recordings from one dialog.

#include <QApplication>

#include "app/language.h"
#include "app/main_dialog.h"
#include "app/program_header_reader.h"
#include "app/qt_prompts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const quarnel::Language language = quarnel::ChooseLanguage();
    quarnel::QtPrompts prompts(language);
    quarnel::MainDialog dialog(language, prompts, quarnel::program_header_reader(language));
    dialog.exec();  // the dialog's result does not matter: nothing is kept
    return 0;
}
