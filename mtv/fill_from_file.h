#pragma once
// Fills an MTV header from an MPEG file: its own facts (size, creation time, name) always,
// and the video and audio fields from what the analyser finds where the caller asks for them.

#include <string>

#include "mtv/mtv_header.h"
#include "source/stream_source.h"

namespace quarnel {

// Stores the file's size, creation time and name, then opens the file through the stream
// source interface and derives the video group when `video_auto` is set and the file has
// video, the audio group when `audio_auto` is set and it has audio. Fields not derived keep
// what the header held.
//
// False, with the header unchanged, when the file cannot be opened (or its name does not fit
// the header); false, with the file facts already stored, when the analyser finds neither a
// video nor an audio stream. True otherwise, even when a stream that was asked for is absent.
// On failure `failures`, when given, says why as OpenFile does; both none means the name did
// not fit.
bool FillFromFile(MtvHeader& header, const std::string& path, bool video_auto, bool audio_auto,
                  const OpenContext& context, OpenFailures* failures = nullptr);

}  // namespace quarnel
