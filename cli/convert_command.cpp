#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/regular_file.h"
#include "base/utf8_path.h"
#include "cli/commands.h"
#include "cli/header_options.h"
#include "cli/interrupt.h"
#include "cli/name_encoding.h"
#include "cli/open_failure_text.h"
#include "cli/terminal_progress.h"
#include "mtv/file_facts.h"
#include "mtv/fill_from_file.h"
#include "mtv/save_names.h"

namespace quarnel::cli {
namespace {

struct ConvertOptions {
    std::vector<std::string> paths;
    std::string output;
    bool video_auto = true;
    bool audio_auto = false;
    NameEncoding name_encoding = NameEncoding::as_is;
    HeaderOptions header;
};

// Writes the header of one file; on failure says why on stderr and returns false.
bool convert_one(const std::string& path, const ConvertOptions& options,
                 const SettingsStore& settings) {
    const auto report = [&path](std::string_view why) {
        std::cerr << "quarnel-cli: " << path << ": " << why << '\n';
        return false;
    };
    const auto file_failure = [&](OpenFailure failure) {
        return report(open_failure_text(failure, settings));
    };
    // Looked at before anything opens it: a named pipe would block the open.
    if (const OpenFailure file = check_regular_file(path); file != OpenFailure::none)
        return file_failure(file);
    if (!read_file_facts(path)) return file_failure(OpenFailure::cannot_open);

    // Each file starts from the dialog's start-up values, so no file inherits another's.
    MtvHeader header;
    const std::string name = file_name_of(path);
    const OpenContext context{settings, terminal_progress_factory(name)};
    OpenFailures failures;
    const bool filled =
        FillFromFile(header, path, options.video_auto, options.audio_auto, context, &failures);
    if (interrupted()) return file_failure(OpenFailure::cancelled);
    // FillFromFile refuses a name too long for the header before it opens anything.
    if (!filled && failures == OpenFailures{})
        return report("the file name is too long for a header");
    if (!filled) return report(open_failures_text(failures, settings));

    apply_header_options(header, options.header);
    const auto stored_name = encode_file_name(name, options.name_encoding);
    if (!stored_name)
        return report(options.name_encoding == NameEncoding::cp932
                          ? "the file name has no code page 932 form"
                          : "the file name has no form in the system's code page");
    if (!header.SetFileName(*stored_name)) return report("the file name is too long for a header");

    const std::string out = options.output.empty() ? batch_output_path(path) : options.output;
    if (!header.WriteTo(out)) return report("cannot write " + out);
    std::cout << out << '\n';
    return true;
}

void run_convert(const ConvertOptions& options, const GlobalOptions& globals) {
    if (!options.output.empty() && options.paths.size() != 1)
        throw CLI::ValidationError("-o,--output", "takes exactly one input FILE");
    const RunSettings settings(globals);
    catch_interrupts();
    bool all_written = true;
    for (const std::string& path : options.paths) {
        if (interrupted()) break;  // Ctrl-C between files stops the batch too
        all_written = convert_one(path, options, settings.store()) && all_written;
    }
    if (interrupted() || !all_written) throw CLI::RuntimeError(1);
}

// Turns an option's text into a value with `parse`; an unreadable text is a usage error.
template <typename Value, typename Parse>
CLI::Option* add_parsed_option(CLI::App& command, const std::string& name,
                               std::optional<Value>& target, Parse parse, const std::string& values,
                               const std::string& help) {
    return command
        .add_option_function<std::string>(
            name,
            [&target, parse, name](const std::string& text) {
                target = parse(text);
                if (!target) throw CLI::ValidationError(name, "cannot read " + text);
            },
            help)
        ->type_name(values);
}

}  // namespace

void add_convert_command(CLI::App& app, const GlobalOptions& globals) {
    auto options = std::make_shared<ConvertOptions>();
    HeaderOptions& h = options->header;
    auto* command = app.add_subcommand(
        "convert", "Write the header of each MPEG file beside it (title of the file, .mtv)");
    command->add_option("files", options->paths, "MPEG files to convert")->required();
    command->add_option("-o,--output", options->output,
                        "Write the header here instead (one input file only)");
    command->add_flag("--audio-auto,!--no-audio-auto", options->audio_auto,
                      "Derive audio bit rate and sampling frequency (off by default)");
    command->add_flag("--video-auto,!--no-video-auto", options->video_auto,
                      "Derive the video fields (on by default)");
    command->add_flag("--ac3", h.ac3, "Mark the audio as AC-3");
    add_parsed_option(*command, "--system", h.video_system, parse_video_system, "ntsc|pal",
                      "Video system");
    add_parsed_option(*command, "--resolution", h.resolution, parse_resolution, "WxH",
                      "Picture size, one of the video system's list (720x480, 352x288, ...)");
    add_parsed_option(*command, "--rate-control", h.rate_control, parse_rate_control, "cbr|vbr",
                      "Rate control");
    add_parsed_option(*command, "--bit-rate", h.video_bit_rate, parse_video_bit_rate, "BPS",
                      "Video bit rate in bit/s");
    add_parsed_option(*command, "--aspect", h.aspect, parse_aspect, "4:3|16:9", "Aspect ratio");
    add_parsed_option(*command, "--audio-bit-rate", h.audio_bit_rate_index, parse_audio_bit_rate,
                      "KBPS|unknown", "Audio bit rate in kbit/s (56 to 1536) or unknown");
    add_parsed_option(*command, "--sampling", h.sampling_index, parse_sampling, "48000|44100|32000",
                      "Sampling frequency in Hz");
    command
        ->add_option("--name-encoding", options->name_encoding,
                     "How the file name is stored: as-is (the bytes the file system gives) or "
                     "cp932 (for capture software on Japanese systems)")
        ->transform(CLI::CheckedTransformer(
            std::map<std::string, NameEncoding>{{"as-is", NameEncoding::as_is},
                                                {"cp932", NameEncoding::cp932}},
            CLI::ignore_case))
        ->type_name("as-is|cp932");
    command->callback([options, &globals] {
        if (options->header.resolution && !chosen_resolution(options->header))
            throw CLI::ValidationError("--resolution", "not a size of the chosen video system");
        run_convert(*options, globals);
    });
}

}  // namespace quarnel::cli
