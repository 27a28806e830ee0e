#include "support/external_programs.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/command_pipe.h"

namespace quarnel::test {

bool run_command(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool have_program(const std::string& program) {
    return run_command("command -v " + program + " >/dev/null 2>&1");
}

CommandResult run_with_output(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = open_command_pipe(command);
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    result.status = close_command_pipe(pipe);
    return result;
}

std::string shell_quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ProbedVideo probe_video(const std::string& path) {
    ProbedVideo video;
    std::istringstream lines(
        run_with_output("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                        "stream=width,height,r_frame_rate,nb_read_frames:frame=top_field_first,"
                        "repeat_pict -of default=nw=1 " +
                        shell_quoted(path))
            .output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "r_frame_rate") video.frame_rate = value;
        const long number = std::strtol(value.c_str(), nullptr, 10);
        if (key == "width") video.width = static_cast<int>(number);
        if (key == "height") video.height = static_cast<int>(number);
        if (key == "nb_read_frames") video.frames = number;
        if (key == "top_field_first") video.top_field_first.push_back(static_cast<int>(number));
        if (key == "repeat_pict") video.repeat_pict.push_back(static_cast<int>(number));
    }
    return video;
}

}  // namespace quarnel::test
