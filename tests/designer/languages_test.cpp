// One site in several languages: one layout, the words per language, each language's pages in a
// folder of its own with the whole hreflang cluster.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/paths.h"
#include "common/text_file.h"
#include "page/site_languages.h"
#include "site/site_files.h"
#include "support/designer_fixture.h"

namespace fs = std::filesystem;

namespace {

class LanguagesTest : public DesignerFixture {
  protected:
    LanguagesTest() {
        fs::create_directories(working / "pics");
        WriteFile(working / "pics/sun.jpg", "the sun");
        selectFolder(siteFolder());
        workspace().pages.select(workspace().pages.add("about us.html"));
        page().directory = siteFolder();
        page().fileName = "about us.html";
        page().pageTitle = "About us";
        page().texts = {"pagetextitem1~<P>Hello</P>", "pagetextitem2~<P>Not yet</P>"};
        page().richTexts = {"{\\rtf1 a}", "{\\rtf1 b}"};
        page().pictures = {"pageimageitem3~" + working / "pics/sun.jpg"};
        page().links = {""};
        page().translations["fr"] = {{kTranslatedTitle, "À propos"},
                                     {"pagetextitem1~", "<P>Bonjour</P>"}};
        layout =
            "<div id='pagetextitem1~' style='left:5px'>|<div id='pagetextitem2~' "
            "style='left:9px'>|<div id='dpageimageitem3~' style='top:1px'>^10^20";
    }

    void publishIn(const std::string& languages, const std::string& address = std::string(),
                   bool phoneFriendly = false) {
        SiteOptions options;
        options.languages = *LanguageList(languages);
        options.siteAddress = address;
        options.phoneFriendly = phoneFriendly;
        ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
        handOver(layout);
        ASSERT_TRUE(session.publisher().writePublishedPage());
    }
    std::string published(const std::string& file) {
        return ReadTextFile(JoinPath(siteFolder(), file)).value_or("");
    }

    std::string layout;
};

}  // namespace

TEST_F(LanguagesTest, EachLanguageHasItsFolderAndEveryVersionTheWholeCluster) {
    const struct {
        const char* languages;
        const char* address;
        const char* file;
        const char* cluster;
    } cases[] = {
        {"en,fr", "", "about us.html",
         "<link rel='alternate' hreflang='en' href='about%20us.html'><link rel='alternate' "
         "hreflang='fr' href='fr/about%20us.html'><link rel='alternate' hreflang='x-default' "
         "href='about%20us.html'>"},
        {"en,fr", "", "fr/about us.html",
         "<link rel='alternate' hreflang='en' href='../about%20us.html'><link rel='alternate' "
         "hreflang='fr' href='about%20us.html'><link rel='alternate' hreflang='x-default' "
         "href='../about%20us.html'>"},
        {"en,fr,de", "https://example.org/", "de/about us.html",
         "<link rel='alternate' hreflang='en' href='https://example.org/about%20us.html'><link "
         "rel='alternate' hreflang='fr' href='https://example.org/fr/about%20us.html'><link "
         "rel='alternate' hreflang='de' href='https://example.org/de/about%20us.html'><link "
         "rel='alternate' hreflang='x-default' href='https://example.org/about%20us.html'>"},
    };
    for (const auto& site : cases) {
        publishIn(site.languages, site.address, true);
        const std::string text = published(site.file);
        EXPECT_NE(text.find(site.cluster), std::string::npos) << site.file << "\n" << text;
    }
    // The main pages say their language; the others theirs, with their words and the main
    // words marked as the main language's where there is no translation yet.
    EXPECT_EQ(published("about us.html").rfind("<html lang='en'><head>", 0), 0u);
    const std::string french = published("fr/about us.html");
    EXPECT_EQ(french.rfind("<html lang='fr'><head><meta charset='utf-8'><title>&#192; propos", 0),
              0u)
        << french;
    EXPECT_NE(french.find("<P>Bonjour</P>"), std::string::npos);
    EXPECT_NE(french.find("<div lang='en' id='pagetextitem2~'"), std::string::npos) << french;
    EXPECT_EQ(french.find("<div lang='en' id='pagetextitem1~'"), std::string::npos);
    // The pictures are the main pages' files, and the canonical address is the version's own.
    EXPECT_NE(french.find("SRC=\"../sun.jpg\""), std::string::npos) << french;
    EXPECT_FALSE(fs::exists(siteFolder() + "/fr/sun.jpg"));
    // Phones get the one column in every language.
    EXPECT_NE(french.find("<style>@media (max-width:599px){"), std::string::npos);
    EXPECT_NE(french.find("<link rel='canonical' href='https://example.org/fr/about%20us.html'>"),
              std::string::npos);
    EXPECT_NE(published("de/about us.html").find("<title>About us</title>"), std::string::npos);
    // The site map lists every version with its alternates, and is the program's own to
    // write again.
    const std::string map = published("sitemap.xml");
    EXPECT_NE(map.find("<url><loc>https://example.org/fr/about%20us.html</loc><xhtml:link "
                       "rel=\"alternate\" hreflang=\"en\" "
                       "href=\"https://example.org/about%20us.html\"/>"),
              std::string::npos)
        << map;
    EXPECT_TRUE(IsProgramsSitemap(map));
    publishIn("en", "https://example.org/");
    EXPECT_EQ(published("sitemap.xml").find("xhtml"), std::string::npos);
}

