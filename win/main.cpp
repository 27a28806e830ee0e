// quarnel.exe: writes MTV header files for MPEG recordings from one native Windows dialog.

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/analyser_reader.h"
#include "app/language.h"
#include "app/threaded_reader.h"
#include "win/main_dialog.h"
#include "win/progress_window.h"
#include "win/wide_text.h"
#include "win/win_prompts.h"
#include "win/win_ui_thread.h"

namespace {

// The files named on the command line, as the absolute paths a drop would give.
std::vector<std::string> given_files() {
    std::vector<std::string> paths;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return paths;
    for (int i = 1; i < count; ++i) {
        std::wstring full(GetFullPathNameW(arguments[i], 0, nullptr, nullptr), L'\0');
        full.resize(
            GetFullPathNameW(arguments[i], static_cast<DWORD>(full.size()), full.data(), nullptr));
        paths.push_back(quarnel::utf8_from_wide(full));
    }
    LocalFree(arguments);
    return paths;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The progress bar is a common control.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const quarnel::Language language = quarnel::ChooseLanguage();
    quarnel::Win32Prompts prompts(language);
    quarnel::Win32UiThread ui;
    quarnel::Win32MainDialog dialog(
        language, prompts,
        quarnel::threaded_reader(ui, quarnel::win32_progress_windows(language),
                                 quarnel::read_with_analyser));
    // Files handed over by the file manager ("Open with", a drop on the program) are taken
    // as a drop on the name box: one is read into the dialog, several are converted after
    // the batch question.
    dialog.run(given_files());
    return 0;
}
