#pragma once
// The progress of a GOP list scan as a bar on one line of a terminal. The scan asks it at
// every start code whether to go on; it answers no once Ctrl-C was pressed.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "base/progress.h"

namespace quarnel::cli {

class TerminalProgress : public ProgressDialog {
  public:
    // Draws on `out` when `draw` is set (standard error is a terminal); `cancel_requested`
    // is asked at every update.
    TerminalProgress(std::FILE* out, bool draw, std::string label,
                     std::function<bool()> cancel_requested);
    // Clears the bar's line.
    ~TerminalProgress() override;

    bool progress_update(int percent) override;
    bool progress_cancelled() const override;

  private:
    void draw(int percent);

    std::FILE* out_;
    bool draw_;
    std::string label_;
    std::function<bool()> cancel_requested_;
    int shown_percent_ = -1;
    bool cancelled_ = false;
};

// One line: "[#####.....]  50% Creating GOP List .. clip.mpg", the bar `width` wide.
std::string progress_bar_line(int percent, int width, const std::string& label);

// A factory for the video open: bars on standard error when it is a terminal, labelled with
// `file`, cancelled by Ctrl-C.
ProgressFactory terminal_progress_factory(const std::string& file);

}  // namespace quarnel::cli
