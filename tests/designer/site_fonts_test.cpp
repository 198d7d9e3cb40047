// Fonts that travel with a site: the faces its sections show, cut to the characters the site
// uses, beside the pages and in their heads; in the editor page from the working folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "common/text_file.h"
#include "site/markup/page_head.h"
#include "site/published_page.h"
#include "site/site_check.h"
#include "site/site_fonts.h"
#include "support/designer_fixture.h"
#include "support/font_files.h"

namespace fs = std::filesystem;

namespace {

class SiteFontsTest : public DesignerFixture {
  protected:
    SiteFontsTest() {
        selectFolder(siteFolder());
        workspace().pages.select(workspace().pages.add("page.html"));
        page().directory = siteFolder();
        page().fileName = "page.html";
        SiteOptions options;
        options.siteFonts = true;
        EXPECT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    }

    // One section of the markup the text editor writes.
    void section(int number, const std::string& markup) {
        const std::string id = "pagetextitem" + std::to_string(number) + "~";
        page().texts.push_back(id + markup);
        page().richTexts.push_back("{\\rtf1 x}");
        layout += std::string(layout.empty() ? "" : "|") + "<div id='" + id +
                  "' style='position:absolute;left:20px;top:" + std::to_string(number * 60) +
                  "px;width:300px'>";
    }

    bool publish() {
        handOver(layout);
        return session.publisher().writePublishedPage();
    }

    // The font files beside the pages, by name, with their times.
    std::map<std::string, fs::file_time_type> fontFiles() {
        std::map<std::string, fs::file_time_type> files;
        for (const auto& entry : fs::directory_iterator(siteFolder())) {
            if (entry.path().extension() == ".woff2") {
                files[entry.path().filename().string()] = entry.last_write_time();
            }
        }
        return files;
    }

    std::string fileStarting(const std::string& start) {
        for (const auto& [name, time] : fontFiles()) {
            if (name.rfind(start, 0) == 0) {
                return name;
            }
        }
        return std::string();
    }

    std::string layout;
};

}  // namespace

TEST_F(SiteFontsTest, EachFaceTheSectionsShowTravelsCutToTheSiteCharacters) {
    fs::create_directories(working / "fonts");
    ASSERT_TRUE(test_fonts::WriteRestrictedFont(working / "fonts/restricted.ttf"));
    section(1,
            "<font face='Arial' color='#000000'><SPAN style='font-size:12pt;'>Hello "
            "<b>bold</b> and <i>slanted</i></SPAN></font>");
    section(2, "<font face='Times New Roman' color='#000000'><i>Once upon a time</i></font>");
    section(3, "<font face='EB Garamond' color='#000000'><b>No bold file</b></font>");
    section(4, "<font face='Liberation Mono' color='#000000'>Привет, мир</font>");
    section(5, "<font face='Verdana' color='#000000'>Not on this computer</font>");
    section(6, "<font face='Restricted Sans' color='#000000'>Kept at home</font>");
    ASSERT_TRUE(publish());

    const std::string text = ReadTextFile(siteFolder() + "/page.html").value_or("");
    // The file of each face the browser would show, by its own weight and style.
    const struct {
        const char* start;
        const char* rule;
    } expected[] = {
        {"arial-400-", "font-family:'Arial';font-style:normal;font-weight:400"},
        {"arial-700-", "font-family:'Arial';font-style:normal;font-weight:700"},
        {"arial-400i-", "font-family:'Arial';font-style:italic;font-weight:400"},
        {"times-new-roman-400i-",
         "font-family:'Times New Roman';font-style:italic;font-weight:400"},
        {"eb-garamond-400-", "font-family:'EB Garamond';font-style:normal;font-weight:400"},
        {"liberation-mono-400-", "font-family:'Liberation Mono';font-style:normal;font-weight:400"},
    };
    ASSERT_EQ(fontFiles().size(), std::size(expected)) << text;
    for (const auto& face : expected) {
        const std::string name = fileStarting(face.start);
        ASSERT_FALSE(name.empty()) << face.start;
        EXPECT_LE(fs::file_size(siteFolder() + "/" + name), 40u * 1024) << name;
        EXPECT_NE(text.find(std::string(face.rule) + ";font-display:block;src:url('" + name +
                            "') format('woff2')}"),
                  std::string::npos)
            << face.rule << "\n"
            << text;
        EXPECT_NE(text.find("<link rel='preload' href='" + name + "' as='font'"),
                  std::string::npos);
    }
    const std::string mono =
        ReadTextFile(siteFolder() + "/" + fileStarting("liberation-mono")).value_or("");
    EXPECT_TRUE(test_fonts::HasGlyph(mono, U'П'));
    EXPECT_TRUE(test_fonts::HasGlyph(mono, U'7'));
    EXPECT_FALSE(test_fonts::HasGlyph(mono, U'Q'));
    EXPECT_EQ(text.find("font-family:'Restricted Sans'"), std::string::npos);
    EXPECT_EQ(text.find("font-family:'Verdana'"), std::string::npos);

    // Published again unchanged, no font file is written again; a new letter makes a new
    // file, and the one no page refers to any more goes.
    const auto before = fontFiles();
    ASSERT_TRUE(publish());
    EXPECT_EQ(fontFiles(), before);
    const std::string oldMono = fileStarting("liberation-mono");
    page().texts[3] = "pagetextitem4~<font face='Liberation Mono'>Quiet</font>";
    ASSERT_TRUE(publish());
    EXPECT_FALSE(fs::exists(siteFolder() + "/" + oldMono));
    EXPECT_TRUE(test_fonts::HasGlyph(
        ReadTextFile(siteFolder() + "/" + fileStarting("liberation-mono")).value_or(""), U'Q'));
}

