#pragma once
// The progress of a GOP list scan in a small window of its own: caption, a text line, a bar
// and a Cancel button. The scan runs on a worker thread; ProgressLink decides what reaches
// the window, on the user-interface thread.

#include <functional>
#include <memory>

#include "app/language.h"
#include "app/progress_link.h"
#include "base/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace quarnel {

class ProgressWindow : public ProgressScreen {
  public:
    // Builds the window hidden and centred on the screen; Cancel calls `cancel`.
    ProgressWindow(Language language, std::function<void()> cancel);
    ~ProgressWindow() override;

    void show() override;
    void show_percent(int percent) override;

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
};

// Makes a ProgressWindow in `language` for each scan.
ProgressScreenFactory progress_windows(Language language);

}  // namespace quarnel
