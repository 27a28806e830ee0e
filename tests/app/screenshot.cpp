// Saves a picture of the main dialog as it looks at start: screenshot LANGUAGE FILE.png,
// LANGUAGE "en" or "ja". Run under the offscreen platform by scripts/screenshots.sh.

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstring>

#include "app/main_dialog.h"
#include "fake_prompts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s en|ja FILE.png\n", argv[0]);
        return 2;
    }
    const auto language =
        std::strcmp(argv[1], "ja") == 0 ? quarnel::Language::japanese : quarnel::Language::english;
    quarnel::FakePrompts prompts;
    quarnel::MainDialog dialog(language, prompts, {});
    dialog.show();
    QApplication::processEvents();
    return dialog.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
