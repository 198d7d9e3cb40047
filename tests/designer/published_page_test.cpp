#include "site/published_page.h"

#include <gtest/gtest.h>
#include <vips/vips.h>

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>

#include "common/paths.h"
#include "designer/pages/published_page_writer.h"
#include "files/folder_listing.h"
#include "hosting/page_upload.h"
#include "site/phone/phone_layout.h"
#include "site/site_files.h"
#include "support/camera_photo.h"
#include "support/designer_fixture.h"

namespace {

std::string Golden(const std::string& name) {
    return ReadFile(std::string(QUILLORA_TEST_DATA) + "/designer/golden/" + name);
}

class PublishedPageTest : public DesignerFixture {
  protected:
    PublishedPageTest() {
        std::filesystem::create_directories(working / "pics");
        for (const char* picture : {"pics/sun.jpg", "pics/moon.gif", "backgrounds/sky.jpg",
                                    "backgrounds/paper.gif", "backgrounds/tile.jpg"}) {
            WriteFile(working / picture, picture);
        }
        selectFolder(siteFolder());
        workspace().pages.select(workspace().pages.add("page.html"));
        page().directory = siteFolder();
        page().fileName = "page.html";
    }

    // Two text items (one with a background from the backgrounds folder), a linked picture,
    // a picture whose link is too short to count, and a picture entry marked deleted.
    void designItems() {
        layout =
            "<div id='pagetextitem1~' style='position:absolute;left:20px;top:30px;"
            "background-image:url(backgrounds/paper.gif)'>|"
            "<div id='dpageimageitem417~' style='position:absolute;top:40px;left:50px'>"
            "^120^80|"
            "<div id='dpageimageitem5~' style='position:absolute;top:90px;left:400px'>"
            "^64^48|"
            "<div id='pagetextitem3~' style='position:absolute;left:300px;top:30px'>";
        page().texts = {"pagetextitem1~<P>Hello</P>", kRemovedItem, "pagetextitem3~<P>Third</P>"};
        page().richTexts = {"a", "b", "c"};
        page().textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
        page().pictures = {"pageimageitem417~" + working / "pics/sun.jpg", kDeletedPicture,
                           "pageimageitem5~" + working / "pics/moon.gif"};
        page().links = {"http://example.com/", "", "abcd"};
    }

    std::string published() { return ReadFile(working / "site/page.html"); }

    std::string layout;
};

}  // namespace

TEST_F(PublishedPageTest, TheSavedPageIsWrittenWithItsPicturesBesideIt) {
    designItems();
    page().pageTitle = "Zoë's page";
    page().backImage = "sky.jpg";
    page().pageContainer = PageContainerMarkup("800", "1200");
    clipboard.content = "the user's own clipboard text";
    handOver(layout);

    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_EQ(published(), Golden("published_save_container.html"));
    EXPECT_EQ(page().stylesData, layout);
    EXPECT_EQ(clipboard.content, "the user's own clipboard text");
    for (const char* copy : {"sun.jpg", "moon.gif", "sky.jpg", "paper.gif"}) {
        EXPECT_TRUE(std::filesystem::exists(working / ("site/" + std::string(copy)))) << copy;
    }
    PageRecord stored;
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "page.html"));
    EXPECT_EQ(stored.stylesData, layout);
    EXPECT_EQ(stored.texts, page().texts);
}

