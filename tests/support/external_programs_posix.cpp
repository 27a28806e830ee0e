#ifndef _WIN32

#include <sys/wait.h>

#include "support/command_pipe.h"

namespace quarnel::test {

std::FILE* open_command_pipe(const std::string& command) {
    return popen(command.c_str(), "r");
}

int close_command_pipe(std::FILE* pipe) {
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace quarnel::test

#endif
