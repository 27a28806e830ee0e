#pragma once
// The stream source interface: the narrow surface through which the header logic reaches the
// analyser. Open a file, ask which streams it has, ask for one stream's information, close.
// Every query reads values the sources computed at open; none does I/O.

#include <memory>
#include <string>

#include "base/open_failure.h"
#include "base/progress.h"
#include "source/stream_source_records.h"

namespace quarnel {

class AudioSource;
class SettingsStore;
class VideoSource;

// What an open needs besides the path: the decoder settings, and the display (with its
// cancel request) of a GOP list scan, none when the factory is empty.
struct OpenContext {
    const SettingsStore& settings;
    ProgressFactory progress = {};
};

// The video and the audio source opened on one file; at least one of them is there.
class StreamSource {
  public:
    StreamSource(std::unique_ptr<VideoSource> video, std::unique_ptr<AudioSource> audio);
    ~StreamSource();
    StreamSource(const StreamSource&) = delete;
    StreamSource& operator=(const StreamSource&) = delete;

    const VideoSource* video() const { return video_.get(); }
    const AudioSource* audio() const { return audio_.get(); }

  private:
    std::unique_ptr<VideoSource> video_;
    std::unique_ptr<AudioSource> audio_;
};

// Why OpenFile found neither stream: the same reason in both when the file itself is refused
// (missing, unreadable, not a regular file), else each source's own.
struct OpenFailures {
    OpenFailure video = OpenFailure::none;
    OpenFailure audio = OpenFailure::none;

    bool operator==(const OpenFailures&) const = default;
};

// Opens a video source and then, whatever became of it, an audio source on `path`. S_OK and
// the handle when either opened; E_FAIL and no handle when neither did, and then `failures`,
// when given, says why. Anything but a regular file is refused before either source opens it,
// so a named pipe or a device cannot stall the open.
SourceResult OpenFile(const std::string& path, const OpenContext& context,
                      std::unique_ptr<StreamSource>& handle, OpenFailures* failures = nullptr);

// Releases both sources with everything they hold. Always S_OK.
SourceResult CloseFile(std::unique_ptr<StreamSource> handle);

// Which streams the file has. E_FAIL, the record untouched, when it is missing or its size
// field is not 8.
SourceResult GetFileInfo(const StreamSource& handle, VF_FileInfo* info);

// The information of stream 1 (video) or 2 (audio). E_FAIL for any other stream number, a
// stream the file lacks, a missing record or a size field other than 32; a refused record is
// not changed.
SourceResult GetStreamInfo(const StreamSource& handle, int stream, VF_StreamInfo_Video* info);
SourceResult GetStreamInfo(const StreamSource& handle, int stream, VF_StreamInfo_Audio* info);

}  // namespace quarnel