// The user's own files of the same names in the site folder stay: the page's backgrounds and
// pictures take copies of their own, and the page refers to those.
TEST_F(PublishedPageTest, FilesOfTheUsersInTheSiteFolderAreNeverReplacedByCopies) {
    designItems();
    page().backImage = "sky.jpg";
    page().pageContainer = PageContainerMarkup("800", "1200");
    page().pageImage = "tile.jpg";
    handOver(layout);
    std::filesystem::create_directories(working / "site");
    for (const char* mine : {"sky.jpg", "tile.jpg", "paper.gif", "sun.jpg"}) {
        WriteFile(working / ("site/" + std::string(mine)), "the user's own");
    }
    ASSERT_TRUE(session.publisher().writePublishedPage());
    for (const char* mine : {"sky.jpg", "tile.jpg", "paper.gif", "sun.jpg"}) {
        EXPECT_EQ(ReadFile(working / ("site/" + std::string(mine))), "the user's own") << mine;
    }
    const std::string text = published();
    for (const char* copy :
         {"background = 'sky-2.jpg'", "url(tile-2.jpg)", "url(paper-2.gif)", "SRC=\"sun-2.jpg\""}) {
        EXPECT_NE(text.find(copy), std::string::npos) << copy << "\n" << text;
    }
    EXPECT_EQ(ReadFile(working / "site/paper-2.gif"), "backgrounds/paper.gif");
    // Published again: the same copies, nothing new.
    const auto files = std::distance(std::filesystem::directory_iterator(working / "site"), {});
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_EQ(published(), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(working / "site"), {}), files);
}

TEST_F(PublishedPageTest, TheUploadPageHasNoScriptAndIsHandedBack) {
    designItems();
    page().pageTitle = "Plain";
    page().backColor = "#FFFFCC";
    handOver(layout);

    const std::optional<std::string> text = session.publisher().writeUploadPage();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, Golden("published_upload_fullscreen.html"));
    EXPECT_EQ(published(), *text);
}

TEST_F(PublishedPageTest, TheQuickstartPageIsNeverStoredOrOverwritten) {
    designItems();
    page().fileName = "quickstart.html";
    workspace().pages.clear();
    clipboard.content = layout;
    workspace().editor.clipboardCache = "cached";

    EXPECT_FALSE(session.publisher().writePublishedPage());
    EXPECT_FALSE(session.publisher().writeUploadPage());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "Quickstart page is for reference only.");
    EXPECT_EQ(prompts.shown[0].caption, "QUICKSTART OVERWRITE LOCK");
    EXPECT_EQ(clipboard.content, layout);
    EXPECT_TRUE(clipboard.writes.empty());
    EXPECT_EQ(rowCount("quillprojects"), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(siteFolder()), {}), 0);
}

TEST_F(PublishedPageTest, BackgroundPicturesAreReferencedOnlyWhenTheyAreCopied) {
    PagePublisher publisher(working.path(), prompts);
    PageRecord plain;
    plain.backImage = "a.gi";  // too short to name a picture
    EXPECT_NE(publisher.pageText(plain, PublishVariant::Save, siteFolder())
                  .find("<body bgcolor = '#FFFFFF' onload="),
              std::string::npos);
    publisher.copyPictures(plain, siteFolder());
    EXPECT_FALSE(std::filesystem::exists(working / "site/a.gi"));

    PageRecord tiled;
    tiled.pageContainer = PageContainerMarkup("700", "1000");
    tiled.pageImage = "tile.jpg";
    EXPECT_NE(publisher.pageText(tiled, PublishVariant::Upload, siteFolder())
                  .find("border-color:#008000;background-Image:url(tile.jpg)'></div></CENTER>"),
              std::string::npos);
    publisher.copyPictures(tiled, siteFolder());
    EXPECT_TRUE(std::filesystem::exists(working / "site/tile.jpg"));
}

TEST_F(PublishedPageTest, ShortLayoutsWriteNoItems) {
    PagePublisher publisher(working.path(), prompts);
    PageRecord page;
    page.stylesData = "<div>~";
    page.texts = {"<div>~text"};
    EXPECT_EQ(publisher.pageText(page, PublishVariant::Upload, siteFolder()),
              "<html><head><title>New Web Page</title></head><body bgcolor = '#FFFFFF' >"
              "</body></html>");
}

// Save and redraw take the layout by one rule: a page without items hands over an empty
// layout, which is taken; a handover that failed or never began keeps the last one.
TEST_F(PublishedPageTest, EveryCommandTakesTheHandedOverLayoutByOneRule) {
    enum class Handover { Empty, Failed, None };
    for (const char* command : {"http://savepage/", "http://gridchange1/"}) {
        for (const Handover handover : {Handover::Empty, Handover::Failed, Handover::None}) {
            designItems();
            page().stylesData = layout;
            clipboard.content = "the user's text";
            if (handover == Handover::Empty) {
                handOver("");
            } else if (handover == Handover::Failed) {
                session.dispatcher().beforeNavigate("http://clipboardcache/");
            }
            session.dispatcher().beforeNavigate(command);
            EXPECT_EQ(page().stylesData, handover == Handover::Empty ? "" : layout) << command;
            EXPECT_EQ(clipboard.content, "the user's text") << command;
        }
    }
    PageRecord stored;
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "page.html"));
    EXPECT_EQ(stored.stylesData, layout);
}

