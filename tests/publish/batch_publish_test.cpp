#include "publish/batch_publish.h"
#include "files/folder_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "common/program_version.h"
#include "designer/pages/published_page_writer.h"
#include "files/folder_lock.h"
#include "store/page_store.h"
#include "support/camera_photo.h"
#include "support/designer_fixture.h"

namespace {

class BatchPublishTest : public DesignerFixture {
  protected:
    BatchPublishTest() {
        std::filesystem::create_directories(working / "pics");
        WriteFile(working / "pics/sun.jpg", "sun");
        WriteFile(working / "backgrounds/sky.jpg", "sky");
        selectFolder(siteFolder());
    }

    // Saves a page through the designer, as the save command does.
    void saveInDesigner(const std::string& name, const std::string& text) {
        workspace().pages.clear();
        workspace().pages.select(workspace().pages.add(name));
        page().directory = siteFolder();
        page().fileName = name;
        page().pageTitle = "Page " + name;
        page().backImage = "sky.jpg";
        page().texts = {"pagetextitem1~<P>" + text + "</P>"};
        page().pictures = {"pageimageitem3~" + working / "pics/sun.jpg"};
        page().links = {""};
        handOver(
            "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem3~' "
            "style='top:1px'>^10^20");
        ASSERT_TRUE(session.publisher().writePublishedPage());
    }

