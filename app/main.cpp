// quarnel: writes MTV header files for MPEG recordings from one dialog.

#include <QApplication>
#include <iostream>
#include <string_view>

#include "app/header_reading.h"
#include "app/language.h"
#include "app/main_dialog.h"
#include "app/qt_prompts.h"
#include "quarnel_version.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it needs no display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "quarnel " << quarnel::version << '\n';
        return 0;
    }
    QApplication application(argc, argv);
    const quarnel::Language language = quarnel::ChooseLanguage();
    quarnel::QtPrompts prompts(language);
    quarnel::MainDialog dialog(language, prompts, quarnel::program_header_reader(language));
    dialog.exec();  // the dialog's result does not matter: nothing is kept
    return 0;
}