TEST_F(PublishedPageTest, AFileThatCannotBeWrittenIsReported) {
    designItems();
    handOver(layout);
    std::filesystem::create_directories(working / "site/page.html");
    EXPECT_FALSE(session.publisher().writePublishedPage());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "QUILLORA MESSAGE");
    EXPECT_EQ(prompts.shown[0].text,
              "The page could not be written to " + working / "site/page.html" + ".");
}

TEST_F(PublishedPageTest, APageWithoutAFolderIsWrittenIntoTheDefaultSiteFolder) {
    designItems();
    workspace().folders.clear();
    page().directory.clear();
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_TRUE(std::filesystem::exists(working / "webpages/page.html"));
    EXPECT_EQ(session.store().pageIdOf(working / "webpages", "page.html"), "1");
}

TEST_F(PublishedPageTest, WhatAPageTellsReadersIsWrittenOnlyWhenSetAndSurvivesTheStore) {
    designItems();
    page().pageTitle = "Zoë's page";
    page().backImage = "sky.jpg";
    page().pageContainer = PageContainerMarkup("800", "1200");
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    const std::string plain = published();
    EXPECT_EQ(plain, Golden("published_save_container.html"));

    struct Case {
        const char* what;
        std::function<void(PageRecord&)> set;
        std::string written;
    };
    const Case cases[] = {
        {"language", [](PageRecord& p) { p.language = "de-CH"; }, "<html lang='de-CH'><head>"},
        {"description", [](PageRecord& p) { p.description = "Tom & Jerry's <café>"; },
         "</title><meta name='description' content='Tom &amp; Jerry&#39;s <caf&#233;>'>"},
        {"picture description",
         [](PageRecord& p) { p.pictureDescriptions["pageimageitem417~"] = "A \"sun\" & sky"; },
         " height=80 alt=\"A &quot;sun&quot; &amp; sky\">"},
        {"decorative picture", [](PageRecord& p) { p.pictureDescriptions["pageimageitem5~"] = ""; },
         " height=48 alt=\"\">"},
    };
    for (const Case& one : cases) {
        one.set(page());
        handOver(layout);
        ASSERT_TRUE(session.publisher().writePublishedPage());
        EXPECT_NE(published().find(one.written), std::string::npos) << one.what << published();
        // The hosting upload sends the same additions.
        handOver(layout);
        const std::optional<std::string> upload = session.publisher().writeUploadPage();
        ASSERT_TRUE(upload);
        EXPECT_NE(upload->find(one.written), std::string::npos) << one.what;
    }
    PageRecord stored;
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "page.html"));
    EXPECT_EQ(stored.language, page().language);
    EXPECT_EQ(stored.description, page().description);
    EXPECT_EQ(stored.pictureDescriptions, page().pictureDescriptions);

    // Taken away again, the page is as before, byte for byte.
    page().language.reset();
    page().description.reset();
    page().pictureDescriptions.clear();
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_EQ(published(), plain);
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "page.html"));
    EXPECT_FALSE(stored.language);
    EXPECT_TRUE(stored.pictureDescriptions.empty());
}

