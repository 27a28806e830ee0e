#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "base/code_page.h"

namespace quarnel {
namespace {

std::optional<std::string> utf8_to_code_page(std::string_view utf8, UINT code_page) {
    if (utf8.empty()) return std::string();
    const int length = static_cast<int>(utf8.size());
    const int wide_length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wide_length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wide_length);
    // Without WC_NO_BEST_FIT_CHARS "é" silently becomes "e" in code page 932: a name that
    // would then point at another file, or at none.
    BOOL lossy = FALSE;
    const int out_length = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(),
                                               wide_length, nullptr, 0, nullptr, &lossy);
    if (out_length <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<std::size_t>(out_length), '\0');
    WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, wide.data(), wide_length, out.data(),
                        out_length, nullptr, nullptr);
    return out;
}

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
    return utf8_to_code_page(utf8, 932);
}

std::optional<std::string> utf8_to_system_code_page(std::string_view utf8) {
    return utf8_to_code_page(utf8, CP_ACP);
}

}  // namespace quarnel

#endif
