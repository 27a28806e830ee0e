#include "win/progress_window.h"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "app/dialog_texts.h"
#include "win/resource_ids.h"
#include "win/wide_text.h"

namespace quarnel {
namespace {

// Centred on the screen, at the top of the z-order.
void centre(HWND window) {
    RECT screen;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &screen);
    GetWindowRect(window, &own);
    const int x = screen.left + ((screen.right - screen.left) - (own.right - own.left)) / 2;
    const int y = screen.top + ((screen.bottom - screen.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

}  // namespace

Win32ProgressWindow::Win32ProgressWindow(Language language, std::function<void()> cancel)
    : language_(language), cancel_(std::move(cancel)) {
    const int template_id = language == Language::japanese ? QUARNEL_PROGRESS_DIALOG_JAPANESE
                                                           : QUARNEL_PROGRESS_DIALOG_ENGLISH;
    // Without a window the scan goes on, only nothing shows it and nothing cancels it.
    window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), nullptr,
                                 dialog_procedure, reinterpret_cast<LPARAM>(this));
}

Win32ProgressWindow::~Win32ProgressWindow() {
    if (window_) DestroyWindow(window_);
}

void Win32ProgressWindow::show() {
    if (window_) ShowWindow(window_, SW_SHOW);
}

void Win32ProgressWindow::show_percent(int percent) {
    if (!window_) return;
    const int text_id = language_ == Language::japanese ? QUARNEL_PROGRESS_TEXT_JAPANESE
                                                        : QUARNEL_PROGRESS_TEXT_ENGLISH;
    SetDlgItemTextW(window_, text_id,
                    wide_from_utf8(progress_text(progress_texts(language_), percent)).c_str());
    PostMessageW(GetDlgItem(window_, QUARNEL_PROGRESS_BAR), PBM_SETPOS,
                 static_cast<WPARAM>(percent), 0);
}

INT_PTR CALLBACK Win32ProgressWindow::dialog_procedure(HWND window, UINT message, WPARAM w,
                                                       LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, GWLP_USERDATA, l);
        centre(window);
    } else if (message == WM_COMMAND && LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
        if (auto* self =
                reinterpret_cast<Win32ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->cancel_();
    }
    return FALSE;
}

ProgressScreenFactory win32_progress_windows(Language language) {
    return [language](std::function<void()> cancel) -> std::unique_ptr<ProgressScreen> {
        return std::make_unique<Win32ProgressWindow>(language, std::move(cancel));
    };
}

}  // namespace quarnel
