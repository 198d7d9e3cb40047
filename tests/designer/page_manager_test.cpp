#include "designer/pages/page_manager.h"

#include <gtest/gtest.h>

#include "common/fields.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "site/markup/item_walk.h"
#include "store/page_store.h"
#include "support/designer_fixture.h"

namespace {

// Three stored and written pages: index links to news by a typed link, every page shows the
// folder's shared menu, and about.html is open.
class PageManagerTest : public DesignerFixture {
  protected:
    PageManagerTest() {
        selectFolder(siteFolder());
        page().directory = siteFolder();
        // No page is open yet: nothing of the workspace is stored.
        workspace().flags.noSaveOnExit = true;
        for (const char* name : {"index.html", "about.html", "news.html"}) {
            PageRecord stored;
            stored.directory = siteFolder();
            stored.fileName = name;
            stored.pageTitle = std::string("Title of ") + name;
            stored.stylesData = "<div id='pagetextitem1~' style='left:5px;top:300px'>";
            stored.texts = {std::string("pagetextitem1~<A HREF='") +
                            (name == std::string("index.html") ? "news.html" : "index.html") +
                            "'>on</A>"};
            stored.richTexts = {"{\\rtf1 on}"};
            stored.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
            EXPECT_TRUE(session.store().savePage(stored));
            WriteFile(siteFolder() + "/" + name, "written by the save");
            workspace().pages.add(name);
        }
        PageRecord site;
        site.directory = siteFolder();
        site.fileName = kSiteItemsFile;
        site.elementCount = 1;
        site.stylesData = "<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>";
        site.texts = {"pagetextitemS1~"};
        site.richTexts = {WriteSiteMenu(MenuOfPages(session.store().sitePages(siteFolder())))};
        site.textProperties = {"pagetextitemS1~^^^^^NOJUSTIFY"};
        EXPECT_TRUE(session.store().savePage(site));
        session.pages().publishSite();
        open("about.html");
        prompts.shown.clear();
    }
    void open(const std::string& name) {
        const std::vector<std::string>& names = workspace().pages.entries();
        workspace().flags.noSaveOnExit = true;
        session.catalog().choosePage(
            static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin()));
    }
    std::string published(const std::string& name) { return ReadFile(siteFolder() + "/" + name); }
    bool exists(const std::string& name) {
        return std::filesystem::exists(siteFolder() + "/" + name);
    }
};

}  // namespace

TEST_F(PageManagerTest, ADeletedPageLeavesEveryMenuTheFolderAndTheStoreAndStaysGone) {
    // The window lists every page with its title; No keeps the page.
    prompts.pageListAnswers = {PageChoice{PageAction::Delete, "news.html"},
                               PageChoice{PageAction::Delete, "news.html"}, std::nullopt};
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    session.pages().managePages();
    ASSERT_EQ(prompts.pagesListed.size(), 3u);
    ASSERT_EQ(prompts.pagesListed[0].size(), 3u);
    EXPECT_EQ(prompts.pagesListed[0][2].title, "Title of news.html");
    EXPECT_FALSE(prompts.pagesListed[0][2].lastSaved.empty());
    EXPECT_EQ(prompts.pageListCurrent, "about.html");
    EXPECT_EQ(prompts.pagesListed[1].size(), 3u);
    EXPECT_EQ(prompts.pagesListed[2].size(), 2u);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].caption, "DELETE PAGE");
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(prompts.shown[0].text.find("menus of the site menu every page shares"),
              std::string::npos)
        << prompts.shown[0].text;
    EXPECT_NE(prompts.shown[0].text.find("link to it, and their links will lead nowhere: "
                                         "index.html."),
              std::string::npos)
        << prompts.shown[0].text;

    EXPECT_FALSE(exists("news.html"));
    EXPECT_TRUE(session.store().pageIdOf(siteFolder(), "news.html").empty());
    EXPECT_TRUE(session.store().versions().list(siteFolder(), "news.html").empty());
    ASSERT_EQ(session.store().deleted().pages(siteFolder()).size(), 1u);
    EXPECT_EQ(session.store().deleted().pages(siteFolder())[0].first, "news.html");
    EXPECT_EQ(workspace().pages.entries(), (std::vector<std::string>{"index.html", "about.html"}));
    EXPECT_EQ(workspace().pages.selectedText(), "about.html");
    // Out of the shared menu, as stored, as written and as the open page shows it.
    PageRecord shared;
    session.store().loadPage(shared, siteFolder(), kSiteItemsFile);
    EXPECT_FALSE(MenuNames(*ReadSiteMenu(shared.richTexts[0]), "news.html"));
    for (const char* name : {"index.html", "about.html"}) {
        EXPECT_EQ(published(name).find("<a href='news.html'"), std::string::npos) << name;
        EXPECT_NE(published(name).find("about.html"), std::string::npos) << name;
    }
    EXPECT_FALSE(HoldsSiteMenu(page()) &&
                 MenuNames(*ReadSiteMenu(page().richTexts.back()), "news.html"));

    // Publish Site does not bring it back; a page made again under the name is no longer deleted.
    session.pages().publishSite();
    EXPECT_FALSE(exists("news.html"));
    PageRecord again;
    again.directory = siteFolder();
    again.fileName = "news.html";
    ASSERT_TRUE(session.store().savePage(again));
    EXPECT_TRUE(session.store().deleted().pages(siteFolder()).empty());
}

