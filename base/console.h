#pragma once
// What a command-line program needs of its console: its arguments in UTF-8, UTF-8 output
// shown as such, and whether a stream is a terminal.

#include <cstdio>
#include <string>
#include <vector>

namespace quarnel {

// The program's arguments in UTF-8. Windows hands `argv` over in the ANSI code page, which
// has no form for most names; there they are read from the wide command line instead.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Makes the console show the UTF-8 text the program writes (Windows consoles take their
// own code page otherwise).
void use_utf8_console();

bool is_terminal(std::FILE* stream);

}  // namespace quarnel