TEST_F(LanguagesTest, ASiteOfOneLanguagePublishesAsBefore) {
    publishIn("en");
    const std::string one = published("about us.html");
    publishIn("");
    EXPECT_EQ(published("about us.html"), one);
    EXPECT_EQ(one.find("hreflang"), std::string::npos);
    EXPECT_FALSE(fs::exists(siteFolder() + "/fr"));
}

// The switcher is one shared item; on each page and in each language it leads to the same page
// in every language, the one shown marked.
TEST_F(LanguagesTest, TheLanguageSwitcherLeadsToTheSamePageInEveryLanguage) {
    ASSERT_TRUE(session.store().siteOptions().save(
        siteFolder(), SiteOptions{false, false, "", false, {"en", "fr"}}));
    handOver(layout);
    session.catalog().addLanguageSwitcher(prompts);
    const std::string& id = page().texts.back();
    ASSERT_EQ(id, "pagetextitemS1~");
    layout += "|<div id='pagetextitemS1~' style='top:0px;left:0px'>";
    publishIn("en,fr");
    EXPECT_NE(published("about us.html")
                  .find("<li><a href='about%20us.html' lang='en' hreflang='en' "
                        "aria-current='page'>English</a></li><li><a href='fr/about%20us.html' "
                        "lang='fr' hreflang='fr'>Fran&#231;ais</a></li>"),
              std::string::npos)
        << published("about us.html");
    EXPECT_NE(published("fr/about us.html")
                  .find("<li><a href='../about%20us.html' lang='en' hreflang='en'>English</a>"
                        "</li><li><a href='about%20us.html' lang='fr' hreflang='fr' "
                        "aria-current='page'>Fran&#231;ais</a></li>"),
              std::string::npos);
    // Without other languages there is nothing to switch to.
    publishIn("en");
    prompts.shown.clear();
    session.catalog().addLanguageSwitcher(prompts);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "LANGUAGE SWITCHER");
}

// A renamed page leaves its old name in every language; saved, it is there under the new one. A
// copy made in the Pages window carries the translations.
TEST_F(LanguagesTest, ARenamedOrCopiedPageIsThereInEveryLanguage) {
    publishIn("en,fr");
    ASSERT_TRUE(fs::exists(siteFolder() + "/fr/about us.html"));
    ASSERT_TRUE(session.files().renameInFolder("about us.html", "team"));
    EXPECT_FALSE(fs::exists(siteFolder() + "/fr/about us.html"));
    page().fileName = "team.html";
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_NE(published("fr/team.html").find("<P>Bonjour</P>"), std::string::npos);
    EXPECT_NE(published("team.html").find("href='fr/team.html'"), std::string::npos);

    prompts.pageNames = {std::string("copy")};
    prompts.pageListAnswers = {PageChoice{PageAction::Duplicate, "team.html"}, std::nullopt};
    session.pages().managePages();
    PageRecord copy;
    ASSERT_TRUE(session.store().loadPage(copy, siteFolder(), "copy.html"));
    EXPECT_EQ(copy.translations, page().translations);
    EXPECT_NE(published("fr/copy.html").find("<P>Bonjour</P>"), std::string::npos);
}

