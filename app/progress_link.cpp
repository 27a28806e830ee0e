#include "app/progress_link.h"

#include <utility>

namespace quarnel {

// Lives on the worker thread for one scan. Keeps what the window last showed, so that the
// millions of updates of a scan post a task only about a hundred times.
class ProgressLink::Display final : public ProgressDialog {
  public:
    explicit Display(ProgressLink& link) : link_(link) {}
    ~Display() override {
        if (shown_) link_.ui_.post([&link = link_] { link.close(); });
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    bool progress_update(int percent) override {
        if (progress_cancelled()) return false;
        if (shown_ && percent == last_percent_) return true;
        // The window keeps its initial text until the percentage first changes from 0.
        const bool changed = percent != last_percent_;
        shown_ = true;
        last_percent_ = percent;
        link_.ui_.post([&link = link_, percent, changed] { link.show(percent, changed); });
        return true;
    }

    bool progress_cancelled() const override { return link_.cancelled(); }

  private:
    ProgressLink& link_;
    int last_percent_ = 0;
    bool shown_ = false;
};

ProgressLink::ProgressLink(UiThread& ui, ProgressScreenFactory screens)
    : ui_(ui), screens_(std::move(screens)) {}

ProgressLink::~ProgressLink() = default;

ProgressFactory ProgressLink::factory() {
    return [this]() -> std::unique_ptr<ProgressDialog> { return std::make_unique<Display>(*this); };
}

void ProgressLink::show(int percent, bool changed) {
    if (!screen_) {
        if (!screens_) return;
        screen_ = screens_([this] { cancel(); });
        if (!screen_) return;
        screen_->show();
    }
    if (changed) screen_->show_percent(percent);
}

}  // namespace quarnel
