#pragma once
// Settings kept in a text file, for platforms without a registry: one `name=value` a line,
// the value decimal or 0x hexadecimal, `#` starting a comment.

#include <optional>
#include <string>

#include "base/settings.h"

namespace quarnel {

class FileSettings : public SettingsStore {
  public:
    // An empty path stands for no file: every value is missing.
    explicit FileSettings(std::string path) : path_(std::move(path)) {}
    // Reads the file afresh at every query, so an edit takes effect at the next open.
    std::optional<std::uint32_t> query(std::string_view name) const override;

  private:
    std::string path_;
};

// Where the settings file lies, from the values of QUARNEL_SETTINGS_FILE, XDG_CONFIG_HOME
// and HOME (each null when unset); nothing when none of them leads to a file.
std::optional<std::string> settings_file_location(const char* settings_file,
                                                  const char* config_home, const char* home);

}  // namespace quarnel
