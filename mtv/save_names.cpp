#include "mtv/save_names.h"

#include <filesystem>

namespace quarnel {
namespace {

std::filesystem::path as_path(std::string_view text) {
    return std::filesystem::path(text);
}

std::string dotted_extension() {
    return "." + std::string(mtv_extension);
}

}  // namespace

std::string file_title(std::string_view path) {
    return as_path(path).stem().string();
}

std::string parent_folder(std::string_view path) {
    return as_path(path).parent_path().string();
}

std::string default_save_name(std::string_view name_box_text) {
    return file_title(name_box_text) + dotted_extension();
}

std::string with_default_extension(std::string_view path) {
    std::string result(path);
    if (!as_path(path).has_extension()) result += dotted_extension();
    return result;
}

std::string batch_output_path(std::string_view input) {
    // operator/ puts a separator between folder and name only where none is there yet.
    return (as_path(input).parent_path() / default_save_name(input)).string();
}

}  // namespace quarnel
