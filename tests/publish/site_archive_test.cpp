#include "site/site_archive.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "page/site_items.h"
#include "page/site_menu.h"
#include "publish/batch_publish.h"
#include "store/page_store.h"
#include "support/designer_fixture.h"

namespace {

namespace fs = std::filesystem;

// A site of pages saved in the designer: two pictures of the same name from two folders, page
// and container backgrounds, a shared menu, phone choices and site options.
class SiteArchiveTest : public DesignerFixture {
  protected:
    SiteArchiveTest() {
        fs::create_directories(working / "pics");
        fs::create_directories(working / "more");
        WriteFile(working / "pics/sun.jpg", "the sun");
        WriteFile(working / "more/sun.jpg", "another sun");
        WriteFile(working / "backgrounds/sky.jpg", "sky");
        WriteFile(working / "backgrounds/dots.gif", "dots");
        selectFolder(siteFolder());
        SiteOptions options;
        options.phoneFriendly = true;
        options.siteAddress = "https://example.org/";
        session.store().setSiteOptions(siteFolder(), options);
        PageRecord site;
        site.directory = siteFolder();
        site.fileName = kSiteItemsFile;
        site.elementCount = 1;
        site.stylesData = "<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>";
        site.texts = {"pagetextitemS1~"};
        site.richTexts = {WriteSiteMenu(MenuOfPages({{"index.html", "Home"}, {"about.html", ""}}))};
        site.textProperties = {"pagetextitemS1~^^^^^NOJUSTIFY"};
        EXPECT_TRUE(session.store().savePage(site));
        save("index.html", working / "pics/sun.jpg");
        save("about.html", working / "more/sun.jpg");
    }

    void save(const std::string& name, const std::string& picture) {
        workspace().pages.clear();
        workspace().pages.select(workspace().pages.add(name));
        page() = PageRecord();
        session.store().loadPage(page(), siteFolder(), name);
        page().directory = siteFolder();
        page().fileName = name;
        page().pageTitle = "Page " + name;
        page().language = "en";
        page().backImage = "sky.jpg";
        page().pageImage = "dots.gif";
        page().elementCount = 3;
        page().texts.insert(page().texts.begin(), "pagetextitem1~<P>" + name + "</P>");
        page().richTexts.insert(page().richTexts.begin(), "{\\rtf1 words}");
        page().textProperties.insert(page().textProperties.begin(), "pagetextitem1~^^^^^NOJUSTIFY");
        page().pictures = {"pageimageitem3~" + picture};
        page().links = {""};
        SetPhoneChoice(page().phoneChoices, "pagetextitem1~", kPhoneTextSize, "1");
        handOver(
            "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem3~' "
            "style='top:1px'>^10^20|<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>");
        ASSERT_TRUE(session.publisher().writePublishedPage());
    }

    int run(const std::string& workdir, std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        arguments.insert(arguments.begin(), {"--workdir", workdir});
        return RunBatchPublish(arguments, workdir, out, err);
    }

    static std::map<std::string, std::string> Files(const std::string& folder) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(folder)) {
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        }
        return files;
    }

    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace

TEST_F(SiteArchiveTest, ASiteCarriedToACleanWorkingFolderPublishesTheSameBytes) {
    const std::map<std::string, std::string> published = Files(siteFolder());
    ASSERT_TRUE(published.count("sun-2.jpg")) << "the second sun is numbered";
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    EXPECT_NE(out.str().find("2 pages of " + siteFolder() + " and 4 pictures exported"),
              std::string::npos)
        << out.str();
    // The pictures' own places are not on the other computer.
    fs::remove_all(working / "pics");
    fs::remove_all(working / "more");

    TempFolder other;
    fs::create_directories(other / "backgrounds");
    const std::string there = other / "mysite";
    ASSERT_EQ(run(other.path(), {"--import-site", file, there}), 0) << err.str();
    EXPECT_NE(out.str().find("2 pages and 4 pictures imported"), std::string::npos) << out.str();
    for (const auto& entry : fs::directory_iterator(there)) {
        fs::remove(entry.path());
    }
    ASSERT_EQ(run(other.path(), {there}), 0) << err.str();
    EXPECT_EQ(Files(there), published);

    // Brought in again: refused without --force, since the folder has pages now.
    EXPECT_EQ(run(other.path(), {"--import-site", file, there}), 2);
    EXPECT_NE(err.str().find("already has 2 pages"), std::string::npos) << err.str();
    EXPECT_EQ(run(other.path(), {"--import-site", file, there, "--force"}), 0) << err.str();
    EXPECT_EQ(Files(there), published);
}

TEST_F(SiteArchiveTest, ADamagedOrForeignFileIsRefusedAndNothingChanges) {
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    std::string bytes = ReadFile(file);
    std::string damaged = bytes;
    // A picture's bytes changed where they lie, as a bad disk or copy changes them.
    const std::size_t sun = damaged.find("another sun");
    ASSERT_NE(sun, std::string::npos);
    damaged[sun] = 'A';
    WriteFile(working / "damaged.qsite", damaged);
    WriteFile(working / "cut.qsite", bytes.substr(0, bytes.size() / 2));
    WriteFile(working / "words.qsite", "just some words");
    const struct {
        std::string file;
        const char* reason;
    } cases[] = {{working / "damaged.qsite", "is damaged, so nothing was imported: the picture"},
                 {working / "cut.qsite", "is damaged"},
                 {working / "words.qsite", "is not a site exported by Quillora."},
                 {working / "quilldata.db", "is not a site exported by Quillora."},
                 {working / "none.qsite", "cannot be found."}};
    TempFolder other;
    for (const auto& refused : cases) {
        EXPECT_EQ(run(other.path(), {"--import-site", refused.file, other / "site"}), 2)
            << refused.file;
        EXPECT_NE(err.str().find(refused.reason), std::string::npos) << err.str();
        EXPECT_TRUE(fs::is_empty(other.path())) << refused.file;
    }
    // The export itself leaves nothing half written behind.
    EXPECT_EQ(run(working.path(), {"--export-site", working / "empty", working / "e.qsite"}), 2);
    EXPECT_FALSE(fs::exists(working / "e.qsite"));
    EXPECT_FALSE(fs::exists(working / "e.qsite.part"));
}
