#pragma once
// Runs programs as a user would: the Debian encoders (ffmpeg, mjpegtools' mpeg2enc) and
// ffprobe that make and measure real streams, and the project's own command line.

#include <map>
#include <string>
#include <vector>

namespace quarnel::test {

// True when the shell command exits with status 0.
bool run_command(const std::string& command);
// True when `program` is on the PATH.
bool have_program(const std::string& program);

struct CommandResult {
    int status = -1;     // exit status, -1 when the command did not exit normally
    std::string output;  // standard output
};
CommandResult run_with_output(const std::string& command);

// Why the tests that run quarnel-cli through a POSIX shell skip.
inline constexpr const char* cli_skip_reason =
    "quarnel-cli is not built, or is not run through a POSIX shell here (on Windows "
    "scripts/windows.sh runs it end to end)";

// `text` quoted for the shell.
std::string shell_quoted(const std::string& text);

// What ffprobe reports of the first video stream of a file.
struct ProbedVideo {
    int width = 0;
    int height = 0;
    std::string frame_rate;  // r_frame_rate, "num/den"
    long frames = 0;         // decoded pictures (nb_read_frames)
    // Per decoded picture, in output order.
    std::vector<int> top_field_first;
    std::vector<int> repeat_pict;
};

// Nothing useful (all zero) when ffprobe is missing or fails.
ProbedVideo probe_video(const std::string& path);

}  // namespace quarnel::test