TEST_F(PageManagerTest, TheOpenPageDeletedGivesWayToAnotherWithoutBeingStoredAgain) {
    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(session.pages().deletePage("about.html"));
    EXPECT_NE(page().fileName, "about.html");
    EXPECT_TRUE(session.store().pageIdOf(siteFolder(), "about.html").empty());
    session.catalog().storeCurrentDesign();
    EXPECT_TRUE(session.store().pageIdOf(siteFolder(), "about.html").empty());
    EXPECT_FALSE(exists("about.html"));
}

TEST_F(PageManagerTest, PublishSiteAsksAboutPagesDeletedFromTheFolderOutsideTheProgram) {
    std::filesystem::remove(siteFolder() + "/news.html");
    // No writes it again, Cancel writes nothing, Yes deletes its design.
    prompts.answers = {MessageAnswer::No};
    session.pages().publishSite();
    ASSERT_GE(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("news.html is no longer in the site folder", 0), 0u);
    EXPECT_TRUE(exists("news.html"));
    std::filesystem::remove(siteFolder() + "/news.html");
    prompts.answers = {MessageAnswer::Cancel};
    session.pages().publishSite();
    EXPECT_FALSE(exists("news.html"));
    EXPECT_FALSE(session.store().pageIdOf(siteFolder(), "news.html").empty());
    prompts.answers = {MessageAnswer::Yes};
    session.pages().publishSite();
    EXPECT_FALSE(exists("news.html"));
    EXPECT_TRUE(session.store().pageIdOf(siteFolder(), "news.html").empty());
    EXPECT_EQ(published("index.html").find("<a href='news.html'"), std::string::npos);
}

TEST_F(PageManagerTest, DuplicateRenameAndHomePageFromTheWindow) {
    prompts.pageNames = {std::string("copy"), std::string("story")};
    prompts.pageListAnswers = {PageChoice{PageAction::Duplicate, "index.html"},
                               PageChoice{PageAction::Rename, "news.html"},
                               PageChoice{PageAction::MakeHome, "about.html"}, std::nullopt};
    session.pages().managePages();
    PageRecord copy;
    ASSERT_TRUE(session.store().loadPage(copy, siteFolder(), "copy.html"));
    EXPECT_EQ(copy.texts[0], "pagetextitem1~<A HREF='story.html'>on</A>");
    EXPECT_NE(published("copy.html").find("Title of index.html"), std::string::npos);
    // A page not open is renamed and the links to it follow; the open page stays open.
    EXPECT_TRUE(exists("story.html"));
    EXPECT_FALSE(exists("news.html"));
    EXPECT_NE(published("index.html").find("HREF='story.html'"), std::string::npos);
    EXPECT_EQ(page().fileName, "about.html");
    // The folder has a home page already: the user is told, nothing is renamed.
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_NE(prompts.shown.back().text.find("already has a home page"), std::string::npos);
    EXPECT_TRUE(exists("about.html"));

    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(session.pages().deletePage("index.html"));
    prompts.pageListAnswers = {PageChoice{PageAction::MakeHome, "story.html"}, std::nullopt};
    session.pages().managePages();
    EXPECT_TRUE(exists("index.html"));
    EXPECT_FALSE(exists("story.html"));
    EXPECT_NE(published("copy.html").find("HREF='index.html'"), std::string::npos);
}

