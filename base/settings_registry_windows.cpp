#ifdef _WIN32

#include "base/settings_registry.h"

#ifndef NOMINMAX
#define NOMINMAX  // keep std::min usable
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace quarnel {

std::optional<std::uint32_t> RegistrySettings::query(std::string_view name) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\orvane\\daro2zud_aze", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // Any value of exactly 4 bytes is taken, whatever type it is stored as.
    DWORD value = 0;
    DWORD length = sizeof value;
    const std::string value_name(name);
    const LONG status = RegQueryValueExA(key, value_name.c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&value), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || length != sizeof value) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::unique_ptr<SettingsStore> platform_settings_store() {
    return std::make_unique<RegistrySettings>();
}

}  // namespace quarnel

#endif
