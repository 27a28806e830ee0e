#pragma once
// Reads files into the dialog's header on a worker thread, so that a long scan neither
// freezes the windows nor waits for them.

#include <functional>
#include <string>

#include "app/header_reader.h"
#include "app/progress_link.h"
#include "app/ui_thread.h"

namespace quarnel {

// A read of one file on the calling thread, with the progress display its scans show.
using ScanningReader =
    std::function<bool(MtvHeader& header, const std::string& path, bool video_auto, bool audio_auto,
                       const ProgressFactory& progress)>;

// Runs `read` off the user-interface thread for every file, the progress of its scans shown
// in windows that `screens` makes. The user-interface thread serves its windows meanwhile;
// the header is the worker's until the read returns.
HeaderReader threaded_reader(UiThread& ui, ProgressScreenFactory screens, ScanningReader read);

}  // namespace quarnel
