#include "cli/global_options.h"

namespace quarnel::cli {

void add_global_options(CLI::App& app, GlobalOptions& options) {
    const CLI::Validator assignment(
        [](std::string& text) {
            return parse_setting_assignment(text) ? std::string()
                                                  : "expected NAME=VALUE, got " + text;
        },
        "");
    app.add_option("--setting", options.settings,
                   "Override a decoder setting for this run (decimal or 0x hexadecimal value); "
                   "may be repeated")
        ->allow_extra_args(false)  // one NAME=VALUE per --setting; what follows is a FILE
        ->check(assignment)
        ->type_name("NAME=VALUE");
}

RunSettings::RunSettings(const GlobalOptions& options)
    : base_(platform_settings_store()), overrides_(*base_) {
    for (const std::string& text : options.settings)
        if (const auto assignment = parse_setting_assignment(text))
            overrides_.set(assignment->name, assignment->value);
}

}  // namespace quarnel::cli
