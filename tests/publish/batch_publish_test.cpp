#include "publish/batch_publish.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "designer/published_page_writer.h"
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
                  "[--require-tls] [--trust-certificate FINGERPRINT]] SITE_FOLDER [PAGE ...]\n",
                  0),
              0u);
    EXPECT_TRUE(err.str().empty());
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(err.str(),
              "usage: quillora-publish [--workdir DIR] [--upload TARGET [--dry-run] [--force] "
              "[--require-tls] [--trust-certificate FINGERPRINT]] SITE_FOLDER [PAGE ...]\n");
    EXPECT_EQ(run({"--workdir"}), 2);
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
