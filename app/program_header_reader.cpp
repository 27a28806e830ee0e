#include "app/program_header_reader.h"

#include "app/progress_window.h"
#include "base/settings.h"
#include "mtv/fill_from_file.h"

namespace quarnel {

// The decoder settings are read afresh for every file, so a change applies to the next one.
HeaderReader program_header_reader(Language language) {
    return
        [language](MtvHeader& header, const std::string& path, bool video_auto, bool audio_auto) {
            const auto settings = platform_settings_store();
            return FillFromFile(header, path, video_auto, audio_auto,
                                {*settings, on_screen_progress(language)});
        };
}

}  // namespace quarnel
