#pragma once
// The reader the program binds into its dialog.

#include "app/header_reader.h"
#include "app/language.h"
#include "app/threaded_reader.h"

namespace quarnel {

// Reads MPEG files into the header on a worker thread of `ui`, showing the progress of long
// scans in `language`.
HeaderReader program_header_reader(Language language, UiThread& ui);

// The analyser's read of one file on the calling thread (FillFromFile with the decoder
// settings of the platform).
bool read_with_analyser(MtvHeader& header, const std::string& path, bool video_auto,
                        bool audio_auto, const ProgressFactory& progress);

}  // namespace quarnel