// The site check goes through each language: what is not yet translated, the missing switcher,
// and translated words that reach over an item the main words leave alone. A finding about a
// language shows the page in it, the sections still in the main words marked, and there the
// title and description are that language's.
TEST_F(LanguagesTest, TheSiteCheckNamesWhatEachLanguageLacksAndShowsThePageInIt) {
    page().description = "Who we are";
    browser.reach = [](const std::string& text) {
        std::map<std::string, std::vector<std::string>> reach{
            {"pagetextitem1~", {"pagetextitem2~"}}};
        if (text.find("Bonjour") != std::string::npos) {
            reach["pagetextitem1~"].push_back("dpageimageitem3~");
        }
        return reach;
    };
    publishIn("en,fr,de");
    session.catalog().checkSite(prompts);
    const std::vector<std::string>& lines = prompts.siteFindings;
    const auto count = [&](const std::string& text) {
        return std::count(lines.begin(), lines.end(), "about us.html: " + text);
    };
    EXPECT_EQ(count("The page has no language switcher, so its visitors cannot reach it in the "
                    "site's other languages (Site > Add Language Switcher)."),
              1);
    const std::string untranslated = "The section is not yet translated into ";
    const std::string readers =
        ": its visitors read the main words (double-click it in that "
        "language).";
    EXPECT_EQ(count(untranslated + "Français (fr)" + readers), 1);
    EXPECT_EQ(count(untranslated + "Deutsch (de)" + readers), 2);
    EXPECT_EQ(count("The title is not yet translated into Français (fr) (choose the language "
                    "above the page, then Page > Page Title...)."),
              0);
    EXPECT_EQ(count("The title is not yet translated into Deutsch (de) (choose the language "
                    "above the page, then Page > Page Title...)."),
              1);
    EXPECT_EQ(count("The description is not yet translated into Français (fr) (choose the "
                    "language above the page, then Page > Page Options...)."),
              1);
    const std::string reach =
        "about us.html: The section's words in Français (fr) run past its "
        "box into the next item: shorten them or give the box more room.";
    const auto reachLine = std::find(lines.begin(), lines.end(), reach);
    ASSERT_NE(reachLine, lines.end());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("run past") != std::string::npos;
                            }),
              1);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "site: The address of the site is not set: the versions of each page in "
                        "its other languages can name each other only by relative addresses, "
                        "which search engines do not take (Page > Site Options)."),
              lines.end());

    prompts.siteCheckAnswers = {static_cast<std::size_t>(reachLine - lines.begin())};
    session.catalog().checkSite(prompts);
    EXPECT_EQ(workspace().editor.editingLanguage, "fr");
    const std::string editor = ReadTextFile(working / "quilltemp.html").value_or("");
    EXPECT_NE(editor.find("<div class='quillora-untranslated' title='Not yet translated into "
                          "Français: shows the main words' id='pagetextitem2~'"),
              std::string::npos)
        << editor;
    EXPECT_EQ(editor.find("title='Not yet translated into Français: shows the main words' "
                          "id='pagetextitem1~'"),
              std::string::npos);
    EXPECT_NE(editor.find("ddSelectNames('pagetextitem1~')"), std::string::npos);
    session.phoneView().show(page());
    EXPECT_NE(ReadTextFile(working / "phoneitems.html").value_or("").find("<P>Bonjour</P>"),
              std::string::npos);

    prompts.titles = {"Qui sommes-nous"};
    session.files().editPageTitle();
    EXPECT_EQ(prompts.titlesShown.back(), "À propos");
    EXPECT_EQ(page().pageTitle, "About us");
    EXPECT_EQ(page().translations["fr"][kTranslatedTitle], "Qui sommes-nous");
    prompts.pageOptionAnswers = {PageOptions{std::nullopt, "Qui nous sommes", false}};
    session.pageSiteOptions().editPageOptions();
    EXPECT_EQ(prompts.pageOptionsShown.back().description, "Who we are");
    EXPECT_EQ(page().description, "Who we are");
    EXPECT_EQ(page().translations["fr"][kTranslatedDescription], "Qui nous sommes");

    // Published, the French page's title, description and sharing lines are French.
    publishIn("en,fr,de", "https://example.org/");
    const std::string french = published("fr/about us.html");
    for (const char* line :
         {"<title>Qui sommes-nous</title>", "<meta name='description' content='Qui nous sommes'>",
          "<meta property='og:description' content='Qui nous sommes'>"}) {
        EXPECT_NE(french.find(line), std::string::npos) << line << "\n" << french;
    }
}
