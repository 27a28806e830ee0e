#pragma once
// The progress of a scan that runs on a worker thread, shown in a window on the
// user-interface thread. The scan asks at every start code; only a change of the
// percentage reaches the window, and Cancel reaches the scan through an atomic flag.

#include <atomic>
#include <functional>
#include <memory>

#include "app/ui_thread.h"
#include "base/progress.h"

namespace quarnel {

// The window of one scan, driven on the user-interface thread. Destroying it closes it.
class ProgressScreen {
  public:
    virtual ~ProgressScreen() = default;

    // Makes the window visible with its initial text and an empty bar.
    virtual void show() = 0;
    // Shows a new percentage in the text line and the bar.
    virtual void show_percent(int percent) = 0;
};

// Makes the window of a scan; its Cancel button calls `cancel`.
using ProgressScreenFactory =
    std::function<std::unique_ptr<ProgressScreen>(std::function<void()> cancel)>;

// Links the scans of one read to their window. Lives on the user-interface thread for the
// length of the read, which must be over (every posted task run) before it is destroyed.
class ProgressLink {
  public:
    ProgressLink(UiThread& ui, ProgressScreenFactory screens);
    ~ProgressLink();
    ProgressLink(const ProgressLink&) = delete;
    ProgressLink& operator=(const ProgressLink&) = delete;

    // For the read on the worker thread: each scan gets a display whose window is made at
    // its first update and closed when the scan ends.
    ProgressFactory factory();

    // The user asked to cancel; the scan stops at its next start code. Any thread.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

  private:
    class Display;

    // User-interface thread: what a display has posted.
    void show(int percent, bool changed);
    void close() { screen_.reset(); }

    UiThread& ui_;
    ProgressScreenFactory screens_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<ProgressScreen> screen_;  // touched on the user-interface thread only
};

}  // namespace quarnel
