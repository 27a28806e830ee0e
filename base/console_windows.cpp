#ifdef _WIN32

#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "base/console.h"
#include "base/utf8_path.h"

namespace quarnel {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8_from_path(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
}

void use_utf8_console() {
    SetConsoleOutputCP(CP_UTF8);
}

bool is_terminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

}  // namespace quarnel

#endif
