#include "app/program_header_reader.h"

#include "app/progress_window.h"
#include "base/settings.h"
#include "mtv/fill_from_file.h"

namespace quarnel {

HeaderReader program_header_reader(Language language, UiThread& ui) {
    return threaded_reader(ui, progress_windows(language), read_with_analyser);
}

// The decoder settings are read afresh for every file, so a change applies to the next one.
bool read_with_analyser(MtvHeader& header, const std::string& path, bool video_auto,
                        bool audio_auto, const ProgressFactory& progress) {
    const auto settings = platform_settings_store();
    return FillFromFile(header, path, video_auto, audio_auto, {*settings, progress});
}

}  // namespace quarnel
