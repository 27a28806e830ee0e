#pragma once
// Settings under the current user's registry key (Windows only).

#include "base/settings.h"

namespace quarnel {

class RegistrySettings : public SettingsStore {
  public:
    // Opens and closes the key at every query: a change applies at the next open.
    std::optional<std::uint32_t> query(std::string_view name) const override;
};

}  // namespace quarnel
