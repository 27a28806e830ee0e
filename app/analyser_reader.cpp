#include "app/analyser_reader.h"

#include "base/code_page.h"
#include "base/settings.h"
#include "mtv/fill_from_file.h"

namespace quarnel {

bool read_with_analyser(MtvHeader& header, const std::string& path, bool video_auto,
                        bool audio_auto, const ProgressFactory& progress) {
    const auto settings = platform_settings_store();
    if (!FillFromFile(header, path, video_auto, audio_auto, {*settings, progress})) return false;
    const auto stored_name = utf8_to_system_code_page(header.GetFileName());
    return stored_name && header.SetFileName(*stored_name);
}

}  // namespace quarnel
