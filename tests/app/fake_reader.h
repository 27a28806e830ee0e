#pragma once
// Stands in for the MPEG analyser: reads a file's size and name into the header and
// derives video values from a table instead of from the stream.

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/header_reader.h"

namespace quarnel {

class FakeReader {
  public:
    // What the "analyser" finds in a file when video auto-detection is on.
    std::map<std::string, std::function<void(MtvHeader&)>> video;
    // Files that exist but are not MPEG: the read fails after the file facts.
    std::set<std::string> not_mpeg;
    // Runs in the middle of every read, where the progress window would pump events;
    // false fails the read, as a cancelled scan does.
    std::function<bool()> during_read;

    std::vector<std::string> reads;  // every path asked for, in order

    HeaderReader reader() {
        return [this](MtvHeader& header, const std::string& path, bool video_auto, bool) {
            reads.push_back(path);
            std::error_code error;
            const auto size = std::filesystem::file_size(path, error);
            if (error) return false;
            header.SetFileSize(size);
            header.SetFileName(std::filesystem::path(path).filename().string());
            if (during_read && !during_read()) return false;
            if (not_mpeg.count(path)) return false;
            if (video_auto && video.count(path)) video.at(path)(header);
            return true;
        };
    }
};

}  // namespace quarnel
