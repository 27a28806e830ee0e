#pragma once
// Options of quarnel-cli that apply to every sub-command, and the decoder settings they make.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "base/settings.h"

namespace quarnel::cli {

struct GlobalOptions {
    std::vector<std::string> settings;  // NAME=VALUE, checked at parse time
};

// Registers --setting on `app`, to be given before or after the sub-command.
void add_global_options(CLI::App& app, GlobalOptions& options);

// The decoder settings of this run: the platform's store with the --setting values over it.
class RunSettings {
  public:
    explicit RunSettings(const GlobalOptions& options);
    const SettingsStore& store() const { return overrides_; }

  private:
    std::unique_ptr<SettingsStore> base_;
    OverriddenSettings overrides_;
};

}  // namespace quarnel::cli
