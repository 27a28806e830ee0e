#include <filesystem>
#include <memory>
#include <string>

#include "base/utf8_path.h"
#include "cli/commands.h"
#include "mtv/mtv_header.h"

namespace quarnel::cli {
namespace {

struct NewOptions {
    std::string path;
    bool force = false;
};

void run_new(const NewOptions& options) {
    std::error_code error;
    if (!options.force && std::filesystem::exists(path_from_utf8(options.path), error))
        fail(options.path + " exists; use --force to replace it");
    if (!MtvHeader().WriteTo(options.path)) fail("cannot write " + options.path);
}

}  // namespace

void add_new_command(CLI::App& app) {
    auto options = std::make_shared<NewOptions>();
    auto* command = app.add_subcommand("new", "Write a header with the default values");
    command->add_option("file", options->path, "The .mtv file to write")->required();
    command->add_flag("-f,--force", options->force, "Replace the file if it exists");
    command->callback([options] { run_new(*options); });
}

}  // namespace quarnel::cli
