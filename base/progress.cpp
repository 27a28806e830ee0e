#include "base/progress.h"

#include <algorithm>
#include <cstdio>

namespace quarnel {

int progress_percent(std::int64_t position, std::int64_t size) {
    if (size <= 0) return 0;
    return static_cast<int>(position * 100 / size);
}

std::string progress_text(const ProgressTexts& texts, int percent) {
    const std::string format(texts.percent_format);  // the format must be zero-terminated
    char line[128];
    const int length = std::snprintf(line, sizeof line, format.c_str(), percent);
    return length > 0 ? std::string(line, std::min<std::size_t>(length, sizeof line - 1))
                      : std::string();
}

}  // namespace quarnel
