#include <nlohmann/json.hpp>

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "video/settings.h"
#include "video/video_source.h"

namespace quarnel::cli {
namespace {

struct InfoOptions {
    std::string path;
    bool json = false;
};

std::string picture_type_name(std::int32_t type) {
    static constexpr const char* names[] = {"", "I", "P", "B", "D"};
    return type >= 1 && type <= 4 ? names[type] : std::to_string(type);
}

// What the video source found, in the order the text output shows it.
nlohmann::ordered_json video_fields(const VideoSource& source) {
    const VideoStreamInfo& info = source.stream_info();
    const SequenceInfo& s = source.first_sequence();
    const PictureInfo& p = source.first_picture();
    nlohmann::ordered_json j;
    j["container"] = container_layer_name(source.container_layer());
    j["frameIndex"] = frame_index_name(source.index_kind());
    j["frameCount"] = info.frame_count;
    j["rate"] = info.rate;
    j["scale"] = info.scale;
    j["width"] = info.width;
    j["height"] = info.height;
    j["mpeg"] = s.sequence_extension_present != 0 ? 2 : 1;
    j["horizontalSize"] = s.horizontal_size;
    j["verticalSize"] = s.vertical_size;
    j["aspectRatioInformation"] = s.aspect_ratio_information;
    j["frameRateCode"] = s.frame_rate_code;
    j["bitRate"] = s.bit_rate;
    j["progressiveSequence"] = source.progressive_sequence() ? 1 : 0;
    j["chromaFormat"] = source.decoder_context().chroma_format;
    j["firstPictureType"] = picture_type_name(p.picture_coding_type);
    j["vbvDelay"] = p.vbv_delay;
    j["streamFieldOrder"] = source.stream_field_order();
    j["chosenFieldOrder"] = source.chosen_field_order();
    j["colourMatrix"] = source.colour_matrix();
    return j;
}

std::string field_order_text(std::int32_t top_field_first) {
    return top_field_first != 0 ? "top field first" : "bottom field first";
}

std::map<std::string, std::string> field_meanings(const VideoSource& source) {
    const VideoStreamInfo& info = source.stream_info();
    const SequenceInfo& s = source.first_sequence();
    std::map<std::string, std::string> meanings;
    if (info.scale > 0) {
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.3f frames/s",
                      static_cast<double>(info.rate) / info.scale);
        meanings["rate"] = rate;
    }
    meanings["bitRate"] = std::to_string(std::int64_t{s.bit_rate} * 400) + " bit/s";
    static const std::map<int, std::string> chroma{{1, "4:2:0"}, {2, "4:2:2"}, {3, "4:4:4"}};
    if (const auto c = chroma.find(source.decoder_context().chroma_format); c != chroma.end())
        meanings["chromaFormat"] = c->second;
    if (source.first_picture().vbv_delay == 0xFFFF) meanings["vbvDelay"] = "variable bit rate";
    if (!source.progressive_sequence()) {
        meanings["streamFieldOrder"] = field_order_text(source.stream_field_order());
        meanings["chosenFieldOrder"] = field_order_text(source.chosen_field_order());
    }
    return meanings;
}

void print_text(const VideoSource& source) {
    const auto fields = video_fields(source);
    const auto meanings = field_meanings(source);
    for (const auto& [name, value] : fields.items()) {
        std::cout << std::left << std::setw(24) << name
                  << (value.is_string() ? value.get<std::string>() : value.dump());
        const auto meaning = meanings.find(name);
        if (meaning != meanings.end()) std::cout << " (" << meaning->second << ')';
        std::cout << '\n';
    }
}

void run_info(const InfoOptions& options, const GlobalOptions& globals) {
    const RunSettings settings(globals);
    if (!has_video_extension(options.path))
        fail(options.path + " does not have the extension of an MPEG video file");
    const auto source =
        video_source_open(options.path, settings.store(), terminal_progress_factory(options.path));
    if (!source) fail("found no MPEG video that could be counted in " + options.path);
    if (options.json)
        std::cout << video_fields(*source).dump(2) << '\n';
    else
        print_text(*source);
}

}  // namespace

void add_info_command(CLI::App& app, const GlobalOptions& globals) {
    auto options = std::make_shared<InfoOptions>();
    auto* command = app.add_subcommand("info", "Print what the analyser finds in an MPEG file");
    command->add_option("file", options->path, "The MPEG file to read")->required();
    command->add_flag("--json", options->json, "Print one JSON object named by field");
    command->callback([options, &globals] { run_info(*options, globals); });
}

}  // namespace quarnel::cli
