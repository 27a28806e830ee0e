#ifndef _WIN32

#include <unistd.h>

#include "base/console.h"

namespace quarnel {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void use_utf8_console() {}

bool is_terminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

}  // namespace quarnel

#endif