TEST_F(PublishedPageTest, APhoneFriendlyFolderAddsTheViewportAndOneStyleBlockOnly) {
    designItems();
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    const std::string plain = published();
    SiteOptions phoneOn;
    phoneOn.phoneFriendly = true;
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), phoneOn));
    EXPECT_EQ(session.store().siteOptions().load(siteFolder()), phoneOn);
    EXPECT_EQ(session.store().siteOptions().load(working / "elsewhere"), SiteOptions());
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    const std::string phone = published();
    const std::size_t head = phone.find("<meta name='viewport'");
    ASSERT_NE(head, std::string::npos);
    const std::size_t end = phone.find("</style>", head) + 8;
    // Everything else is the page as it was, but for a declared character set, an icon that
    // is not there said so, and the old script, which throws in current browsers, left out; a
    // full-screen page lays out its body.
    std::string rest = phone.substr(0, head) + phone.substr(end);
    EXPECT_EQ(rest.find("<head><meta charset='utf-8'><title>"), plain.find("<head><title>"));
    rest.erase(rest.find("<meta charset='utf-8'>"), 22);
    rest.erase(rest.find("<link rel='icon' href='data:,'>"), 31);
    std::string expected = plain;
    const std::size_t script = expected.find("\n<script");
    expected.erase(script, expected.find("</script>") + 9 - script);
    expected.erase(expected.find("onload='browserCompatibility()'"), 31);
    EXPECT_EQ(rest, expected);
    const std::string block = phone.substr(head, end - head);
    EXPECT_NE(block.find("@media (max-width:599px){body{display:flex"), std::string::npos);
    EXPECT_EQ(block.find("</style>"), block.size() - 8);
    // The sections, as tall as their paragraphs, reach down beside both pictures: one row,
    // read left to right.
    EXPECT_LT(block.find("[id='pagetextitem1~']{order:0}"), block.find("{order:1}"));
    EXPECT_NE(block.find("[id='dpageimageitem417~']{order:1}"), std::string::npos);
    EXPECT_NE(block.find("[id='pagetextitem3~']{order:2}"), std::string::npos);
    EXPECT_NE(block.find("[id='dpageimageitem5~']{order:3}"), std::string::npos);
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), SiteOptions()));
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_EQ(published(), plain);
}

TEST(ReadingOrder, ItemsWhoseHeightsOverlapFormRowsReadLeftToRight) {
    const auto text = [](const std::string& id, int left, int top, int height) {
        return "<div id='" + id + "~' style='position: absolute; left: " + std::to_string(left) +
               "px; top: " + std::to_string(top) +
               "px; width: 100px; height: " + std::to_string(height) + "px;'>";
    };
    const auto picture = [](const std::string& id, int left, int top, int height) {
        return "<div id='d" + id + "~' style='position:absolute;top:" + std::to_string(top) +
               "px;left:" + std::to_string(left) + "px;'>^100^" + std::to_string(height);
    };
    const struct {
        const char* design;
        std::vector<std::string> records;
        std::vector<std::string> order;
    } cases[] = {
        {"two columns of separate rows",
         {text("l1", 10, 10, 100), text("l2", 10, 200, 100), text("r1", 400, 10, 100),
          text("r2", 400, 200, 100)},
         {"l1~", "r1~", "l2~", "r2~"}},
        {"a tall column beside short ones joins them in one row",
         {text("tall", 10, 10, 500), text("r1", 400, 10, 100), text("r2", 400, 200, 100),
          text("foot", 10, 600, 50)},
         {"tall~", "r1~", "r2~", "foot~"}},
        {"a chain of overlaps is one row",
         {picture("c", 300, 150, 100), text("a", 200, 0, 100), text("b", 10, 90, 100)},
         {"b~", "a~", "dc~"}},
        {"touching is not overlapping",
         {text("low", 10, 100, 50), text("high", 400, 0, 100)},
         {"high~", "low~"}},
        {"an id written twice counts once", {text("x", 10, 10, 10), text("x", 50, 50, 10)}, {"x~"}},
        {"a style that begins with the place",
         {"<div id='b~' style='top:5px;left:90px;height:10px'>",
          "<div id='a~' style='left:10px;top:8px;height:10px'>"},
         {"a~", "b~"}},
        {"declarations in upper case, as older versions wrote them",
         {"<div id='low~' style='POSITION: absolute; LEFT: 10px; TOP: 300px; HEIGHT: 20px'>",
          "<div id='high~' style='POSITION: absolute; LEFT: 400px; TOP: 20px; HEIGHT: 20px'>"},
         {"high~", "low~"}},
        {"padding-left and border-top-width are not the place",
         {"<div id='b~' style='padding-left: 5px; left: 300px; border-top-width: 1px; top: "
          "10px; height: 20px'>",
          "<div id='a~' style='left: 10px; top: 10px; height: 20px'>"},
         {"a~", "b~"}},
    };
    for (const auto& design : cases) {
        PageRecord page;
        for (const std::string& record : design.records) {
            page.stylesData += (page.stylesData.empty() ? "" : "|") + record;
        }
        EXPECT_EQ(ReadingOrder(page), design.order) << design.design;
    }
}

