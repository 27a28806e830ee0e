#pragma once
// The names under which headers are proposed and written.

#include <string>
#include <string_view>

namespace quarnel {

inline constexpr std::string_view mtv_extension = "mtv";

// The last component of `path` without its last extension: "clip.m2p" gives "clip",
// "a.b.mpg" gives "a.b", a name without a dot stays whole.
std::string file_title(std::string_view path);

// `path` less its last component, "" when it has no folder part.
std::string parent_folder(std::string_view path);

// What the save dialog proposes for the text of the name box: its title and ".mtv".
std::string default_save_name(std::string_view name_box_text);

// `path` with ".mtv" appended when its last component has no extension, as the save
// dialog does for a name typed without one.
std::string with_default_extension(std::string_view path);

// Where a batch writes the header of `input`: beside it, its title and ".mtv".
std::string batch_output_path(std::string_view input);

}  // namespace quarnel
