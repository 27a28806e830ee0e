// Runs the built quarnel-cli as a user would and checks what it prints and returns.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "mtv/mtv_header.h"
#include "mtv/temp_dir.h"
#include "support/external_programs.h"

namespace quarnel {
namespace {

using testing::read_all;
using testing::TempDir;
using testing::write_all;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::string(QUARNEL_CLI_PATH).empty()) GTEST_SKIP() << test::cli_skip_reason;
    }

    // `args` are passed through the shell as written.
    CliResult run(const std::string& args) {
        const std::string err_path = dir.file("stderr.txt");
        const std::string command =
            quoted(QUARNEL_CLI_PATH) + " " + args + " 2>" + quoted(err_path);
        const test::CommandResult ran = test::run_with_output(command);
        CliResult r{ran.status, ran.output, {}};
        std::ifstream err(err_path);
        r.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return r;
    }

    TempDir dir;
};

TEST_F(Cli, NewWritesTheDefaultHeaderAndShowJsonReportsItsFields) {
    const std::string path = dir.file("fresh.mtv");
    ASSERT_EQ(run("new " + quoted(path)).status, 0);
    const MtvHeader fresh;
    EXPECT_EQ(read_all(path),
              std::vector<std::uint8_t>(fresh.bytes().begin(), fresh.bytes().end()));

    const CliResult show = run("show --json " + quoted(path));
    ASSERT_EQ(show.status, 0) << show.err;
    const auto json = nlohmann::json::parse(show.out);
    EXPECT_EQ(json["createYear"], 2002);
    EXPECT_EQ(json["videoBitRate"], 6500000);
    EXPECT_EQ(json["audioBitRateIndex"], 8);
    EXPECT_EQ(json["fileName"], "");
    for (const char* key : {"fileSize", "createMonth", "createDay", "createHour", "createMinute",
                            "createSecond", "videoSystem", "aspectIndex", "resolutionIndex",
                            "rateControl", "audioCoding", "samplingIndex"})
        EXPECT_TRUE(json.contains(key)) << key;
    EXPECT_EQ(json.size(), 16u);
}

TEST_F(Cli, ShowPrintsValuesWithTheirMeaning) {
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("clip.m2p"));
    h.SetVideoSystem(1);
    h.SetResolutionIndex(3);
    h.SetAudioCoding(0);
    h.SetFileSize(5'000'000'000);
    ASSERT_TRUE(h.WriteTo(dir.file("clip.mtv")));

    const CliResult show = run("show " + quoted(dir.file("clip.mtv")));
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("clip.m2p"), std::string::npos);
    EXPECT_NE(show.out.find("5000000000 (4.66 GB)"), std::string::npos);
    EXPECT_NE(show.out.find("1 (PAL)"), std::string::npos);
    EXPECT_NE(show.out.find("3 (352x288)"), std::string::npos);
    EXPECT_NE(show.out.find("0 (AC-3)"), std::string::npos);
}

TEST_F(Cli, ShowJsonSurvivesANameThatIsNotUtf8) {
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("\x83\x65\x83\x58.mpg"));  // code page 932 bytes
    ASSERT_TRUE(h.WriteTo(dir.file("sjis.mtv")));
    const CliResult show = run("show --json " + quoted(dir.file("sjis.mtv")));
    ASSERT_EQ(show.status, 0) << show.err;
    const auto name = nlohmann::json::parse(show.out)["fileName"].get<std::string>();
    EXPECT_NE(name.find(".mpg"), std::string::npos);
}

TEST_F(Cli, ShowRefusesFilesThatAreNotAHeader) {
    const MtvHeader fresh;
    std::vector<std::uint8_t> record(fresh.bytes().begin(), fresh.bytes().end());
    write_all(dir.file("short.mtv"), {record.begin(), record.end() - 1});
    record[0] = 0;
    write_all(dir.file("nomagic.mtv"), record);

    for (const char* name : {"short.mtv", "nomagic.mtv", "absent.mtv"}) {
        for (const char* json : {"", "--json "}) {
            const CliResult show = run(std::string("show ") + json + quoted(dir.file(name)));
            EXPECT_EQ(show.status, 1) << name;
            EXPECT_TRUE(show.out.empty()) << name;
            EXPECT_NE(show.err.find(name), std::string::npos) << show.err;
        }
    }
    EXPECT_NE(run("show " + quoted(dir.file("short.mtv"))).err.find("568 bytes"),
              std::string::npos);
    EXPECT_NE(run("show " + quoted(dir.file("nomagic.mtv"))).err.find("F0 F0 F0 F0"),
              std::string::npos);
}

TEST_F(Cli, NewReplacesAnExistingFileOnlyWhenForced) {
    const std::string path = dir.file("taken.mtv");
    write_all(path, {1, 2, 3});
    const CliResult refused = run("new " + quoted(path));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(read_all(path).size(), 3u);

    EXPECT_EQ(run("new --force " + quoted(path)).status, 0);
    EXPECT_EQ(read_all(path).size(), MtvHeader::size);
}

TEST_F(Cli, NewReportsAFileThatCannotBeWritten) {
    const CliResult full = run("new --force /dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("cannot write"), std::string::npos);
    EXPECT_EQ(run("new " + quoted(dir.file("no/such/dir.mtv"))).status, 1);
}

TEST_F(Cli, EverySubCommandHasHelpAndOneIsRequired) {
    for (const char* command : {"", "show ", "new "}) {
        const CliResult help = run(std::string(command) + "--help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Usage:"), std::string::npos) << command;
    }
    EXPECT_NE(run("").status, 0);
    EXPECT_NE(run("show").status, 0);
}

}  // namespace
}  // namespace quarnel
