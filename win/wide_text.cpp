#include "win/wide_text.h"

#include <windows.h>

namespace quarnel {
namespace {

std::wstring wide_from(UINT code_page, std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int wide_length = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_length > 0 ? wide_length : 0), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), length, wide.data(), wide_length);
    return wide;
}

}  // namespace

std::wstring wide_from_utf8(std::string_view utf8) {
    return wide_from(CP_UTF8, utf8);
}

std::wstring wide_from_system_code_page(std::string_view text) {
    return wide_from(CP_ACP, text);
}

std::string utf8_from_wide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int utf8_length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(utf8_length > 0 ? utf8_length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), utf8_length, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace quarnel
