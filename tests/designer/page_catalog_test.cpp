#include "designer/pages/page_catalog.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "support/designer_fixture.h"

namespace {

class PageCatalogTest : public DesignerFixture {
  protected:
    // Stores a page of the folder and makes its file on disk.
    void storePage(const std::string& folder, const std::string& name,
                   const std::string& title = "Stored") {
        PageRecord page;
        page.directory = folder;
        page.fileName = name;
        page.pageTitle = title;
        page.texts = {"pagetextitem1~<P>x</P>"};
        page.stylesData = "<div id='pagetextitem1~' style='left:4px'>";
        ASSERT_TRUE(session.store().savePage(page));
        WriteFile(JoinPath(folder, name), "<html></html>");
    }
};

}  // namespace

TEST_F(PageCatalogTest, FoldersAndPagesMissingOnDiskAreLeftOut) {
    storePage(siteFolder(), "kept.html");
    storePage(siteFolder(), "gone.html");
    std::filesystem::remove(working / "site/gone.html");
    std::filesystem::create_directories(working / "removed");
    storePage(working / "removed", "x.html");
    std::filesystem::remove_all(working / "removed");

    session.catalog().fillFolderList();
    EXPECT_EQ(workspace().folders.entries(), std::vector<std::string>{siteFolder()});
    workspace().folders.select(0);
    session.catalog().fillPageList();
    EXPECT_EQ(workspace().pages.entries(), std::vector<std::string>{"kept.html"});
    EXPECT_EQ(page().directory, siteFolder());
}

TEST_F(PageCatalogTest, TheDefaultSiteFolderWithoutPagesOffersOnlyTheQuickstartPage) {
    selectFolder(working / "webpages");
    session.catalog().fillPageList();
    EXPECT_EQ(workspace().pages.entries(), std::vector<std::string>{"quickstart.html"});
    EXPECT_FALSE(workspace().pages.selectedIndex());
    EXPECT_TRUE(browser.addresses.empty());
}

TEST_F(PageCatalogTest, AnyOtherFolderWithoutPagesStartsAFreshIndexPage) {
    // The default folder's name matched exactly only: another spelling is another folder.
    std::filesystem::create_directories(working / "WebPages");
    page().pageTitle = "Old title";
    page().texts = {"pagetextitem1~old"};
    selectFolder(working / "WebPages");
    session.catalog().fillPageList();
    EXPECT_EQ(workspace().pages.entries(), std::vector<std::string>{"index.html"});
    EXPECT_EQ(workspace().pages.selectedText(), "index.html");
    EXPECT_EQ(page().pageTitle, "New Web Page");
    EXPECT_EQ(workspace().caption, "New Web Page");
    EXPECT_TRUE(page().texts.empty());
    ASSERT_EQ(browser.addresses.size(), 1u);
    EXPECT_EQ(browser.addresses[0], working / "quillscreen.html");
}

TEST_F(PageCatalogTest, FillingAroundANameResetsUnlessTheDesignIsKept) {
    storePage(siteFolder(), "a.html");
    storePage(siteFolder(), "b.html");
    selectFolder(siteFolder());
    page().pageTitle = "Current design";
    page().stylesData = "<div id='pagetextitem1~'>";

    workspace().flags.keepDesign = true;
    session.catalog().fillPageListWith("b.html");
    EXPECT_EQ(workspace().pages.entries(), (std::vector<std::string>{"b.html", "a.html"}));
    EXPECT_EQ(workspace().pages.selectedText(), "b.html");
    EXPECT_FALSE(workspace().flags.keepDesign);
    EXPECT_EQ(page().pageTitle, "Current design");

    page().fileName = "new.html";
    session.catalog().fillPageListWith("new.html");
    EXPECT_EQ(workspace().pages.entries(),
              (std::vector<std::string>{"new.html", "a.html", "b.html"}));
    EXPECT_EQ(page().pageTitle, "New Web Page");
    EXPECT_EQ(page().stylesData, "");
}

TEST_F(PageCatalogTest, LoadingShowsTheStoredPageAndResumingAllowsTheExitSave) {
    storePage(siteFolder(), "a.html", "Stored title");
    selectFolder(siteFolder());
    page().fileName = "a.html";
    workspace().flags.noSaveOnExit = true;
    session.catalog().resumeLastPage();
    EXPECT_FALSE(workspace().flags.noSaveOnExit);
    EXPECT_EQ(page().pageTitle, "Stored title");
    EXPECT_EQ(workspace().caption, "Stored title");
    EXPECT_EQ(page().texts, std::vector<std::string>{"pagetextitem1~<P>x</P>"});
    EXPECT_NE(ReadFile(working / "quilltemp.html").find("<P>x</P>"), std::string::npos);
}

// Choosing from the lists opens a page for editing; the page left behind is stored first with
// the layout its editor page shows, except before anything was opened and for the quickstart.
TEST_F(PageCatalogTest, ChoosingFromTheListsStoresThePageLeftBehind) {
    storePage(siteFolder(), "a.html");
    storePage(siteFolder(), "b.html");
    session.catalog().fillFolderList();
    workspace().folders.select(0);
    session.catalog().fillPageList();
    workspace().flags.noSaveOnExit = true;
    browser.layout = "<div id='pagetextitem1~' style='left:99px'>";
    const auto storedLayout = [&](const std::string& name) {
        PageRecord stored;
        session.store().loadPage(stored, siteFolder(), name);
        return stored.stylesData;
    };

    // Nothing was open yet: a.html is only opened.
    session.catalog().choosePage(0);
    EXPECT_FALSE(workspace().flags.noSaveOnExit);
    EXPECT_EQ(storedLayout("a.html"), "<div id='pagetextitem1~' style='left:4px'>");

    session.catalog().choosePage(1);
    EXPECT_EQ(page().fileName, "b.html");
    EXPECT_EQ(storedLayout("a.html"), *browser.layout);
    session.catalog().chooseFolder(0);
    EXPECT_EQ(storedLayout("b.html"), *browser.layout);
    EXPECT_EQ(page().fileName, "a.html");

    page().fileName = "quickstart.html";
    const int stored = rowCount("quillprojects");
    session.catalog().chooseFolder(0);
    EXPECT_EQ(rowCount("quillprojects"), stored);
    EXPECT_TRUE(prompts.shown.empty());
}
