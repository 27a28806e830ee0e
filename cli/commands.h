#pragma once
// The sub-commands of quarnel-cli. Each one lives in its own file and registers itself on the
// application; a failing command reports on stderr and ends with fail().

#include <CLI/CLI.hpp>

#include <string_view>

#include "cli/global_options.h"

namespace quarnel::cli {

// quarnel-cli show [--json] FILE.mtv
void add_show_command(CLI::App& app);

// quarnel-cli new [--force] FILE.mtv
void add_new_command(CLI::App& app);

// quarnel-cli info [--json] FILE...
void add_info_command(CLI::App& app, const GlobalOptions& globals);

// quarnel-cli convert [OPTIONS] FILE...
void add_convert_command(CLI::App& app, const GlobalOptions& globals);

// Prints "quarnel-cli: <message>" on stderr and makes the program exit with status 1.
[[noreturn]] void fail(std::string_view message);

}  // namespace quarnel::cli
