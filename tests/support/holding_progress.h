#pragma once
// A scan that waits for the test at a given percentage: at its first update of `percent` or
// more it stops until resumed, so the user surely acts in the middle of the scan, however
// fast the machine.

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "base/progress.h"

namespace quarnel::test {

struct Hold {
    explicit Hold(int at) : percent(at) {}
    const int percent;
    std::atomic<bool> reached{false};
    std::atomic<bool> resume{false};
};

class HoldingProgress : public ProgressDialog {
  public:
    HoldingProgress(std::unique_ptr<ProgressDialog> inner, Hold& hold)
        : inner_(std::move(inner)), hold_(hold) {}

    bool progress_update(int percent) override {
        if (percent >= hold_.percent && !hold_.resume) {
            hold_.reached = true;
            while (!hold_.resume) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return inner_->progress_update(percent);
    }
    bool progress_cancelled() const override { return inner_->progress_cancelled(); }

  private:
    std::unique_ptr<ProgressDialog> inner_;
    Hold& hold_;
};

}  // namespace quarnel::test
