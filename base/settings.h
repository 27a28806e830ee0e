#pragma once
// Decoder settings: tuning values read afresh at every use and never written.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quarnel {

// Where stored values come from. A value that is missing, does not parse or does not fit
// in 32 bits is reported as nothing.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::uint32_t> query(std::string_view name) const = 0;
};

// Values held in memory: tests, and the base of the overrides below.
class MemorySettings : public SettingsStore {
  public:
    void set(std::string name, std::uint32_t value);
    std::optional<std::uint32_t> query(std::string_view name) const override;

  private:
    std::map<std::string, std::uint32_t, std::less<>> values_;
};

// Single values set for one run (the command line's --setting NAME=VALUE) over another store.
class OverriddenSettings : public MemorySettings {
  public:
    explicit OverriddenSettings(const SettingsStore& base) : base_(base) {}
    std::optional<std::uint32_t> query(std::string_view name) const override;

  private:
    const SettingsStore& base_;
};

// The store of this platform: the registry key on Windows, the settings file elsewhere.
std::unique_ptr<SettingsStore> platform_settings_store();

// A stored value in decimal or 0x hexadecimal; nothing unless it fits in 32 bits.
std::optional<std::uint32_t> parse_setting_value(std::string_view text);

// The name and the value text of "NAME=VALUE", the name without surrounding blanks; nothing
// without '=' or a name.
std::optional<std::pair<std::string_view, std::string_view>> split_setting_assignment(
    std::string_view text);

struct SettingAssignment {
    std::string name;
    std::uint32_t value = 0;
};

// "NAME=VALUE", blanks around either part allowed; nothing when malformed.
std::optional<SettingAssignment> parse_setting_assignment(std::string_view text);

// Reads `name`, applying the conversions of "re_map" and "file"; `fallback` when absent.
std::int32_t read_setting(const SettingsStore& store, std::string_view name, std::int32_t fallback);

// The eight values each video open keeps, in this order.
struct VideoSettings {
    std::int32_t re_map = 1;
    std::int32_t yuy2_matrix = 0;
    std::int32_t aspect_ratio = 0;
    std::int32_t field_order = 0;
    std::int32_t simd = 0;
    std::int32_t idct_func = 1;
    std::int32_t color_matrix = 0;
    std::int32_t gl = 0;
};

VideoSettings read_video_settings(const SettingsStore& store);

// How far the first headers are searched for, in bytes ("limit").
inline constexpr std::int32_t default_search_limit = 8388608;
std::int32_t read_search_limit(const SettingsStore& store);

// Whether numbered continuation files join the set ("file").
bool read_follow_sequences(const SettingsStore& store);

}  // namespace quarnel
