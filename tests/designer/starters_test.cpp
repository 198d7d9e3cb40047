// Starter sites from their text: the reader's refusals, the builder's pictures and layout, and
// a blank site from the New Site window.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/fields.h"
#include "files/web_pictures.h"
#include "page/phone_choices.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "site/markup/item_walk.h"
#include "site/starter_build.h"
#include "site/starter_pictures.h"
#include "site/starter_source.h"
#include "site/starters.h"
#include "support/designer_fixture.h"

namespace {

constexpr const char* kSmallStarter = R"(
[site]
name = Tiny
background = #FFFFFF

[picture sun 40x20]
fill #0000FF
rect 20 0 20 20 #FF0000

[header]
text 12 band
# Tiny

[menu]

[page index.html]
title = Home of Tiny
description = A tiny site

text 8 phone:larger
# Hello
Line one
Line two

More words after a blank line
picture 4 sun phone:full
The sun
---
text 12 accent centre
**Bold** and *italic* words
[page about.html]
title = About Tiny
menu = About
text 12
Who we are
)";

}  // namespace

TEST(StarterSource, ARefusalNamesItsLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"words\n", "line 1: text before the first block"},
        {"[site]\nname Tiny\n", "line 2: a setting is NAME = VALUE"},
        {"[site]\ncolour = red\n", "line 2: no such setting: colour"},
        {"[shelf]\n", "line 1: no such block: [shelf]"},
        {"[picture sun 8x8]\n", "line 1: a picture's size is WIDTHxHEIGHT, 16 to 4000 pixels each"},
        {"[page a.html]\nwords first\n", "line 2: words before a text or picture line"},
        {"[menu]\nHome\n", "line 2: the menu block takes no lines"},
        {"[site]\nname = No pages\n", "a starter needs a name and at least one page"},
    };
    for (const auto& refused : cases) {
        std::string error;
        EXPECT_FALSE(ReadStarterSource(refused.text, error)) << refused.text;
        EXPECT_EQ(error, refused.error) << refused.text;
    }
}

class StarterBuildTest : public DesignerFixture {};

// Laid out, the starter is what a user would have made by hand: shared header and menu, a page
// of rows whose words the text editor can open, its pictures drawn, its phone choices and the
// options of a site of today.
TEST_F(StarterBuildTest, AStarterIsLaidOutAsAUserWouldMakeIt) {
    std::string error;
    const std::optional<StarterSource> source = ReadStarterSource(kSmallStarter, error);
    ASSERT_TRUE(source) << error;
    ASSERT_TRUE(LayOutStarter(*source, session.store(), siteFolder(), working.path(), error))
        << error;
    const std::string png = ReadFile(working / "sun.png");
    ASSERT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(PictureDimensions(working / "sun.png"), (std::pair<int, int>(40, 20)));

    PageRecord shared;
    ASSERT_TRUE(session.store().loadPage(shared, siteFolder(), kSiteItemsFile));
    ASSERT_EQ(shared.texts.size(), 2u);
    const std::optional<SiteMenu> menu = ReadSiteMenu(shared.richTexts[1]);
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->pages, (std::vector<std::pair<std::string, std::string>>{
                               {"index.html", "Home of Tiny"}, {"about.html", "About"}}));

    PageRecord home;
    ASSERT_TRUE(session.store().loadPage(home, siteFolder(), "index.html"));
    EXPECT_EQ(home.description, "A tiny site");
    EXPECT_EQ(home.pictureDescriptions["pageimageitem2~"], "The sun");
    EXPECT_EQ(PhoneChoiceOf(home.phoneChoices, "dpageimageitem2~", kPhoneWidth), kPhoneFullWidth);
    EXPECT_EQ(PhoneChoiceOf(home.phoneChoices, "pagetextitem1~", kPhoneTextSize), "1");
    const std::string& words = home.texts.front();
    // Each line its own, an empty one after a blank line.
    const std::size_t one = words.find("Line  one<BR>");
    const std::size_t two = words.find("Line  two<BR>");
    const std::size_t more = words.find("More  words");
    ASSERT_TRUE(one != std::string::npos && two != std::string::npos && more != std::string::npos)
        << words;
    EXPECT_NE(words.substr(two, more - two).find("<BR>", 13), std::string::npos) << words;
    EXPECT_NE(home.richTexts.front().find("\\b"), std::string::npos);
    EXPECT_NE(home.stylesData.find("text-align: center;"), std::string::npos);
    const SiteOptions options = session.store().siteOptions().load(siteFolder());
    EXPECT_TRUE(options.phoneFriendly && options.webPictures && options.siteFonts);

    // A drawing it does not know is named.
    StarterPicture wrong{"odd", 20, 20, {"star 1 2 3 #FFFFFF"}};
    EXPECT_FALSE(DrawStarterPicture(wrong, working / "odd.png", error));
    EXPECT_EQ(error, "picture odd: cannot draw \"star 1 2 3 #FFFFFF\"");
}

