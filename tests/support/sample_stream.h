#pragma once
// The built-in sample: a short MPEG-2 program stream made with the test stream writers, for
// the README's demonstration and the end-to-end tests.

#include "support/ps_writer.h"

namespace quarnel::test {

// Four closed GOPs of twelve 720x576 pictures at 25 frames/s, 16:9, 6 Mbit/s variable rate
// (vbv_delay 0xFFFF), with time codes; 80 frames of 224 kbit/s 48 kHz Layer II stereo audio
// over the same 1.92 seconds. Each picture and each four audio frames are one stamped packet.
Bytes sample_program_stream();

inline constexpr int sample_frames = 48;
inline constexpr int sample_audio_frames = 80;

}  // namespace quarnel::test
