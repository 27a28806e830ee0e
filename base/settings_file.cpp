#include "base/settings_file.h"

#include <fstream>

#include "base/regular_file.h"

namespace quarnel {

namespace {

bool is_set(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

std::optional<std::uint32_t> FileSettings::query(std::string_view name) const {
    std::optional<std::uint32_t> found;
    if (check_regular_file(path_) != OpenFailure::none) return found;  // a FIFO would block
    std::ifstream file(path_);
    std::string line;
    while (std::getline(file, line)) {
        const auto parts =
            split_setting_assignment(std::string_view(line).substr(0, line.find('#')));
        // A later line wins, as in most configuration files; a value that does not parse
        // makes the setting missing.
        if (parts && parts->first == name) found = parse_setting_value(parts->second);
    }
    return found;
}

std::optional<std::string> settings_file_location(const char* settings_file,
                                                  const char* config_home, const char* home) {
    if (is_set(settings_file)) return std::string(settings_file);
    const std::string relative = "/orvane/daro2zud_aze.conf";
    if (is_set(config_home)) return config_home + relative;
    if (is_set(home)) return std::string(home) + "/.config" + relative;
    return std::nullopt;
}

}  // namespace quarnel
