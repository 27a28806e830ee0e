// quarnel-cli info, run as a user would on streams written by the test writer.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "support/external_programs.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"

namespace quarnel {
namespace {

using namespace test;

class InfoCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(QUARNEL_CLI_PATH).empty()) GTEST_SKIP() << "quarnel-cli is not built";
        VideoEsWriter es;
        es.sequence(mpeg2_sequence(720, 480)).gop({.closed_gop = true}).pictures("IBBPBBPBB");
        es.sequence_end();
        clip = dir.write("clip.m2v", es.data());
    }

    CommandResult info(const std::string& arguments, const std::string& global_options = "") {
        return run_with_output(shell_quoted(QUARNEL_CLI_PATH) + " " + global_options + " info " +
                               arguments + " 2>/dev/null");
    }

    TempDir dir;
    std::string clip;
};

TEST_F(InfoCommand, JsonReportsTheStreamInformationAndTheFirstHeaders) {
    const CommandResult result = info("--json " + shell_quoted(clip));
    ASSERT_EQ(result.status, 0);
    const auto j = nlohmann::json::parse(result.output);
    EXPECT_EQ(j["container"], "es");
    EXPECT_EQ(j["frameIndex"], "timecode");  // one GOP up to the end of the stream
    EXPECT_EQ(j["frameCount"], 9);
    EXPECT_EQ(j["rate"], 30000);
    EXPECT_EQ(j["scale"], 1001);
    EXPECT_EQ(j["width"], 720);
    EXPECT_EQ(j["height"], 480);
    EXPECT_EQ(j["mpeg"], 2);
    EXPECT_EQ(j["aspectRatioInformation"], 2);
    EXPECT_EQ(j["firstPictureType"], "I");
    EXPECT_EQ(j["vbvDelay"], 0xFFFF);
    EXPECT_FALSE(std::filesystem::exists(dir.file("clip.gl")));
}

TEST_F(InfoCommand, SettingsGivenOnTheCommandLineApplyToThisRun) {
    const CommandResult result =
        info("--json " + shell_quoted(clip), "--setting field_order=2 --setting 'gl = 2'");
    ASSERT_EQ(result.status, 0);
    const auto j = nlohmann::json::parse(result.output);
    EXPECT_EQ(j["frameCount"], 8);  // bottom field first on a top-field-first stream
    EXPECT_EQ(j["chosenFieldOrder"], 0);
    EXPECT_EQ(j["frameIndex"], "goplist");
    EXPECT_TRUE(std::filesystem::exists(dir.file("clip.gl")));

    EXPECT_EQ(info(shell_quoted(clip), "--setting field_order").status, 2);  // usage error
}

TEST_F(InfoCommand, TextNamesEachFieldWithItsMeaning) {
    const CommandResult result = info(shell_quoted(clip));
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.output.find("frameCount              9\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("rate                    30000 (29.970 frames/s)\n"),
              std::string::npos);
    EXPECT_NE(result.output.find("(top field first)"), std::string::npos);
}

TEST_F(InfoCommand, FailsForFilesWithoutVideo) {
    EXPECT_EQ(info(shell_quoted(dir.write("notes.txt", "text"))).status, 1);
    EXPECT_EQ(info(shell_quoted(dir.write("empty.mpg", ""))).status, 1);
    EXPECT_EQ(info(shell_quoted(dir.file("missing.mpg"))).status, 1);
}

}  // namespace
}  // namespace quarnel