    int run(std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        return RunBatchPublish(arguments, working.path(), out, err);
    }

    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace

TEST_F(BatchPublishTest, WritesTheSameFileAsTheDesignersSaveWithoutTouchingTheStore) {
    saveInDesigner("one.html", "first");
    saveInDesigner("two.html", "second");
    const std::string savedOne = ReadFile(working / "site/one.html");
    const std::string savedTwo = ReadFile(working / "site/two.html");
    std::filesystem::remove_all(siteFolder());
    std::filesystem::create_directories(siteFolder());
    const std::string storeBefore = ReadFile(working / "quilldata.db");

    EXPECT_EQ(run({siteFolder()}), 0);
    EXPECT_EQ(ReadFile(working / "site/one.html"), savedOne);
    EXPECT_EQ(ReadFile(working / "site/two.html"), savedTwo);
    EXPECT_EQ(ReadFile(working / "site/sun.jpg"), "sun");
    EXPECT_EQ(ReadFile(working / "site/sky.jpg"), "sky");
    EXPECT_EQ(out.str(),
              "wrote " + working / "site/one.html\nwrote " + working / "site/two.html\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadFile(working / "quilldata.db"), storeBefore);
}

// While the window holds the working folder, every command that writes it says so and
// writes nothing; the check and the export only read, and go on.
TEST_F(BatchPublishTest, WritingCommandsWaitForTheFolderTheWindowHolds) {
    saveInDesigner("one.html", "first");
    std::filesystem::remove_all(siteFolder());
    const std::optional<FolderLock> window = FolderLock::Take(working.path());
    ASSERT_TRUE(window);
    EXPECT_EQ(run({"--export-site", siteFolder(), working / "a.qsite"}), 0) << err.str();
    const std::string held = "held by another Quillora (process " + std::to_string(getpid()) + ")";
    for (const std::vector<std::string>& writing :
         {std::vector<std::string>{siteFolder()},
          std::vector<std::string>{"--upload", "hosting", siteFolder()},
          std::vector<std::string>{"--import-site", working / "a.qsite", working / "other"}}) {
        EXPECT_EQ(run(writing), 2) << writing[0];
        EXPECT_NE(err.str().find(held), std::string::npos) << err.str();
    }
    EXPECT_FALSE(std::filesystem::exists(working / "site/one.html"));
    EXPECT_EQ(run({"--check", siteFolder()}), 1) << err.str();
}

TEST_F(BatchPublishTest, NamedPagesOnlyAndPagesNotStoredAreReported) {
    saveInDesigner("one.html", "first");
    saveInDesigner("two.html", "second");
    std::filesystem::remove(working / "site/one.html");
    std::filesystem::remove(working / "site/two.html");

    EXPECT_EQ(run({"--workdir", working.path(), siteFolder() + "/", "two.html"}), 0);
    EXPECT_FALSE(std::filesystem::exists(working / "site/one.html"));
    EXPECT_TRUE(std::filesystem::exists(working / "site/two.html"));

    EXPECT_EQ(run({siteFolder(), "one.html", "missing.html"}), 1);
    EXPECT_TRUE(std::filesystem::exists(working / "site/one.html"));
    EXPECT_EQ(err.str(), working / "site/missing.html" + ": this page is not stored\n");
}

TEST_F(BatchPublishTest, TheQuickstartPageAndUnknownFoldersAreNotWritten) {
    EXPECT_EQ(run({working / "webpages", "quickstart.html"}), 1);
    EXPECT_NE(err.str().find("reference only"), std::string::npos);
    EXPECT_EQ(run({working / "nowhere"}), 1);
    EXPECT_EQ(err.str(), working / "nowhere" + ": no pages of this folder are stored\n");
}

TEST_F(BatchPublishTest, UsageAndDatabaseErrorsEndWithTwo) {
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(out.str().rfind(
                  "usage: quillora-publish [--workdir DIR] [--upload TARGET [--dry-run] [--force] "
                  "[--require-tls] [--trust-certificate FINGERPRINT] [--trust-host-key "
                  "FINGERPRINT]] SITE_FOLDER "
                  "[PAGE ...]\n",
                  0),
              0u);
    EXPECT_TRUE(err.str().empty());
    out.str("");
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out.str(), "quillora-publish " + ProgramVersion() + "\n");
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(err.str(),
              "usage: quillora-publish [--workdir DIR] [--upload TARGET [--dry-run] [--force] "
              "[--require-tls] [--trust-certificate FINGERPRINT] [--trust-host-key FINGERPRINT]] "
              "SITE_FOLDER "
              "[PAGE ...]\n"
              "       quillora-publish [--workdir DIR] --check SITE_FOLDER\n"
              "       quillora-publish [--workdir DIR] --export-site SITE_FOLDER FILE\n"
              "       quillora-publish [--workdir DIR] --import-site FILE SITE_FOLDER "
              "[--force]\n"
              "       quillora-publish [--workdir DIR] --list-starters\n"
              "       quillora-publish [--workdir DIR] --new-site NAME SITE_FOLDER [--force]\n"
              "       quillora-publish --version\n");
    EXPECT_EQ(run({"--workdir"}), 2);
    EXPECT_EQ(run({"--export-site", siteFolder()}), 2);
    EXPECT_EQ(run({"--import-site", "a.qsite", siteFolder(), "more"}), 2);
    EXPECT_EQ(run({"--export-site", siteFolder(), "a.qsite", "--upload", "hosting"}), 2);
    EXPECT_EQ(run({"--verbose", siteFolder()}), 2);
    EXPECT_EQ(run({"--workdir", working / "empty", siteFolder()}), 2);
    EXPECT_NE(err.str().find("cannot open the page store"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(working / "empty/quilldata.db"));

    saveInDesigner("one.html", "first");
    db.runStatement("drop table pagetexts");
    EXPECT_EQ(run({siteFolder(), "one.html"}), 2);
    EXPECT_NE(err.str().find("db error: SQLITE_ERROR[1]: no such table: pagetexts"),
              std::string::npos);
}

TEST_F(BatchPublishTest, TheInstalledToolRunsFromTheCommandLine) {
    saveInDesigner("one.html", "first");
    const std::string tool = QUILLORA_PUBLISH_TOOL;
    const std::string command = "\"" + tool + "\" --workdir \"" + working.path() + "\" \"" +
                                siteFolder() + "\" one.html > \"" + working / "out.txt" + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(working / "out.txt"), "wrote " + working / "site/one.html\n");
    EXPECT_NE(std::system(("\"" + tool + "\" 2> /dev/null").c_str()), 0);
}

// What keeps a site from serving visitors well, a line each, from the stored pages and the
// folder's files; nothing is written.
TEST_F(BatchPublishTest, TheCheckListsWhatASiteLacksAndEndsWithOneWhenAnything) {
    ASSERT_TRUE(SaveCameraPhoto(working / "pics/camera.jpg", 2000, 1500));

    PageRecord first;
    first.directory = siteFolder();
    first.fileName = "first.html";
    first.stylesData =
        "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem2~' "
        "style='top:1px'>^200^150|<div id='dpageimageitem3~' style='top:300px'>^10^10|<div "
        "id='dpageimageitem4~' style='top:400px'>^10^10";
    first.texts = {
        "pagetextitem1~<A HREF='second.html'>on</A> <a href=\"gone.html#top\">x</a> "
        "<a href='https://example.org/elsewhere.html'>y</a>"};
    first.richTexts = {"a"};
    first.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
    first.pictures = {"pageimageitem2~" + working / "pics/camera.jpg",
                      "pageimageitem3~" + working / "pics/lost.gif",
                      "pageimageitem4~" + working / "pics/sun.jpg"};
    first.links = {"", "", "away.html"};
    first.pictureDescriptions = {{"pageimageitem4~", ""}};
    PageRecord second;
    second.directory = siteFolder();
    second.fileName = "second.html";
    second.language = "en";
    second.description = "The second page";
    ASSERT_TRUE(session.store().savePage(first));
    ASSERT_TRUE(session.store().savePage(second));
    const std::string storeBefore = ReadFile(working / "quilldata.db");

    EXPECT_EQ(run({"--check", siteFolder()}), 1);
    const std::string site = siteFolder();
    EXPECT_EQ(out.str(),
              "first.html: The page has no language, so screen readers may read it in the wrong "
              "voice (Page > Page Options).\n"
              "first.html: The page has no description for search results (Page > Page "
              "Options).\n"
              "first.html: The picture camera.jpg has no description for visitors who cannot "
              "see it (double-click it, or mark it as decoration).\n"
              "first.html: The picture camera.jpg is 2000 x 1500 pixels (" +
                  out.str().substr(out.str().find("pixels (") + 8, 6) +
                  ") and shown at 200 x 150: visitors load far more than they see.\n"
                  "first.html: The picture file " +
                  working / "pics/lost.gif" +
                  " is missing: the page shows an empty place.\n"
                  "first.html: The link to away.html leads to no page of the site.\n"
                  "first.html: The link to gone.html#top leads to no page of the site.\n"
                  "site: Phone-friendly pages are off: phones show each page as designed, too "
                  "wide to read (Page > Site Options).\n"
                  "site: Pictures prepared for the web are off: visitors load whole camera "
                  "photos where a small copy would do (Page > Site Options).\n"
                  "site: The address of the site is not set: search engines get no site map, "
                  "and pages do not name their own address (Page > Site Options).\n");
    EXPECT_EQ(ReadFile(working / "quilldata.db"), storeBefore);
    EXPECT_FALSE(std::filesystem::exists(working / "site/first.html"));

    // Mended: every page described, the pictures there and prepared, the options set.
    first.language = "en";
    first.description = "The first page";
    first.pictures = {"pageimageitem2~" + working / "pics/camera.jpg",
                      "pageimageitem3~" + working / "pics/sun.jpg",
                      "pageimageitem4~" + working / "pics/sun.jpg"};
    first.pictureDescriptions = {
        {"pageimageitem2~", "A field"}, {"pageimageitem3~", "Sun"}, {"pageimageitem4~", ""}};
    first.links = {"", "", "second.html"};
    first.texts = {"pagetextitem1~<A HREF='second.html'>on</A>"};
    ASSERT_TRUE(session.store().savePage(first));
    SiteOptions options;
    options.phoneFriendly = true;
    options.webPictures = true;
    options.siteAddress = "https://example.org/";
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    EXPECT_EQ(run({"--check", siteFolder()}), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "");

    // A robots file of the user's own stays through publishing, and the check tells of it.
    std::filesystem::create_directories(siteFolder());
    WriteFile(siteFolder() + "/robots.txt", "User-agent: *\nDisallow: /private/\n");
    EXPECT_EQ(run({siteFolder()}), 0) << err.str();
    EXPECT_EQ(ReadFile(siteFolder() + "/robots.txt"), "User-agent: *\nDisallow: /private/\n");
    EXPECT_NE(ReadFile(siteFolder() + "/sitemap.xml").find("first.html"), std::string::npos);
    EXPECT_EQ(run({"--check", siteFolder()}), 1);
    EXPECT_EQ(out.str(),
              "site: robots.txt in the site folder is your own: Quillora leaves it as it is and "
              "writes none in its place, so it may not list every page or name the site map. "
              "Remove it to have Quillora write one.\n");
}

// A picture every page shares is told of once, not once a page.
TEST_F(BatchPublishTest, TheCheckTellsOfASharedItemOnce) {
    for (const char* name : {"one.html", "two.html"}) {
        PageRecord page;
        page.directory = siteFolder();
        page.fileName = name;
        page.language = "en";
        page.description = "A page";
        ASSERT_TRUE(session.store().savePage(page));
    }
    PageRecord site;
    site.directory = siteFolder();
    site.fileName = ".siteitems";
    site.elementCount = 1;
    site.stylesData = "<div id='dpageimageitemS1~' style='top:1px'>^10^20";
    site.pictures = {"pageimageitemS1~" + working / "pics/sun.jpg"};
    site.links = {""};
    ASSERT_TRUE(session.store().savePage(site));
    EXPECT_EQ(run({"--check", siteFolder()}), 1);
    EXPECT_EQ(out.str().substr(0, out.str().find("\nsite: ")),
              "one.html: The picture sun.jpg has no description for visitors who cannot see it "
              "(double-click it, or mark it as decoration).");
}
