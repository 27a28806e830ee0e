#pragma once
// The progress of a GOP list scan in the small modeless window of the resource templates:
// caption, text line, bar and Cancel. It has no owner, so it takes clicks while the main
// dialog is disabled for the read; ProgressLink drives it on the user-interface thread.

#include <windows.h>

#include <functional>

#include "app/language.h"
#include "app/progress_link.h"

namespace quarnel {

class Win32ProgressWindow : public ProgressScreen {
  public:
    // Creates the window hidden and centred on the screen; Cancel calls `cancel`.
    Win32ProgressWindow(Language language, std::function<void()> cancel);
    ~Win32ProgressWindow() override;
    Win32ProgressWindow(const Win32ProgressWindow&) = delete;
    Win32ProgressWindow& operator=(const Win32ProgressWindow&) = delete;

    void show() override;
    void show_percent(int percent) override;

  private:
    static INT_PTR CALLBACK dialog_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

    Language language_;
    std::function<void()> cancel_;
    HWND window_ = nullptr;
};

// Makes a Win32ProgressWindow in `language` for each scan.
ProgressScreenFactory win32_progress_windows(Language language);

}  // namespace quarnel
