#include "base/settings.h"

#include <charconv>

namespace quarnel {

namespace {

std::string_view trim(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

void MemorySettings::set(std::string name, std::uint32_t value) {
    values_.insert_or_assign(std::move(name), value);
}

std::optional<std::uint32_t> MemorySettings::query(std::string_view name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::uint32_t> OverriddenSettings::query(std::string_view name) const {
    if (auto value = MemorySettings::query(name)) return value;
    return base_.query(name);
}

std::optional<std::uint32_t> parse_setting_value(std::string_view text) {
    text = trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars takes no sign or prefix of its own, so "-1" and "0x-1" are refused here.
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::pair<std::string_view, std::string_view>> split_setting_assignment(
    std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const auto name = trim(text.substr(0, equals));
    if (name.empty()) return std::nullopt;
    return std::pair{name, text.substr(equals + 1)};
}

std::optional<SettingAssignment> parse_setting_assignment(std::string_view text) {
    const auto parts = split_setting_assignment(text);
    if (!parts) return std::nullopt;
    const auto value = parse_setting_value(parts->second);
    if (!value) return std::nullopt;
    return SettingAssignment{std::string(parts->first), *value};
}

std::int32_t read_setting(const SettingsStore& store, std::string_view name,
                          std::int32_t fallback) {
    const auto stored = store.query(name);
    if (!stored) return fallback;
    if (name == "re_map") return *stored != 0 ? 1 : 0;
    if (name == "file") return *stored == 1 ? 1 : 0;
    // The stored 4 bytes are a signed value to their readers.
    return static_cast<std::int32_t>(*stored);
}

VideoSettings read_video_settings(const SettingsStore& store) {
    const VideoSettings defaults;
    VideoSettings settings;
    settings.simd = read_setting(store, "simd", defaults.simd);
    settings.re_map = read_setting(store, "re_map", defaults.re_map);
    settings.yuy2_matrix = read_setting(store, "yuy2_matrix", defaults.yuy2_matrix);
    settings.aspect_ratio = read_setting(store, "aspect_ratio", defaults.aspect_ratio);
    settings.field_order = read_setting(store, "field_order", defaults.field_order);
    settings.idct_func = read_setting(store, "idct_func", defaults.idct_func);
    settings.color_matrix = read_setting(store, "color_matrix", defaults.color_matrix);
    settings.gl = read_setting(store, "gl", defaults.gl);
    return settings;
}

std::int32_t read_search_limit(const SettingsStore& store) {
    return read_setting(store, "limit", default_search_limit);
}

bool read_follow_sequences(const SettingsStore& store) {
    return read_setting(store, "file", 0) == 1;
}

}  // namespace quarnel
