#pragma once
// The file types offered by the open and save dialogs.

#include <string_view>

namespace quarnel {

struct FileFilter {
    std::string_view name;      // as the user reads it
    std::string_view patterns;  // space-separated wildcards
};

inline constexpr FileFilter mpeg_filters[] = {
    {"MPEG Video(*.m2p,*.mp2,*.mpeg,*.mpg)", "*.m2p *.mp2 *.mpeg *.mpg"},
    {"All File(*.*)", "*"},
};
inline constexpr std::string_view mpeg_default_extension = "m2p";

inline constexpr FileFilter mtv_filters[] = {
    {"MTV File(*.mtv)", "*.mtv"},
};

}  // namespace quarnel
