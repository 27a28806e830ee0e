// Times a read in the dialog as the program makes it:
//
//     quarnel-bench-dialog FILE
//
// Opens FILE through the main dialog running modal, with the program's reader (the analyser
// on a worker thread, its progress in the progress window), and prints the seconds of the
// read, from the click on "Open" to the values on screen. Exits with 1 when the read fails.
// bench/dialog.sh runs it beside quarnel-cli.

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "app/program_header_reader.h"
#include "app/main_dialog.h"
#include "app/qt_ui_thread.h"

namespace {

// Picks FILE in every open dialog and notes any error box.
class ScriptedPrompts : public quarnel::UserPrompts {
  public:
    explicit ScriptedPrompts(std::string file) : file_(std::move(file)) {}

    std::optional<std::string> choose_file_to_open(const std::string&) override { return file_; }
    std::optional<std::string> choose_file_to_save(const std::string&,
                                                   const std::string&) override {
        return {};
    }
    void show_error(quarnel::MessageId) override { failed = true; }
    bool ask(quarnel::MessageId) override { return false; }

    bool failed = false;

  private:
    std::string file_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    ScriptedPrompts prompts(argv[1]);
    quarnel::QtUiThread ui;
    quarnel::MainDialog dialog(quarnel::Language::english, prompts,
                               quarnel::program_header_reader(quarnel::Language::english, ui));
    auto* open = qobject_cast<QAbstractButton*>(dialog.control(quarnel::ControlId::open));
    QTimer::singleShot(0, &dialog, [&] {
        const auto start = std::chrono::steady_clock::now();
        open->click();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%.4f\n", took.count());
        dialog.done(0);
    });
    dialog.exec();
    return prompts.failed ? 1 : 0;
}
