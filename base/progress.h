#pragma once
// Progress of a long scan (building a GOP list): the caller of a video open supplies the
// window or console line that shows it, and the texts it shows.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/progress_texts.h"

namespace quarnel {

// One progress display, shown while a scan runs. Destroying it closes it (progress_close).
class ProgressDialog {
  public:
    virtual ~ProgressDialog() = default;

    // Shows `percent` (0 to 100); returns false once the user has asked to cancel.
    // Called at every start code of a scan, so an implementation redraws only when the
    // percentage changes.
    virtual bool progress_update(int percent) = 0;
    // True once the user has asked to cancel.
    virtual bool progress_cancelled() const = 0;
};

// Creates the display at the start of a scan. An empty factory, or one that returns
// nullptr, means that no progress is shown and nothing can cancel the scan.
using ProgressFactory = std::function<std::unique_ptr<ProgressDialog>()>;

// Percentage of a stream read so far: position * 100 / size, 0 for an empty stream.
int progress_percent(std::int64_t position, std::int64_t size);

// The texts of the progress window in one language (UTF-8).
struct ProgressTexts {
    std::string_view caption;
    std::string_view font;
    std::string_view initial_text;  // shown until the percentage first changes from 0
    std::string_view cancel_button;
    std::string_view percent_format;  // printf format taking the percentage
};

inline constexpr ProgressTexts progress_texts_japanese{
    QUARNEL_PROGRESS_JA_CAPTION, QUARNEL_PROGRESS_JA_FONT, QUARNEL_PROGRESS_JA_INITIAL_TEXT,
    QUARNEL_PROGRESS_JA_CANCEL, QUARNEL_PROGRESS_JA_FORMAT,
};

inline constexpr ProgressTexts progress_texts_english{
    QUARNEL_PROGRESS_EN_CAPTION, QUARNEL_PROGRESS_EN_FONT, QUARNEL_PROGRESS_EN_INITIAL_TEXT,
    QUARNEL_PROGRESS_EN_CANCEL, QUARNEL_PROGRESS_EN_FORMAT,
};

// The progress line for `percent` in the given language's format.
std::string progress_text(const ProgressTexts& texts, int percent);

}  // namespace quarnel
