#pragma once
// Windows' side of UiThread: the read runs on a std::thread while the user-interface
// thread goes on dispatching its messages; tasks reach that thread through a locked queue
// and a message to a hidden window of its own, which also reaches it inside the modal loops
// of dialogs and message boxes.

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

#include "app/ui_thread.h"

namespace quarnel {

class Win32UiThread : public UiThread {
  public:
    // Made on the user-interface thread.
    Win32UiThread();
    ~Win32UiThread() override;
    Win32UiThread(const Win32UiThread&) = delete;
    Win32UiThread& operator=(const Win32UiThread&) = delete;

    bool run_off_thread(const std::function<bool()>& work) override;
    void post(std::function<void()> task) override;

  private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void run_posted_tasks();

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace quarnel
