#include <iostream>

#include "cli/commands.h"

namespace quarnel::cli {

void fail(std::string_view message) {
    std::cerr << "quarnel-cli: " << message << '\n';
    throw CLI::RuntimeError(1);  // CLI11 turns it into the exit status without a message
}

}  // namespace quarnel::cli

int main(int argc, char** argv) {
    CLI::App app{"Writes and inspects MTV header files (.mtv).", "quarnel-cli"};
    app.require_subcommand(1);
    quarnel::cli::add_show_command(app);
    quarnel::cli::add_new_command(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
