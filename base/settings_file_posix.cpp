#ifndef _WIN32

#include <cstdlib>

#include "base/settings_file.h"

namespace quarnel {

std::unique_ptr<SettingsStore> platform_settings_store() {
    const auto location = settings_file_location(
        std::getenv("QUARNEL_SETTINGS_FILE"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    return std::make_unique<FileSettings>(location.value_or(std::string()));
}

}  // namespace quarnel

#endif