// A page that joined the shared menu after it was made, and a duplicate that joins it: every
// page's menu follows their rename and delete at once, and the question names the menu.
TEST_F(PageManagerTest, MenusFollowPagesThatJoinedThemLater) {
    PageRecord late;
    late.directory = siteFolder();
    late.fileName = "late.html";
    late.pageTitle = "Late";
    ASSERT_TRUE(session.store().savePage(late));
    WriteFile(siteFolder() + "/late.html", "written by the save");
    session.pages().publishSite();
    prompts.shown.clear();
    const auto everyPageLinks = [&](const std::string& target, bool linked) {
        for (const char* name : {"index.html", "news.html"}) {
            EXPECT_EQ(published(name).find("<li><a href='" + target + "'") != std::string::npos,
                      linked)
                << name << " " << target;
        }
    };
    everyPageLinks("late.html", true);

    prompts.pageNames = {std::string("copy"), std::string("renamed")};
    prompts.pageListAnswers = {PageChoice{PageAction::Duplicate, "late.html"},
                               PageChoice{PageAction::Rename, "late.html"}, std::nullopt};
    session.pages().managePages();
    everyPageLinks("copy.html", true);
    everyPageLinks("renamed.html", true);
    everyPageLinks("late.html", false);

    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(session.pages().deletePage("renamed.html"));
    EXPECT_NE(prompts.shown.back().text.find("menus of the site menu every page shares"),
              std::string::npos)
        << prompts.shown.back().text;
    everyPageLinks("renamed.html", false);
    everyPageLinks("copy.html", true);
}

// A deleted page comes back with Undo right after the delete, or later from the deleted pages,
// with its versions and its place in the menus; after 90 days it is let go.
TEST_F(PageManagerTest, ADeletedPageComesBackWithItsVersionsAndItsPlaceInTheMenus) {
    const auto shownIn = [&](const std::string& name) {
        return published(name).find("<li><a href='news.html'") != std::string::npos;
    };
    const auto deleteNews = [&] {
        prompts.answers = {MessageAnswer::Yes};
        ASSERT_TRUE(session.pages().deletePage("news.html"));
        ASSERT_FALSE(exists("news.html"));
        ASSERT_FALSE(shownIn("index.html"));
    };
    const auto expectBack = [&](const char* how) {
        EXPECT_TRUE(exists("news.html")) << how;
        PageRecord back;
        ASSERT_TRUE(session.store().loadPage(back, siteFolder(), "news.html")) << how;
        EXPECT_EQ(back.pageTitle, "Title of news.html") << how;
        EXPECT_FALSE(session.store().versions().list(siteFolder(), "news.html").empty()) << how;
        EXPECT_TRUE(session.store().deleted().pages(siteFolder()).empty()) << how;
        EXPECT_TRUE(shownIn("index.html") && shownIn("about.html")) << how;
        PageRecord shared;
        session.store().loadPage(shared, siteFolder(), kSiteItemsFile);
        const SiteMenu menu = *ReadSiteMenu(shared.richTexts[0]);
        ASSERT_EQ(menu.pages.size(), 3u) << how;
        EXPECT_EQ(menu.pages[2].first, "news.html") << how;
        EXPECT_NE(std::find(workspace().pages.entries().begin(), workspace().pages.entries().end(),
                            "news.html"),
                  workspace().pages.entries().end())
            << how;
    };
    const std::size_t versions = session.store().versions().list(siteFolder(), "news.html").size();
    deleteNews();
    EXPECT_NE(prompts.shown.back().text.find("kept 90 days: Undo brings it back now"),
              std::string::npos)
        << prompts.shown.back().text;
    EXPECT_TRUE(session.pages().canUndoDeletion());
    session.dispatcher().beforeNavigate("http://undo");
    expectBack("undone");
    EXPECT_EQ(session.store().versions().list(siteFolder(), "news.html").size(), versions);
    EXPECT_FALSE(session.pages().canUndoDeletion());

    // A change of the open page since the delete is what Undo takes back; the window restores.
    deleteNews();
    session.steps().perform([&] { page().pageTitle = "Changed"; });
    EXPECT_FALSE(session.pages().canUndoDeletion());
    session.dispatcher().beforeNavigate("http://undo");
    EXPECT_FALSE(exists("news.html"));
    prompts.pageListAnswers = {PageChoice{PageAction::ShowDeleted, ""}, std::nullopt};
    prompts.deletedAnswers = {std::size_t{0}};
    session.pages().managePages();
    ASSERT_EQ(prompts.deletedListed.size(), 1u);
    ASSERT_EQ(prompts.deletedListed[0].size(), 1u);
    EXPECT_EQ(prompts.deletedListed[0][0].title, "Title of news.html");
    expectBack("restored");

    // Past 90 days a deleted design and its versions are let go.
    deleteNews();
    db.runStatement("update deleteddesigns set DELETED = DELETED - 91 * 24 * 3600");
    EXPECT_TRUE(session.store().deleted().designs(siteFolder()).empty());
    EXPECT_EQ(db.runScalar("select count(*) from pageversions where FILENAME = 'news.html'"), 0);
}

