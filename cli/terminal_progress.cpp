#include "cli/terminal_progress.h"

#include <algorithm>
#include <utility>

#include "base/console.h"
#include "cli/interrupt.h"

namespace quarnel::cli {
namespace {

constexpr int bar_width = 30;

}  // namespace

std::string progress_bar_line(int percent, int width, const std::string& label) {
    const int clamped = std::clamp(percent, 0, 100);
    const int filled = clamped * width / 100;
    std::string line = "[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(width - filled), '.');
    line += "] ";
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", clamped);
    line += number;
    if (!label.empty()) line += " " + label;
    return line;
}

TerminalProgress::TerminalProgress(std::FILE* out, bool draw, std::string label,
                                   std::function<bool()> cancel_requested)
    : out_(out),
      draw_(draw),
      label_(std::move(label)),
      cancel_requested_(std::move(cancel_requested)) {}

TerminalProgress::~TerminalProgress() {
    // Carriage return, clear to the end of the line: the next output starts on a clean line.
    if (draw_ && shown_percent_ >= 0) std::fputs("\r\033[K", out_);
}

bool TerminalProgress::progress_update(int percent) {
    if (!cancelled_ && cancel_requested_ && cancel_requested_()) cancelled_ = true;
    if (draw_ && percent != shown_percent_) draw(percent);
    return !cancelled_;
}

bool TerminalProgress::progress_cancelled() const {
    return cancelled_;
}

void TerminalProgress::draw(int percent) {
    shown_percent_ = percent;
    std::fprintf(out_, "\r%s", progress_bar_line(percent, bar_width, label_).c_str());
    std::fflush(out_);
}

ProgressFactory terminal_progress_factory(const std::string& file) {
    const bool terminal = is_terminal(stderr);
    return [terminal, label = std::string(progress_texts_english.initial_text) + file] {
        return std::make_unique<TerminalProgress>(stderr, terminal, label, interrupted);
    };
}

}  // namespace quarnel::cli
