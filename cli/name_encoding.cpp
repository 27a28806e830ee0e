#include "cli/name_encoding.h"

#include "base/code_page.h"

namespace quarnel::cli {

std::optional<std::string> encode_file_name(std::string_view name, NameEncoding encoding) {
    if (encoding == NameEncoding::as_is) return utf8_to_system_code_page(name);
    return utf8_to_cp932(name);
}

}  // namespace quarnel::cli
