#include "mtv/save_names.h"

#include "base/utf8_path.h"

namespace quarnel {
namespace {

std::filesystem::path as_path(std::string_view text) {
    return path_from_utf8(text);
}

std::string dotted_extension() {
    return "." + std::string(mtv_extension);
}

}  // namespace

std::string file_title(std::string_view path) {
    return utf8_from_path(as_path(path).stem());
}

std::string parent_folder(std::string_view path) {
    return utf8_from_path(as_path(path).parent_path());
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
    // The input's folder part as written, so that its separators stay as they are.
    const std::string name = utf8_from_path(as_path(input).filename());
    return std::string(input.substr(0, input.size() - name.size())) + default_save_name(input);
}

}  // namespace quarnel
