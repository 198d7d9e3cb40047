#include <gtest/gtest.h>

#include "common/html_colour.h"
#include "common/number_text.h"
#include "common/text_file.h"
#include "support/temp_folder.h"

TEST(HtmlColour, TwoUpperCaseHexDigitsPerChannel) {
    EXPECT_EQ(HtmlColour(255, 255, 255), "#FFFFFF");
    EXPECT_EQ(HtmlColour(0, 128, 10), "#00800A");
    EXPECT_EQ(HtmlColour(226, 226, 226), "#E2E2E2");
}

TEST(NumberText, FollowsTheLeadingNumberRule) {
    EXPECT_EQ(LeadingInt("42"), 42);
    EXPECT_EQ(LeadingInt("  -7px"), -7);
    EXPECT_EQ(LeadingInt("px7"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("99999999999999999999999"), -1);  // clamps, then wraps like the C library
    EXPECT_DOUBLE_EQ(LeadingReal("2.5e1x"), 25.0);
    EXPECT_DOUBLE_EQ(LeadingReal("x"), 0.0);
}

TEST(TextFile, WritesBytesAsTheyAreAndReadsLinesOfEitherEnding) {
    TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder / "a.txt", "one\ntwo\r\nthree"));
    EXPECT_EQ(ReadFile(folder / "a.txt"), "one\ntwo\r\nthree");
    const auto lines = ReadTextLines(folder / "a.txt");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_FALSE(ReadTextLines(folder / "missing.txt").has_value());
    EXPECT_FALSE(WriteTextFile(folder / "no/such/folder.txt", "x"));
}
