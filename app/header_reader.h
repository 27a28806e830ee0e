#pragma once
// The step that reads an MPEG file into the dialog's header: the file's size, creation
// time and name, and, when asked, the video and audio values the analyser derives.

#include <functional>
#include <string>

#include "mtv/mtv_header.h"

namespace quarnel {

// Returns true when the file could be read and analysed. On false the header may already
// hold the new file's size, time and name.
using HeaderReader = std::function<bool(MtvHeader& header, const std::string& path, bool video_auto,
                                        bool audio_auto)>;

}  // namespace quarnel
