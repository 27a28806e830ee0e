// Saves a picture of a window of the dialog program for the documentation:
//
//     quarnel_screenshot LANGUAGE FILE.png [progress]
//
// LANGUAGE "en" or "ja". The main dialog as it looks at start, or with "progress" the
// progress window of a GOP list scan at 40 %. Run under the offscreen platform by
// scripts/screenshots.sh.

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstring>

#include "app/main_dialog.h"
#include "app/progress_window.h"
#include "fake_prompts.h"

namespace {

bool save(QWidget& window, const char* file) {
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(file));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool progress = argc == 4 && std::strcmp(argv[3], "progress") == 0;
    if (argc != 3 && !progress) {
        std::fprintf(stderr, "usage: %s en|ja FILE.png [progress]\n", argv[0]);
        return 2;
    }
    const auto language =
        std::strcmp(argv[1], "ja") == 0 ? quarnel::Language::japanese : quarnel::Language::english;
    if (progress) {
        quarnel::ProgressWindow window(language, [] {});
        window.show_percent(40);
        return save(*window.window(), argv[2]) ? 0 : 1;
    }
    quarnel::FakePrompts prompts;
    quarnel::MainDialog dialog(language, prompts, {});
    return save(dialog, argv[2]) ? 0 : 1;
}