// Sections as the editor makes them carry no height: they are as tall as their words.
TEST(ReadingOrder, SectionsWithoutAHeightAreAsTallAsTheirWords) {
    const auto section = [](const std::string& id, int left, int top) {
        return "<div id='" + id + "~' style='position: absolute; top: " + std::to_string(top) +
               "px; left: " + std::to_string(left) +
               "px; border-width: 1px; border-style: solid; padding: 10px; visibility: "
               "visible;'>";
    };
    const auto words = [](int count) {
        std::string html =
            "<font face='Arial' color='#000000'><SPAN id='x~0' "
            "style='font-size:12pt;'>";
        for (int i = 0; i < count; ++i) {
            html += "words  ";
        }
        return html + "</SPAN></font>";
    };
    const auto picture = [](const std::string& id, int left, int top) {
        return "<div id='d" + id + "~' style='position:absolute;top:" + std::to_string(top) +
               "px;left:" + std::to_string(left) + "px;'>^300^200";
    };
    const struct {
        const char* design;
        std::vector<std::string> records;
        std::vector<std::pair<std::string, std::string>> texts;
        std::vector<std::string> order;
    } cases[] = {
        {"a section a little higher than the picture to its left",
         {section("text", 400, 90), picture("photo", 10, 100)},
         {{"text~", words(3)}},
         {"dphoto~", "text~"}},
        {"sections side by side, stored right first",
         {section("right", 400, 12), section("left", 10, 20)},
         {{"right~", words(2)}, {"left~", words(2)}},
         {"left~", "right~"}},
        {"many words reach down beside a picture lower on the left",
         {section("long", 400, 0), picture("photo", 10, 150)},
         {{"long~", words(150)}},
         {"dphoto~", "long~"}},
        {"one line ends above a picture lower on the left",
         {section("short", 400, 0), picture("photo", 10, 150)},
         {{"short~", words(3)}},
         {"short~", "dphoto~"}},
        {"line breaks count as lines",
         {section("lines", 400, 0), picture("photo", 10, 150)},
         {{"lines~", "a<BR>b<BR>c<BR>d<BR>e<BR>f<BR>g<BR>h<BR>i"}},
         {"dphoto~", "lines~"}},
    };
    for (const auto& design : cases) {
        PageRecord page;
        page.pageWidth = "800";
        for (const std::string& record : design.records) {
            page.stylesData += (page.stylesData.empty() ? "" : "|") + record;
        }
        for (const auto& [id, html] : design.texts) {
            page.texts.push_back(id + html);
        }
        EXPECT_EQ(ReadingOrder(page), design.order) << design.design;
    }
}

