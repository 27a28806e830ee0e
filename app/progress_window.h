#pragma once
// The progress of a GOP list scan in a small window of its own: caption, a text line, a bar
// and a Cancel button. Each update pumps the event loop, so the main dialog stays live
// while the scan runs on the same thread.

#include <memory>

#include "app/language.h"
#include "base/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace quarnel {

class ProgressWindow : public ProgressDialog {
  public:
    // Builds the window hidden and centred on the screen; the first update shows it.
    explicit ProgressWindow(Language language);
    ~ProgressWindow() override;

    bool progress_update(int percent) override;
    bool progress_cancelled() const override { return cancelled_; }

    QWidget* window() const { return window_.get(); }
    QLabel* text_line() const { return text_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* cancel_button() const { return cancel_; }

  private:
    const ProgressTexts& texts_;
    std::unique_ptr<QWidget> window_;
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    int last_percent_ = 0;
    bool cancelled_ = false;
};

const ProgressTexts& progress_texts(Language language);

// Creates a ProgressWindow in `language` for each scan.
ProgressFactory on_screen_progress(Language language);

}  // namespace quarnel
