#include "cli/name_encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace quarnel::cli {

#ifdef _WIN32

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const int length = static_cast<int>(utf8.size());
    const int wide_length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wide_length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wide_length);
    BOOL lossy = FALSE;
    const int out_length =
        WideCharToMultiByte(932, 0, wide.data(), wide_length, nullptr, 0, nullptr, &lossy);
    if (out_length <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<std::size_t>(out_length), '\0');
    WideCharToMultiByte(932, 0, wide.data(), wide_length, out.data(), out_length, nullptr, nullptr);
    return out;
}

#else

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

#endif

std::optional<std::string> encode_file_name(std::string_view name, NameEncoding encoding) {
    if (encoding == NameEncoding::as_is) return std::string(name);
    return utf8_to_cp932(name);
}

}  // namespace quarnel::cli
