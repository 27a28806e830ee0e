// What of a scan's progress reaches its window, and how Cancel reaches the scan.
#include "app/progress_link.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "app/threaded_reader.h"

namespace quarnel {
namespace {

// Keeps the posted tasks until the test runs them, as a busy event loop would.
class QueueingUiThread : public UiThread {
  public:
    bool run_off_thread(const std::function<bool()>& work) override {
        bool result = false;
        std::thread([&] { result = work(); }).join();
        run_posted();
        return result;
    }
    void post(std::function<void()> task) override { tasks.push_back(std::move(task)); }

    void run_posted() {
        while (!tasks.empty()) {
            const auto task = std::move(tasks.front());
            tasks.pop_front();
            task();
        }
    }

    std::deque<std::function<void()>> tasks;
};

// Records what the window was asked to do, and keeps its Cancel button.
struct ScreenLog {
    std::vector<std::string> calls;
    std::function<void()> cancel;

    ProgressScreenFactory factory() {
        return [this](std::function<void()> cancel_button) -> std::unique_ptr<ProgressScreen> {
            cancel = std::move(cancel_button);
            return std::make_unique<Screen>(*this);
        };
    }

    struct Screen : ProgressScreen {
        explicit Screen(ScreenLog& owner) : log(owner) {}
        ~Screen() override { log.calls.push_back("close"); }
        void show() override { log.calls.push_back("show"); }
        void show_percent(int percent) override { log.calls.push_back(std::to_string(percent)); }
        ScreenLog& log;
    };
};

TEST(ProgressLink, OnlyChangesReachTheWindowWhichKeepsItsInitialTextAtZero) {
    QueueingUiThread ui;
    ScreenLog log;
    ProgressLink link(ui, log.factory());
    {
        const auto display = link.factory()();
        for (int percent : {0, 0, 0, 1, 1, 2, 2, 2, 100})
            EXPECT_TRUE(display->progress_update(percent));
        EXPECT_EQ(ui.tasks.size(), 4u);  // 0, 1, 2 and 100: one task per change
        ui.run_posted();
        EXPECT_EQ(log.calls, (std::vector<std::string>{"show", "1", "2", "100"}));
    }
    ui.run_posted();
    EXPECT_EQ(log.calls.back(), "close");
}

TEST(ProgressLink, CancelStopsTheScanAtItsNextUpdate) {
    QueueingUiThread ui;
    ScreenLog log;
    ProgressLink link(ui, log.factory());
    const auto display = link.factory()();
    EXPECT_TRUE(display->progress_update(10));
    ui.run_posted();
    ASSERT_TRUE(log.cancel);
    EXPECT_FALSE(display->progress_cancelled());

    log.cancel();  // the button, on the user-interface thread
    EXPECT_TRUE(display->progress_cancelled());
    EXPECT_FALSE(display->progress_update(11));
    EXPECT_TRUE(ui.tasks.empty());
}

TEST(ThreadedReader, ReadsOnAnotherThreadAndShowsItsScanOnThisOne) {
    QueueingUiThread ui;
    ScreenLog log;
    const std::thread::id ui_thread = std::this_thread::get_id();
    std::thread::id read_thread;
    const HeaderReader reader = threaded_reader(
        ui, log.factory(),
        [&](MtvHeader&, const std::string&, bool, bool, const ProgressFactory& progress) {
            read_thread = std::this_thread::get_id();
            const auto display = progress();
            return display->progress_update(50);
        });
    MtvHeader header;
    EXPECT_TRUE(reader(header, "clip.m2p", true, false));
    EXPECT_NE(read_thread, ui_thread);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"show", "50", "close"}));
}

}  // namespace
}  // namespace quarnel
