// The GOP list scan's progress bar on a terminal and its cancellation by Ctrl-C.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/terminal_progress.h"

namespace quarnel::cli {
namespace {

// What a TerminalProgress wrote, read back from a temporary file.
std::string written(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    return text;
}

TEST(ProgressBar, FillsInProportionAndHoldsOutOfRangePercentages) {
    EXPECT_EQ(progress_bar_line(0, 10, "x"), "[..........]   0% x");
    EXPECT_EQ(progress_bar_line(45, 10, "x"), "[####......]  45% x");
    EXPECT_EQ(progress_bar_line(100, 10, ""), "[##########] 100%");
    EXPECT_EQ(progress_bar_line(250, 4, ""), "[####] 100%");
    EXPECT_EQ(progress_bar_line(-3, 4, ""), "[....]   0%");
}

TEST(TerminalProgress, RedrawsOnlyWhenThePercentageChangesAndClearsItsLine) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    {
        TerminalProgress progress(f, true, "clip", {});
        EXPECT_TRUE(progress.progress_update(0));
        EXPECT_TRUE(progress.progress_update(0));
        EXPECT_TRUE(progress.progress_update(50));
        EXPECT_FALSE(progress.progress_cancelled());
    }
    const std::string text = written(f);
    EXPECT_EQ(text, "\r" + progress_bar_line(0, 30, "clip") + "\r" +
                        progress_bar_line(50, 30, "clip") + "\r\033[K");
    std::fclose(f);
}

TEST(TerminalProgress, DrawsNothingOffATerminalYetStillCancels) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    bool ctrl_c = false;
    {
        TerminalProgress progress(f, false, "clip", [&ctrl_c] { return ctrl_c; });
        EXPECT_TRUE(progress.progress_update(10));
        ctrl_c = true;
        EXPECT_FALSE(progress.progress_update(11));
        EXPECT_TRUE(progress.progress_cancelled());
        ctrl_c = false;  // a cancelled scan stays cancelled
        EXPECT_FALSE(progress.progress_update(12));
    }
    EXPECT_EQ(written(f), "");
    std::fclose(f);
}

}  // namespace
}  // namespace quarnel::cli
