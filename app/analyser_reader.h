#pragma once
// The analyser's read of one file into the dialog's header, as both front ends bind it.

#include <string>

#include "base/progress.h"
#include "mtv/mtv_header.h"

namespace quarnel {

// FillFromFile with the decoder settings of the platform, read afresh for every file. The
// header keeps the file's name as the system's narrow file interfaces name it (the ANSI code
// page on Windows, where the reading software expects it); a name without a form there fails
// the read.
bool read_with_analyser(MtvHeader& header, const std::string& path, bool video_auto,
                        bool audio_auto, const ProgressFactory& progress);

}  // namespace quarnel
