#include "app/threaded_reader.h"

#include <utility>

namespace quarnel {

HeaderReader threaded_reader(UiThread& ui, ProgressScreenFactory screens, ScanningReader read) {
    return [&ui, screens = std::move(screens), read = std::move(read)](
               MtvHeader& header, const std::string& path, bool video_auto, bool audio_auto) {
        ProgressLink link(ui, screens);
        const ProgressFactory progress = link.factory();
        return ui.run_off_thread(
            [&] { return read(header, path, video_auto, audio_auto, progress); });
    };
}

}  // namespace quarnel
