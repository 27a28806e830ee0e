#include "win/win_ui_thread.h"

#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace quarnel {
namespace {

constexpr UINT tasks_waiting = WM_APP;
constexpr wchar_t window_class[] = L"QuarnelUiTasks";

}  // namespace

Win32UiThread::Win32UiThread() {
    WNDCLASSW type{};
    type.lpfnWndProc = window_procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = window_class;
    RegisterClassW(&type);  // fails harmlessly when a second instance registers it again
    window_ = CreateWindowExW(0, window_class, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              type.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32UiThread::~Win32UiThread() {
    DestroyWindow(window_);
}

bool Win32UiThread::run_off_thread(const std::function<bool()>& work) {
    const HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!finished) return false;
    bool result = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            result = work();
            SetEvent(finished);
        });
    } catch (const std::system_error&) {
        CloseHandle(finished);
        return false;  // no thread to be had: the read fails like any other
    }
    // Serves this thread's windows until the work is done.
    std::optional<int> quit;
    while (MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
           WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = static_cast<int>(message.wParam);  // for the loop outside, once done
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    worker.join();
    CloseHandle(finished);
    run_posted_tasks();  // what the work posted last
    if (quit) PostQuitMessage(*quit);
    return result;
}

void Win32UiThread::post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    PostMessageW(window_, tasks_waiting, 0, 0);
}

void Win32UiThread::run_posted_tasks() {
    std::deque<std::function<void()>> due;
    {
        const std::lock_guard lock(mutex_);
        due.swap(tasks_);
    }
    for (auto& task : due) task();
}

LRESULT CALLBACK Win32UiThread::window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == tasks_waiting) {
        if (auto* self = reinterpret_cast<Win32UiThread*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->run_posted_tasks();
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace quarnel
