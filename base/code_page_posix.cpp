#ifndef _WIN32

#include <iconv.h>

#include "base/code_page.h"

namespace quarnel {
namespace {

// Owns one iconv conversion descriptor.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The whole of `in` converted; nothing at the first byte sequence that does not convert.
    std::optional<std::string> convert(std::string_view in) {
        std::string out(in.size() * 2 + 16, '\0');   // CP932 never needs more than UTF-8
        char* in_at = const_cast<char*>(in.data());  // iconv's signature lacks const
        std::size_t in_left = in.size();
        char* out_at = out.data();
        std::size_t out_left = out.size();
        if (iconv(cd_, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1))
            return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &out_at, &out_left) == static_cast<std::size_t>(-1))
            return std::nullopt;
        out.resize(out.size() - out_left);
        return out;
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    if (!converter.valid()) return std::nullopt;
    return converter.convert(utf8);
}

std::optional<std::string> utf8_to_system_code_page(std::string_view utf8) {
    return std::string(utf8);
}

}  // namespace quarnel

#endif
