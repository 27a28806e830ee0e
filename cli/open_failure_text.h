#pragma once
// How the command line says why a file could not be analysed.

#include <string>

#include "source/stream_source.h"

namespace quarnel {
class SettingsStore;
}

namespace quarnel::cli {

// A short English phrase, such as "not a regular file" or "no sequence header in the first
// 8388608 bytes (setting limit)". The settings give the numbers the phrases name.
std::string open_failure_text(OpenFailure failure, const SettingsStore& settings);

// Why neither stream opened: one reason when the file itself was refused or the scan was
// cancelled, else the video's and the audio's. As phrases joined by "; ", and as the stable
// codes of open_failure_code joined by ",".
std::string open_failures_text(const OpenFailures& failures, const SettingsStore& settings);
std::string open_failures_code(const OpenFailures& failures);

}  // namespace quarnel::cli