TEST_F(SiteFontsTest, TheEditorPageLoadsTheSameFontsFromTheWorkingFolder) {
    section(1, "<font face='Arial' color='#000000'>Same breaks</font>");
    ASSERT_TRUE(publish());
    session.writer().writeLoad(page(), workspace().editor);
    const std::string editor = ReadTextFile(session.writer().editorPagePath()).value_or("");
    const std::smatch found = [&] {
        std::smatch match;
        std::regex_search(editor, match,
                          std::regex("src:url\\('fontcache/([0-9a-f]+\\.woff2)'\\)"));
        return match;
    }();
    ASSERT_FALSE(found.empty()) << editor;
    // The same bytes the published page loads.
    EXPECT_EQ(ReadTextFile(working / ("fontcache/" + found[1].str())),
              ReadTextFile(siteFolder() + "/" + fileStarting("arial-400-")));
    const std::optional<PageHeadParts> head = SplitPageHead(editor);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->fonts.substr(0, 18), "<style>@font-face{");

    // Without the option the editor page has no font rules.
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), SiteOptions()));
    session.writer().writeLoad(page(), workspace().editor);
    EXPECT_EQ(ReadTextFile(session.writer().editorPagePath()).value_or("").find("@font-face"),
              std::string::npos);
}

TEST_F(SiteFontsTest, TheSiteCheckNamesEachFaceThatCannotTravelAndRecommendsTheOption) {
    fs::create_directories(working / "fonts");
    ASSERT_TRUE(test_fonts::WriteRestrictedFont(working / "fonts/restricted.ttf"));
    section(1, "<font face='Arial'>Travels</font>");
    section(2, "<font face='Restricted Sans'>Kept at home</font>");
    section(3, "<font face='No Such Face'>Shown otherwise</font>");
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), SiteOptions()));
    ASSERT_TRUE(publish());
    std::vector<std::string> lines;
    for (const SiteFinding& finding : CheckSite(session.store(), working.path(), siteFolder())) {
        lines.push_back(FindingLine(finding));
    }
    const auto said = [&](const std::string& start) {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind("site: " + start, 0) == 0;
        });
    };
    EXPECT_EQ(said("Fonts travel with the site is off"), 1);
    EXPECT_EQ(said("Restricted Sans: the licence of its font forbids"), 1);
    EXPECT_EQ(said("No Such Face is not on this computer"), 1);
    EXPECT_EQ(said("Arial"), 0);
}