// A site with web pictures and an address: each picture offered as copies sized for its place,
// the first screen's largest first and the pictures far below it waiting; the page names
// itself, and the site's map and robots file list the pages.
TEST_F(PublishedPageTest, AWebPictureSiteOffersSizedCopiesAndNamesItsPages) {
    ASSERT_EQ(VIPS_INIT("quillora-test"), 0);
    VipsImage* black = nullptr;
    ASSERT_EQ(vips_black(&black, 1200, 800, "bands", 3, nullptr), 0);
    ASSERT_EQ(vips_jpegsave(black, (working / "pics/sun.jpg").c_str(), nullptr), 0);
    ASSERT_EQ(vips_pngsave(black, (working / "pics/moon.png").c_str(), nullptr), 0);
    g_object_unref(black);
    layout =
        "<div id='dpageimageitem417~' style='position:absolute;top:40px;left:50px'>^120^80|"
        "<div id='dpageimageitem5~' style='position:absolute;top:2000px;left:400px'>^64^48";
    page().pictures = {"pageimageitem417~" + working / "pics/sun.jpg",
                       "pageimageitem5~" + working / "pics/moon.png"};
    page().links = {"", ""};
    page().pageTitle = "Sun & moon";
    SiteOptions options;
    options.webPictures = true;
    options.siteAddress = "https://example.org/";
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    handOver(layout);
    ASSERT_TRUE(session.publisher().writePublishedPage());

    const std::string text = published();
    for (const std::string& expected :
         {std::string("<html><head><meta charset='utf-8'><title>Sun &amp; moon</title>"),
          std::string("<link rel='canonical' href='https://example.org/page.html'>"),
          std::string("<meta property='og:title' content='Sun &amp; moon'>"),
          std::string("<meta property='og:image' content='https://example.org/sun-240x160.jpg'>"),
          std::string("</head><body bgcolor = '#FFFFFF' >"),
          std::string("<picture><source type='image/webp' srcset='sun-120x80.webp 1x, "
                      "sun-240x160.webp 2x'><IMG name='pageimageitem417~' SRC=\"sun-240x160.jpg\" "
                      "BORDER=0 width=120 height=80 fetchpriority=\"high\"></picture>"),
          std::string("<picture><source type='image/webp' srcset='moon-64x43.webp 1x, "
                      "moon-128x85.webp 2x'><IMG name='pageimageitem5~' SRC=\"moon-128x85.png\" "
                      "BORDER=0 width=64 height=48 loading=\"lazy\"></picture>")}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    EXPECT_EQ(text.find("browserCompatibility"), std::string::npos);
    const std::vector<std::string> sent =
        UsedPictures(ListPictures(JoinPath(siteFolder(), "*.*")), text);
    EXPECT_EQ(std::set<std::string>(sent.begin(), sent.end()),
              (std::set<std::string>{"sun-120x80.webp", "sun-240x160.webp", "sun-240x160.jpg",
                                     "moon-64x43.webp", "moon-128x85.webp", "moon-128x85.png"}));
    EXPECT_EQ(ReadFile(JoinPath(siteFolder(), "robots.txt")),
              "User-agent: *\nAllow: /\nSitemap: https://example.org/sitemap.xml\n");
    EXPECT_NE(ReadFile(JoinPath(siteFolder(), "sitemap.xml"))
                  .find("<url><loc>https://example.org/page.html</loc></url>\n</urlset>"),
              std::string::npos);
}

// With web pictures a site folder holds only what its pages refer to: no camera original
// (its owner and place), no copy of an earlier size; a file the user put there stays.
TEST_F(PublishedPageTest, AWebPictureSiteHoldsOnlyWhatItsPagesReferTo) {
    const std::string photo = working / "pics/IMG_0001.JPG";
    ASSERT_TRUE(SaveCameraPhoto(photo, 1200, 800));
    ASSERT_EQ(std::system(("exiftool -q -overwrite_original -GPSLatitude=48.8584 "
                           "-GPSLatitudeRef=N -GPSLongitude=2.2945 -GPSLongitudeRef=E '" +
                           photo + "'")
                              .c_str()),
              0);
    page().pictures = {"pageimageitem3~" + photo};
    page().links = {""};
    // First published as every site is, the original beside the page; then the option.
    handOver("<div id='dpageimageitem3~' style='position:absolute;top:4px;left:5px'>^300^200");
    ASSERT_TRUE(session.publisher().writePublishedPage());
    ASSERT_TRUE(std::filesystem::exists(siteFolder() + "/IMG_0001.jpg"));
    WriteFile(siteFolder() + "/mine.jpg", "the user's own");
    SiteOptions options;
    options.webPictures = true;
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    const auto files = [&] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(siteFolder())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    };
    for (const char* place : {"^300^200", "^150^100"}) {
        handOver("<div id='dpageimageitem3~' style='position:absolute;top:4px;left:5px'>" +
                 std::string(place));
        ASSERT_TRUE(session.publisher().writePublishedPage());
        std::set<std::string> expected{"page.html", "mine.jpg"};
        for (const std::string& name :
             UsedPictures(ListPictures(siteFolder() + "/*.*"), published())) {
            expected.insert(name);
        }
        EXPECT_EQ(files(), expected) << place;
    }
    EXPECT_EQ(ReadFile(siteFolder() + "/mine.jpg"), "the user's own");
    for (const std::string& name : files()) {
        std::unique_ptr<FILE, int (*)(FILE*)> exiftool(
            popen(("exiftool -s -s -GPS:all '" + siteFolder() + "/" + name + "'").c_str(), "r"),
            pclose);
        std::array<char, 256> line{};
        EXPECT_EQ(std::fgets(line.data(), line.size(), exiftool.get()), nullptr) << name;
    }
}

