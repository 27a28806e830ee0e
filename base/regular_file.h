#pragma once
// Inputs are regular files. Opening a named pipe for reading waits for a writer, and a device
// may never end, so a path is looked at before it is opened and anything else is refused.

#include <string>

#include "base/open_failure.h"
#include "base/stdio_file.h"

namespace quarnel {

// none for a regular file (links followed), not_regular_file for anything else that exists,
// cannot_open when nothing is there or it cannot be looked at. Does not open the file.
OpenFailure check_regular_file(const std::string& path);

// `path` opened for reading in binary mode; nullptr when it is not a regular file or cannot be
// opened.
StdioFile open_regular_file_for_reading(const std::string& path);

}  // namespace quarnel