// "Blank site" makes the folder the user names and shows it with a fresh page.
TEST_F(StarterBuildTest, ABlankSiteIsAnEmptyFolderShownAtOnce) {
    const std::string folder = working / "blank";
    prompts.newSiteAnswers = {std::string()};
    prompts.chosenFolders = {folder};
    session.archives().newSite();
    EXPECT_GE(prompts.startersOffered, 12u);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(workspace().folders.selectedText(), folder);
}

// Items kept as a section come back on any page where the user asks, as new items keeping their
// shape, words in every language, phone choices and pictures, in one undo step; the program's
// own sections stand beside them.
TEST_F(StarterBuildTest, ASectionKeptFromAPageIsAddedToAnotherInOneStep) {
    std::filesystem::create_directories(working / "pics");
    WriteFile(working / "pics/sun.jpg", "the sun");
    selectFolder(siteFolder());
    page().directory = siteFolder();
    page().fileName = "page.html";
    page().stylesData =
        "<div id='pagetextitem1~' style='position:absolute;left:40px;top:60px'>|<div "
        "id='dpageimageitem7~' style='position:absolute;top:100px;left:300px'>^160^60";
    page().texts = {"pagetextitem1~<P>Hello</P>"};
    page().richTexts = {"{\\rtf1 Hello}"};
    page().textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
    page().pictures = {"pageimageitem7~" + (working / "pics/sun.jpg")};
    page().links = {""};
    page().elementCount = 1;
    page().translations["fr"]["pagetextitem1~"] = "<P>Bonjour</P>";
    SetPhoneChoice(page().phoneChoices, "dpageimageitem7~", kPhoneHidden, "1");

    session.sections().saveSection("");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("Select the items to keep as a section first", 0), 0u);
    prompts.sectionNames = {std::string("Welcome block")};
    session.sections().saveSection("pagetextitem1~pageimageitem7~");
    EXPECT_TRUE(std::filesystem::exists(working / "sections/Welcome-block.qsection"));
    EXPECT_EQ(prompts.shown.back().icon, MessageIcon::Information) << prompts.shown.back().text;
    // The same name again replaces it only when the user agrees.
    prompts.sectionNames = {std::string("Welcome block")};
    prompts.answers = {MessageAnswer::No};
    session.sections().saveSection("pagetextitem1~");
    EXPECT_NE(prompts.shown.back().text.find("is kept already"), std::string::npos);

    page() = PageRecord();
    page().directory = siteFolder();
    page().fileName = "other.html";
    prompts.sectionChoices = {SectionChoice{SectionAction::Add, 0}};
    session.steps().perform([&] { session.sections().addSection(500, 700); });
    ASSERT_GE(prompts.sectionsOffered.size(), 11u);
    EXPECT_EQ(prompts.sectionsOffered[0].name, "Welcome block");
    ASSERT_EQ(prompts.sectionsOffered[0].boxes.size(), 2u);
    EXPECT_EQ(prompts.sectionsOffered[0].boxes[1].width, 160);
    const std::vector<std::string> records = SplitFields(page().stylesData, "|");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(StyleNumber(records[0], "left") + "," + StyleNumber(records[0], "top"), "500,700");
    EXPECT_EQ(StyleNumber(records[1], "left") + "," + StyleNumber(records[1], "top"), "760,740");
    EXPECT_EQ(page().translations["fr"].begin()->second, "<P>Bonjour</P>");
    ASSERT_EQ(page().pictures.size(), 1u);
    const std::string picture = page().pictures[0].substr(ItemNameIn(page().pictures[0]).size());
    EXPECT_EQ(ReadFile(picture), "the sun");
    EXPECT_EQ(
        PhoneChoiceOf(page().phoneChoices, "d" + ItemNameIn(page().pictures[0]), kPhoneHidden),
        "1");
    session.steps().undo();
    EXPECT_TRUE(page().texts.empty());
    EXPECT_TRUE(page().pictures.empty());

    // Saved to a file and added from it, the section comes back the same.
    const std::string sent = working / "sent.qsection";
    prompts.sectionChoices = {SectionChoice{SectionAction::SaveToFile, 0}};
    prompts.fileNames = {sent};
    session.sections().addSection(0, 0);
    EXPECT_EQ(ReadFile(sent), ReadFile(working / "sections/Welcome-block.qsection"));
    prompts.sectionChoices = {SectionChoice{SectionAction::AddFromFile, 0}};
    prompts.openFileNames = {sent};
    session.sections().addSection(0, 0);
    EXPECT_EQ(page().texts.size(), 1u);

    // A site file is no section.
    prompts.sectionChoices = {SectionChoice{SectionAction::AddFromFile, 0}};
    prompts.openFileNames = {InstalledStartersFolder() + "/cafe.qsite"};
    session.sections().addSection(0, 0);
    EXPECT_EQ(prompts.shown.back().text, "cafe.qsite is a site file, not a section.");
}
