// quarnel-cli info, run as a user would on streams written by the test writers.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/external_programs.h"
#include "support/sample_stream.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using namespace test;

class InfoCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(QUARNEL_CLI_PATH).empty()) GTEST_SKIP() << cli_skip_reason;
        VideoEsWriter es;
        es.sequence(mpeg2_sequence(720, 480)).gop({.closed_gop = true}).pictures("IBBPBBPBB");
        es.sequence_end();
        clip = dir.write("clip.m2v", es.data());
    }

    CommandResult info(const std::string& arguments) {
        return run_with_output(shell_quoted(QUARNEL_CLI_PATH) + " info " + arguments +
                               " 2>/dev/null");
    }

    TempDir dir;
    std::string clip;
};

TEST_F(InfoCommand, JsonReportsTheVideoOfAnElementaryStream) {
    const CommandResult result = info("--json " + shell_quoted(clip));
    ASSERT_EQ(result.status, 0);
    const auto j = nlohmann::json::parse(result.output);
    EXPECT_EQ(j["path"], clip);
    EXPECT_EQ(j["size"], std::filesystem::file_size(clip));
    EXPECT_TRUE(j["audio"].is_null());
    const auto& v = j["video"];
    EXPECT_EQ(v["container"], "es");
    EXPECT_EQ(v["index"], "timecode");  // one GOP up to the end of the stream
    EXPECT_EQ(v["frames"], 9);
    EXPECT_EQ(v["rate"], 30000);
    EXPECT_EQ(v["scale"], 1001);
    EXPECT_EQ(v["width"], 720);
    EXPECT_EQ(v["height"], 480);
    EXPECT_EQ(v["horizontal_size"], 720);
    EXPECT_EQ(v["vertical_size"], 480);
    EXPECT_EQ(v["mpeg"], 2);
    EXPECT_EQ(v["aspect_ratio_information"], 2);
    EXPECT_EQ(v["frame_rate_code"], 4);
    EXPECT_EQ(v["bit_rate"], 15000);
    EXPECT_EQ(v["vbv_delay"], 0xFFFF);
    EXPECT_EQ(v.size(), 14u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST_F(InfoCommand, OneLinePerFileWithErrorsForWhatCannotBeAnalysed) {
    const std::string sample = dir.write("sample.mpg", sample_program_stream());
    const std::string text = dir.write("notes.txt", "text");
    const CommandResult result = info("--json " + shell_quoted(sample) + " " + shell_quoted(text) +
                                      " " + shell_quoted(dir.file("gone")));
    EXPECT_EQ(result.status, 1);
    std::istringstream lines(result.output);
    std::string line;
    std::vector<nlohmann::json> objects;
    while (std::getline(lines, line)) objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0]["video"]["container"], "ps");
    EXPECT_EQ(objects[0]["audio"]["samples"], sample_audio_frames * 1152);
    EXPECT_EQ(objects[0]["audio"]["rate"], 48000);
    EXPECT_EQ(objects[0]["audio"]["channels"], 2);
    EXPECT_EQ(objects[0]["audio"]["bit_rate"], 224000);
    EXPECT_TRUE(objects[1].contains("error"));
    EXPECT_FALSE(objects[1].contains("video"));
    EXPECT_EQ(objects[2]["path"], dir.file("gone"));
    EXPECT_TRUE(objects[2].contains("error"));
}

// A named pipe would block the open; `timeout` turns that into a failure.
TEST_F(InfoCommand, EachFailureNamesItsCause) {
    const std::string pipe = dir.file("pipe.mpg");
    ASSERT_EQ(std::system(("mkfifo " + shell_quoted(pipe)).c_str()), 0);
    const std::string text = dir.write("notes.mpg", "no MPEG here");
    const std::string foreign = dir.write("notes.txt", "text");
    const std::string files =
        shell_quoted(pipe) + " " + shell_quoted(text) + " " + shell_quoted(foreign);
    const std::string cli = "timeout 20 " + shell_quoted(QUARNEL_CLI_PATH) + " info ";

    const CommandResult json = run_with_output(cli + "--json " + files + " 2>/dev/null");
    EXPECT_EQ(json.status, 1);
    std::istringstream lines(json.output);
    std::vector<std::string> errors;
    for (std::string line; std::getline(lines, line);)
        errors.push_back(nlohmann::json::parse(line)["error"]);
    EXPECT_EQ(errors,
              (std::vector<std::string>{"not_regular_file", "no_sequence_header,no_layer2_audio",
                                        "not_video_extension,no_layer2_audio"}));

    const CommandResult words = run_with_output(cli + "--setting limit=4096 " + files + " 2>&1");
    EXPECT_NE(words.output.find("pipe.mpg: not a regular file\n"), std::string::npos)
        << words.output;
    EXPECT_NE(words.output.find("notes.mpg: no sequence header in the first 4096 bytes (setting "
                                "limit); no Layer II audio\n"),
              std::string::npos);
    EXPECT_NE(words.output.find("notes.txt: extension not among the video extensions (.mpeg, "),
              std::string::npos);
}

TEST_F(InfoCommand, SettingsGivenOnTheCommandLineApplyToThisRun) {
    const CommandResult result =
        info("--json --setting field_order=2 --setting 'gl = 2' " + shell_quoted(clip));
    ASSERT_EQ(result.status, 0);
    const auto v = nlohmann::json::parse(result.output)["video"];
    EXPECT_EQ(v["frames"], 8);  // bottom field first on a top-field-first stream
    EXPECT_EQ(v["index"], "goplist");
    EXPECT_TRUE(std::filesystem::exists(dir.file("clip.gl")));

    EXPECT_EQ(info("--setting field_order " + shell_quoted(clip)).status, 2);
}

TEST_F(InfoCommand, TextNamesEachFieldWithItsMeaning) {
    const CommandResult result = info(shell_quoted(clip));
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.output.find("video.frames                    9\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("30000 (29.970 frames/s)\n"), std::string::npos);
    EXPECT_NE(result.output.find("15000 (6000000 bit/s)\n"), std::string::npos);
    EXPECT_NE(result.output.find("audio                           none\n"), std::string::npos);
}

}  // namespace
}  // namespace quarnel
