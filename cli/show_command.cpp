#include <nlohmann/json.hpp>

#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "mtv/byte_size_text.h"
#include "mtv/header_lists.h"
#include "mtv/mtv_header.h"

namespace quarnel::cli {
namespace {

struct ShowOptions {
    std::string path;
    bool json = false;
};

// The header's fields in record order, under the names the JSON output uses.
nlohmann::ordered_json header_fields(const MtvHeader& h) {
    nlohmann::ordered_json j;
    j["fileName"] = h.GetFileName();
    j["fileSize"] = h.GetFileSize();
    j["createYear"] = h.GetCreateYear();
    j["createMonth"] = h.GetCreateMonth();
    j["createDay"] = h.GetCreateDay();
    j["createHour"] = h.GetCreateHour();
    j["createMinute"] = h.GetCreateMinute();
    j["createSecond"] = h.GetCreateSecond();
    j["videoSystem"] = h.GetVideoSystem();
    j["aspectIndex"] = h.GetAspectIndex();
    j["resolutionIndex"] = h.GetResolutionIndex();
    j["rateControl"] = h.GetRateControl();
    j["videoBitRate"] = h.GetVideoBitRate();
    j["audioCoding"] = h.GetAudioCoding();
    j["audioBitRateIndex"] = h.GetAudioBitRateIndex();
    j["samplingIndex"] = h.GetSamplingIndex();
    return j;
}

std::string with_unit(std::string_view text, std::string_view unit) {
    return text.empty() ? std::string() : std::string(text).append(unit);
}

// What the coded fields stand for; a value outside its list has no meaning to show.
std::map<std::string, std::string> field_meanings(const MtvHeader& h) {
    std::map<std::string, std::string> meanings;
    meanings["fileSize"] = byte_size_text(h.GetFileSize());
    meanings["videoSystem"] = label_at(video_system_labels, h.GetVideoSystem());
    meanings["aspectIndex"] = label_at(aspect_labels, h.GetAspectIndex());
    const auto resolutions = ResolutionList(h.GetVideoSystem());
    if (h.GetResolutionIndex() < resolutions.size())
        meanings["resolutionIndex"] = resolution_text(resolutions[h.GetResolutionIndex()]);
    meanings["rateControl"] = label_at(rate_control_labels, h.GetRateControl());
    meanings["videoBitRate"] = "bit/s";
    if (h.GetAudioCoding() == 0) meanings["audioCoding"] = "AC-3";
    if (h.GetAudioCoding() == 2) meanings["audioCoding"] = "not AC-3";
    const std::string_view audio_rate = label_at(AudioBitRateList, h.GetAudioBitRateIndex());
    meanings["audioBitRateIndex"] =
        audio_rate == "unknown" ? std::string(audio_rate) : with_unit(audio_rate, " kbit/s");
    meanings["samplingIndex"] =
        with_unit(label_at(SamplingFrequencyList, h.GetSamplingIndex()), " Hz");
    return meanings;
}

void print_text(const MtvHeader& h) {
    const auto fields = header_fields(h);
    const auto meanings = field_meanings(h);
    for (const auto& [name, value] : fields.items()) {
        std::cout << std::left << std::setw(20) << name;
        // The name is printed as its bytes are; JSON would escape it.
        std::cout << (value.is_string() ? value.get<std::string>() : value.dump());
        const auto meaning = meanings.find(name);
        if (meaning != meanings.end() && !meaning->second.empty())
            std::cout << " (" << meaning->second << ')';
        std::cout << '\n';
    }
}

void print_json(const MtvHeader& h) {
    // A name in a code page other than UTF-8 must not stop the output: such bytes become
    // U+FFFD.
    std::cout << header_fields(h).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
              << '\n';
}

void run_show(const ShowOptions& options) {
    const HeaderLoad load = load_mtv_header(options.path);
    switch (load.status) {
        case HeaderLoadStatus::ok:
            break;
        case HeaderLoadStatus::cannot_open:
            fail("cannot read " + options.path);
        case HeaderLoadStatus::wrong_size:
            fail(options.path + " is not an MTV header: it is not exactly " +
                 std::to_string(MtvHeader::size) + " bytes long");
        case HeaderLoadStatus::no_magic:
            fail(options.path + " is not an MTV header: it does not begin with F0 F0 F0 F0");
    }
    if (options.json)
        print_json(*load.header);
    else
        print_text(*load.header);
}

}  // namespace

void add_show_command(CLI::App& app) {
    auto options = std::make_shared<ShowOptions>();
    auto* command = app.add_subcommand("show", "Print the fields of an existing header");
    command->add_option("file", options->path, "The .mtv file to read")->required();
    command->add_flag("--json", options->json, "Print one JSON object named by field");
    command->callback([options] { run_show(*options); });
}

}  // namespace quarnel::cli
