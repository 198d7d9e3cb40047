#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "common/character_references.h"
#include "common/html_colour.h"
#include "common/markup_escaping.h"
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

TEST(TextFile, AWriteCutShortOrRefusedKeepsTheOldFile) {
    TempFolder folder;
    const std::string page = folder / "page.html";
    ASSERT_TRUE(WriteTextFile(page, "the old page"));
    // The file system takes no more than a few bytes: the write breaks off half-way.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit before = limit;
    limit.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = WriteTextFile(page, std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(page), "the old page");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    std::filesystem::permissions(page, std::filesystem::perms::owner_read);
    EXPECT_FALSE(WriteTextFile(page, "new"));
    EXPECT_EQ(ReadFile(page), "the old page");
}

TEST(TextFile, AFileKeepsItsModeAndALinkedFileIsWrittenWhereTheLinkPoints) {
    namespace fs = std::filesystem;
    TempFolder folder;
    const std::string page = folder / "private.html";
    ASSERT_TRUE(WriteTextFile(page, "old"));
    fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteTextFile(page, "new"));
    EXPECT_EQ(fs::status(page).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // The page is a link into another folder: the link stays, its target takes the text.
    fs::create_directories(folder / "real");
    WriteFile(folder / "real/page.html", "old target");
    fs::create_symlink("real/page.html", folder / "linked.html");
    for (const auto write : {&WriteTextFile, &WriteRemadeFile}) {
        ASSERT_TRUE(write(folder / "linked.html", "through the link"));
        EXPECT_TRUE(fs::is_symlink(folder / "linked.html"));
        EXPECT_EQ(ReadFile(folder / "real/page.html"), "through the link");
    }
}

TEST(MarkupEscaping, EachPlaceGetsWhatItNeedsAndOrdinaryTextStays) {
    const std::tuple<std::string, std::string, std::string, std::string, std::string> rows[] = {
        // typed, text content, attribute in ', CSS address, script string content
        {"paper.gif", "paper.gif", "paper.gif", "paper.gif", "paper.gif"},
        {"Tom & Jerry's <b>", "Tom &amp; Jerry's &lt;b>", "Tom &amp; Jerry&#39;s <b>",
         "\"Tom & Jerry's <b>\"", "Tom & Jerry\\'s \\x3Cb>"},
        {"my photo (1).jpg", "my photo (1).jpg", "my photo (1).jpg", "\"my photo (1).jpg\"",
         "my photo (1).jpg"},
        {"a\"b\\c", "a\"b\\c", "a\"b\\c", "\"a\\\"b\\\\c\"", "a\\\"b\\\\c"},
        {" ", " ", " ", " ", " "},
    };
    for (const auto& [typed, text, attribute, css, script] : rows) {
        EXPECT_EQ(HtmlText(typed), text) << typed;
        EXPECT_EQ(HtmlAttribute(typed, '\''), attribute) << typed;
        EXPECT_EQ(CssUrlArgument(typed), css) << typed;
        EXPECT_EQ(ScriptStringContent(typed), script) << typed;
    }
    EXPECT_EQ(HtmlAttribute("say \"hi\" & 'bye'", '"'), "say &quot;hi&quot; &amp; 'bye'");
    EXPECT_EQ(ScriptString("</script>"), "'\\x3C/script>'");
}

TEST(CharacterReferences, OnlyCharactersOutsideAsciiAreReferenced) {
    EXPECT_EQ(AsciiWithCharacterReferences("<b>Caf\xC3\xA9 & 'bar'</b>"),
              "<b>Caf&#233; & 'bar'</b>");
    EXPECT_EQ(AsciiWithCharacterReferences("\xE2\x82\xAC \xF0\x9F\x98\x80"), "&#8364; &#128512;");
    // Bytes that are not UTF-8 (a cut sequence, an overlong form, a stray byte) stand out.
    EXPECT_EQ(AsciiWithCharacterReferences("a\xC3"), "a&#65533;");
    EXPECT_EQ(AsciiWithCharacterReferences("\xC0\xAFx"), "&#65533;&#65533;x");
    EXPECT_EQ(AsciiWithCharacterReferences("\xE9t\xE9"), "&#65533;t&#65533;");
    EXPECT_EQ(AsciiWithCharacterReferences(""), "");
}