// A picture past the pixel limit is told of and published as it is; the page still saves.
TEST_F(PublishedPageTest, APictureTooLargeToPrepareIsToldAndThePageStillSaves) {
    ASSERT_EQ(VIPS_INIT("quillora-test"), 0);
    VipsImage* black = nullptr;
    ASSERT_EQ(vips_black(&black, 9000, 8000, nullptr), 0);
    ASSERT_EQ(vips_pngsave(black, (working / "pics/huge.png").c_str(), nullptr), 0);
    g_object_unref(black);
    page().pictures = {"pageimageitem3~" + working / "pics/huge.png"};
    page().links = {""};
    SiteOptions options;
    options.webPictures = true;
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    handOver("<div id='dpageimageitem3~' style='position:absolute;top:4px;left:5px'>^90^80");
    ASSERT_TRUE(session.publisher().writePublishedPage());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The picture " + working / "pics/huge.png" +
                  ": it is 9000 x 8000 pixels, more than the 60 million a picture may have. It is "
                  "published as it is, without copies prepared for the web.");
    EXPECT_NE(published().find("SRC=\"huge.png\""), std::string::npos) << published();
}

TEST(SiteFiles, AddressesAreTheSitesAndEveryNameFitsInOne) {
    const struct {
        const char* typed;
        std::optional<std::string> address;
    } addresses[] = {
        {"", std::string()},
        {"  https://example.org ", std::string("https://example.org/")},
        {"HTTP://example.org/shop/", std::string("HTTP://example.org/shop/")},
        {"example.org", std::nullopt},
        {"https:///", std::nullopt},
        {"https://exa mple.org/", std::nullopt},
        {"javascript://x.org/'", std::nullopt},
    };
    for (const auto& test : addresses) {
        EXPECT_EQ(SiteAddressFrom(test.typed), test.address) << test.typed;
    }
    EXPECT_EQ(PageAddress("https://example.org/", "index.html"), "https://example.org/");
    EXPECT_EQ(PageAddress("https://example.org/", "my page&1.html"),
              "https://example.org/my%20page%261.html");
    EXPECT_EQ(SitemapXml("https://example.org/", {"a.html", "index.html"}),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
              "<url><loc>https://example.org/a.html</loc></url>\n"
              "<url><loc>https://example.org/</loc></url>\n</urlset>\n");
    // What the program wrote, for any site, is told from what a user wrote.
    const struct {
        std::string text;
        bool sitemap;
        bool robots;
    } files[] = {
        {SitemapXml("https://a.org/", {"x.html", "y z.html"}), true, false},
        {SitemapXml("https://a.org/", {}), true, false},
        {RobotsTxt("https://b.org/shop/"), false, true},
        {"User-agent: *\nDisallow: /private/\n", false, false},
        {RobotsTxt("https://b.org/") + "Disallow: /x/\n", false, false},
        {"<?xml version=\"1.0\"?><urlset><url><loc>x</loc><lastmod>2020</lastmod></url>"
         "</urlset>\n",
         false, false},
        {SitemapXml("https://a.org/", {"x.html"}).insert(100, "<!-- mine -->\n"), false, false},
    };
    for (const auto& file : files) {
        EXPECT_EQ(IsProgramsSitemap(file.text), file.sitemap) << file.text;
        EXPECT_EQ(IsProgramsRobots(file.text), file.robots) << file.text;
    }
}
