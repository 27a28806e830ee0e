#pragma once
// Decoder settings: tuning values read afresh at every use and never written.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Where stored values come from. A value that is missing, does not parse or does not fit
// in 32 bits is reported as nothing.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::uint32_t> query(std::string_view name) const = 0;
};

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
