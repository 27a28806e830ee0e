#ifdef _WIN32

#include "support/command_pipe.h"

namespace quarnel::test {

std::FILE* open_command_pipe(const std::string& command) {
    return _popen(command.c_str(), "rb");
}

// cmd.exe's close returns the exit status itself.
int close_command_pipe(std::FILE* pipe) {
    return _pclose(pipe);
}

}  // namespace quarnel::test

#endif
