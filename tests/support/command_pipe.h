#pragma once
// The standard output of a shell command as a stream: through /bin/sh on POSIX, cmd.exe on
// Windows.

#include <cstdio>
#include <string>

namespace quarnel::test {

std::FILE* open_command_pipe(const std::string& command);

// Closes the pipe: the command's exit status, -1 when it did not exit normally.
int close_command_pipe(std::FILE* pipe);

}  // namespace quarnel::test