// An older version restores the page's own items; the shared menu moves back only when the user
// asks, told how many pages it stands on. Its links and its menu follow pages renamed since,
// and a look at it shows the menu.
TEST_F(PageManagerTest, AnOlderVersionRestoresThePageAndTheSharedItemsOnlyWhenAsked) {
    page().texts[0] = "pagetextitem1~<A HREF='news.html'>news</A>";
    ASSERT_TRUE(session.store().savePage(page()));
    const auto placeOfMenu = [&] {
        for (const std::string& record : SplitFields(page().stylesData, "|")) {
            if (RecordId(record) == "pagetextitemS1~") {
                return StyleNumber(record, "left");
            }
        }
        return std::string("gone");
    };
    ASSERT_EQ(placeOfMenu(), "0");
    page().stylesData =
        "<div id='pagetextitem1~' style='left:5px;top:300px'>|"
        "<div id='pagetextitemS1~' style='top: 0px; left: 300px;'>";
    page().texts[0] = "pagetextitem1~<P>no link</P>";
    ASSERT_TRUE(session.store().savePage(page()));
    prompts.pageNames = {std::string("story")};
    prompts.pageListAnswers = {PageChoice{PageAction::Rename, "news.html"}, std::nullopt};
    session.pages().managePages();
    prompts.shown.clear();

    struct Case {
        MessageAnswer answer;
        std::string menuAt;
    };
    for (const Case& one : {Case{MessageAnswer::Cancel, "300"}, Case{MessageAnswer::No, "300"},
                            Case{MessageAnswer::Yes, "0"}}) {
        prompts.answers = {one.answer};
        prompts.historyAnswers = {VersionChoice{VersionAction::Look, 1},
                                  VersionChoice{VersionAction::Restore, 1}};
        session.steps().perform([&] { session.history().showHistory(); });
        ASSERT_FALSE(shell.opened.empty());
        const std::string looked = ReadFile(shell.opened.back());
        EXPECT_NE(looked.find("<li><a href='story.html'"), std::string::npos) << looked;
        EXPECT_NE(looked.find("HREF='story.html'>news</A>"), std::string::npos) << looked;
        ASSERT_FALSE(prompts.shown.empty());
        EXPECT_NE(prompts.shown.back().text.find("change on all 3 pages"), std::string::npos)
            << prompts.shown.back().text;
        EXPECT_EQ(placeOfMenu(), one.menuAt);
        EXPECT_EQ(page().texts[0], one.answer == MessageAnswer::Cancel
                                       ? "pagetextitem1~<P>no link</P>"
                                       : "pagetextitem1~<A HREF='story.html'>news</A>");
        if (one.answer != MessageAnswer::Cancel) {
            session.steps().undo();
        }
    }
}

TEST_F(PageManagerTest, HistoryShowsAVersionAndRestoresItAsOneUndoStep) {
    page().pageTitle = "Second";
    page().texts[0] = "pagetextitem1~<P>changed</P>";
    ASSERT_TRUE(session.store().savePage(page()));
    const std::size_t kept = session.store().versions().list(siteFolder(), "about.html").size();
    ASSERT_EQ(kept, 2u);

    prompts.historyAnswers = {VersionChoice{VersionAction::Look, 1},
                              VersionChoice{VersionAction::Restore, 1}};
    session.steps().perform([&] { session.history().showHistory(); });
    // The window comes back after a look.
    EXPECT_EQ(prompts.historyShown, (std::vector<std::string>{"about.html", "about.html"}));
    ASSERT_EQ(prompts.versionsListed.size(), kept);
    EXPECT_EQ(prompts.versionsListed[0].savedAt.size(), 19u);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_NE(ReadFile(shell.opened[0]).find("<title>Title of about.html</title>"),
              std::string::npos);
    EXPECT_EQ(page().pageTitle, "Title of about.html");
    EXPECT_EQ(page().texts[0], "pagetextitem1~<A HREF='index.html'>on</A>");
    // The shared menu stays shown, and one undo brings the replaced design back.
    EXPECT_TRUE(page().siteItemsShown);
    EXPECT_EQ(page().texts.back(), "pagetextitemS1~");
    EXPECT_EQ(workspace().history.undoLabel(), "restore version");
    session.steps().undo();
    EXPECT_EQ(page().pageTitle, "Second");
    EXPECT_EQ(page().texts[0], "pagetextitem1~<P>changed</P>");
}
