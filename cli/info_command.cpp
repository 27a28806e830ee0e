#include <nlohmann/json.hpp>

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_source.h"
#include "base/regular_file.h"
#include "base/utf8_path.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/open_failure_text.h"
#include "cli/terminal_progress.h"
#include "mtv/file_facts.h"
#include "source/stream_source.h"
#include "video/video_source.h"

namespace quarnel::cli {
namespace {

struct InfoOptions {
    std::vector<std::string> paths;
    bool json = false;
};

nlohmann::ordered_json video_fields(const VideoSource& source) {
    const VideoStreamInfo& info = source.stream_info();
    const SequenceInfo& s = source.first_sequence();
    nlohmann::ordered_json j;
    j["frames"] = info.frame_count;
    j["rate"] = info.rate;
    j["scale"] = info.scale;
    j["width"] = info.width;
    j["height"] = info.height;
    j["horizontal_size"] = s.horizontal_size;
    j["vertical_size"] = s.vertical_size;
    j["aspect_ratio_information"] = s.aspect_ratio_information;
    j["frame_rate_code"] = s.frame_rate_code;
    j["bit_rate"] = s.bit_rate;
    j["vbv_delay"] = source.first_picture().vbv_delay;
    j["mpeg"] = s.sequence_extension_present != 0 ? 2 : 1;
    j["container"] = container_layer_name(source.container_layer());
    j["index"] = frame_index_name(source.index_kind());
    return j;
}

nlohmann::ordered_json audio_fields(const AudioSource& source) {
    nlohmann::ordered_json j;
    j["samples"] = source.length_samples();
    j["rate"] = source.sampling_rate();
    j["channels"] = source.channels();
    j["bit_rate"] = source.bit_rate();
    return j;
}

// What the analyser found in one file, or why it found nothing: "error" a stable code,
// "message" the same in words.
nlohmann::ordered_json analyse(const std::string& path, const SettingsStore& settings) {
    nlohmann::ordered_json j;
    j["path"] = path;
    const auto fail = [&](const OpenFailures& failures) {
        j["error"] = open_failures_code(failures);
        j["message"] = open_failures_text(failures, settings);
        return j;
    };
    const auto file_failure = [&](OpenFailure failure) { return fail({failure, failure}); };
    // Looked at before anything opens it: a named pipe would block the open.
    if (const OpenFailure file = check_regular_file(path); file != OpenFailure::none)
        return file_failure(file);
    const auto facts = read_file_facts(path);
    if (!facts) return file_failure(OpenFailure::cannot_open);
    std::unique_ptr<StreamSource> source;
    const OpenContext context{
        settings, terminal_progress_factory(file_name_of(path))};
    OpenFailures failures;
    const bool opened = OpenFile(path, context, source, &failures) == S_OK;
    if (interrupted()) return file_failure(OpenFailure::cancelled);
    if (!opened) return fail(failures);
    j["size"] = facts->size;
    j["video"] = source->video() ? video_fields(*source->video()) : nlohmann::ordered_json();
    j["audio"] = source->audio() ? audio_fields(*source->audio()) : nlohmann::ordered_json();
    return j;
}

// What some values stand for, beside the number in the text output.
std::string meaning(const std::string& group, const std::string& name,
                    const nlohmann::ordered_json& fields) {
    if (group == "video" && name == "rate" && fields["scale"].get<int>() > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f frames/s",
                      fields["rate"].get<double>() / fields["scale"].get<double>());
        return text;
    }
    if (group == "video" && name == "bit_rate")
        return std::to_string(fields["bit_rate"].get<std::int64_t>() * 400) + " bit/s";
    if (group == "video" && name == "vbv_delay" && fields["vbv_delay"] == 0xFFFF)
        return "variable bit rate";
    if (group == "audio" && name == "bit_rate") return "bit/s";
    if (group == "audio" && name == "rate") return "Hz";
    return {};
}

void print_text(const nlohmann::ordered_json& j) {
    if (j.contains("error")) {
        std::cerr << "quarnel-cli: " << j["path"].get<std::string>() << ": "
                  << j["message"].get<std::string>() << '\n';
        return;
    }
    std::cout << j["path"].get<std::string>() << '\n';
    std::cout << "  " << std::left << std::setw(32) << "size" << j["size"] << '\n';
    for (const char* group : {"video", "audio"}) {
        const auto& fields = j[group];
        if (fields.is_null()) {
            std::cout << "  " << std::setw(32) << group << "none\n";
            continue;
        }
        for (const auto& [name, value] : fields.items()) {
            std::cout << "  " << std::setw(32) << (std::string(group) + '.' + name)
                      << (value.is_string() ? value.get<std::string>() : value.dump());
            if (const std::string m = meaning(group, name, fields); !m.empty())
                std::cout << " (" << m << ')';
            std::cout << '\n';
        }
    }
}

void run_info(const InfoOptions& options, const GlobalOptions& globals) {
    const RunSettings settings(globals);
    catch_interrupts();
    bool all_analysed = true;
    for (const std::string& path : options.paths) {
        if (interrupted()) break;
        const auto j = analyse(path, settings.store());
        if (j.contains("error")) all_analysed = false;
        if (options.json)
            std::cout << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        else
            print_text(j);
    }
    if (interrupted() || !all_analysed) throw CLI::RuntimeError(1);
}

}  // namespace

void add_info_command(CLI::App& app, const GlobalOptions& globals) {
    auto options = std::make_shared<InfoOptions>();
    auto* command = app.add_subcommand("info", "Print what the analyser finds in MPEG files");
    command->add_option("files", options->paths, "MPEG files to read")->required();
    command->add_flag("--json", options->json, "Print one JSON object per file and line");
    command->callback([options, &globals] { run_info(*options, globals); });
}

}  // namespace quarnel::cli
