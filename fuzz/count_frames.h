#pragma once
// Frame counting as a video open does it, with the checks the fuzz targets make on the way.

#include "video/video_bit_reader.h"

namespace quarnel::fuzz {

// Finds and parses the first sequence header, then builds the GOP list of the whole stream
// and the time code index, and looks frames up in both. A GOP list that is built must write
// a file that reads back into the same entries and writes the same bytes again.
void count_frames(VideoBitReader& reader);

}  // namespace quarnel::fuzz
