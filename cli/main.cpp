#include <iostream>
#include <string>
#include <vector>

#include "base/console.h"
#include "cli/commands.h"
#include "cli/global_options.h"
#include "quarnel_version.h"

namespace quarnel::cli {

void fail(std::string_view message) {
    std::cerr << "quarnel-cli: " << message << '\n';
    throw CLI::RuntimeError(1);  // CLI11 turns it into the exit status without a message
}

}  // namespace quarnel::cli

// Exit status: 0 success (and --help), 1 when a command failed, 2 for a usage error.
int main(int argc, char** argv) {
    CLI::App app{"Writes and inspects MTV header files (.mtv).", "quarnel-cli"};
    app.require_subcommand(1);
    app.fallthrough();  // global options may follow the sub-command
    app.set_version_flag("--version", "quarnel-cli " + std::string(quarnel::version));
    quarnel::cli::GlobalOptions globals;
    quarnel::cli::add_global_options(app, globals);
    quarnel::cli::add_show_command(app);
    quarnel::cli::add_new_command(app);
    quarnel::cli::add_info_command(app, globals);
    quarnel::cli::add_convert_command(app, globals);
    try {
        // Paths and names are UTF-8 inside the program, whatever the system's code page.
        std::vector<std::string> arguments = quarnel::utf8_arguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) pointers.push_back(argument.data());
        quarnel::use_utf8_console();
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::RuntimeError& e) {
        return e.get_exit_code();
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    return 0;
}
