// quarnel: writes MTV header files for MPEG recordings from one dialog.

#include <QApplication>
#include <QFileInfo>
#include <iostream>
#include <string_view>

#include "app/file_drop_edit.h"
#include "app/language.h"
#include "app/main_dialog.h"
#include "app/program_header_reader.h"
#include "app/qt_prompts.h"
#include "app/qt_translations.h"
#include "app/qt_ui_thread.h"
#include "quarnel_version.h"

namespace {

// The files named on the command line (Qt's own options already taken out), as the absolute
// paths a drop would give.
std::vector<std::string> given_files() {
    std::vector<std::string> paths;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        paths.push_back(quarnel::to_local_path(QFileInfo(argument).absoluteFilePath()));
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it needs no display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "quarnel " << quarnel::version << '\n';
        return 0;
    }
    QApplication application(argc, argv);
    const quarnel::Language language = quarnel::ChooseLanguage();
    quarnel::install_qt_translations(application, language);
    quarnel::QtPrompts prompts(language);
    quarnel::QtUiThread ui;
    quarnel::MainDialog dialog(language, prompts, quarnel::program_header_reader(language, ui));
    // Files handed over by a file manager ("Open with") are taken as a drop on the name box:
    // one is read into the dialog, several are converted after the batch question.
    if (const std::vector<std::string> files = given_files(); !files.empty()) {
        dialog.show();
        qobject_cast<quarnel::CFileDropEdit*>(dialog.control(quarnel::ControlId::name))
            ->receive_files(files);
    }
    dialog.exec();  // the dialog's result does not matter: nothing is kept
    return 0;
}
