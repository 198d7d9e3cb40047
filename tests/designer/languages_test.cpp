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

    void publishIn(const std::string& languages, const std::string& address = std::string()) {
        SiteOptions options;
        options.languages = *LanguageList(languages);
        options.siteAddress = address;
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
        publishIn(site.languages, site.address);
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

// A renamed page leaves its old name in every language; saved, it is there under the new one.
TEST_F(LanguagesTest, ARenamedPageMovesInEveryLanguage) {
    publishIn("en,fr");
    ASSERT_TRUE(fs::exists(siteFolder() + "/fr/about us.html"));
    ASSERT_TRUE(session.files().renameInFolder("about us.html", "team"));
    EXPECT_FALSE(fs::exists(siteFolder() + "/fr/about us.html"));
    page().fileName = "team.html";
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_NE(published("fr/team.html").find("<P>Bonjour</P>"), std::string::npos);
    EXPECT_NE(published("team.html").find("href='fr/team.html'"), std::string::npos);
}
