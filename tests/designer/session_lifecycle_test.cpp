#include "designer/session_lifecycle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

#include "support/designer_fixture.h"

namespace {

class SessionLifecycleTest : public DesignerFixture {
  protected:
    void storePage(const std::string& name) {
        PageRecord stored;
        stored.directory = siteFolder();
        stored.fileName = name;
        stored.pageTitle = "Stored " + name;
        ASSERT_TRUE(session.store().savePage(stored));
        WriteFile(working / ("site/" + name), "<html></html>");
    }
};

}  // namespace

TEST_F(SessionLifecycleTest, TheLastSessionFileFallsBackToTheDefaults) {
    const LastSession none = ReadLastSession(working.path());
    EXPECT_EQ(none.folder, working / "webpages");
    EXPECT_EQ(none.page, "quickstart.html");

    WriteFile(working / "lastsession.qlp", "/some/folder|page.html\r\n");
    LastSession read = ReadLastSession(working.path());
    EXPECT_EQ(read.folder, "/some/folder");
    EXPECT_EQ(read.page, "page.html");

    WriteFile(working / "lastsession.qlp", "/no/bar");
    read = ReadLastSession(working.path());
    EXPECT_EQ(read.folder, "/no/bar");
    EXPECT_EQ(read.page, "");

    WriteLastSession(working.path(), "/a", "b.html");
    EXPECT_EQ(ReadFile(working / "lastsession.qlp"), "/a|b.html");
}

TEST_F(SessionLifecycleTest, StartSelectsTheLastPageButLoadsNothing) {
    storePage("a.html");
    storePage("b.html");
    WriteLastSession(working.path(), siteFolder(), "B.HTML");
    db.runStatement("INSERT INTO lastsession VALUES('My-Site|7','123|http://h/')");

    StartSession(session, db, browser);
    EXPECT_EQ(workspace().folders.selectedText(), siteFolder());
    EXPECT_EQ(workspace().pages.selectedText(), "b.html");
    // The file name is taken as the file says it, case included.
    EXPECT_EQ(page().fileName, "B.HTML");
    EXPECT_TRUE(workspace().flags.noSaveOnExit);
    EXPECT_EQ(workspace().hosting.folderName, "My-Site");
    EXPECT_EQ(session.controls().folderLabel(), "http://www.corvala.example/My-Site/B.HTML");
    EXPECT_EQ(browser.addresses, std::vector<std::string>{working / "quillstart.html"});
    EXPECT_TRUE(page().texts.empty());
}

TEST_F(SessionLifecycleTest, AnUnknownLastFolderLeavesNoSelectionAndAFreshIndexPage) {
    storePage("a.html");
    WriteLastSession(working.path(), working / "gone", "x.html");
    StartSession(session, db, browser);
    EXPECT_FALSE(workspace().folders.selectedIndex());
    EXPECT_EQ(workspace().pages.entries(), std::vector<std::string>{"index.html"});
}

TEST_F(SessionLifecycleTest, ExitSavesTheOpenedPageWithTheLayoutItsEditorPageShows) {
    page().directory = siteFolder();
    page().fileName = "page.html";
    workspace().flags.noSaveOnExit = false;
    // What the editor page reports, and what is stored then.
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {"layout the user dragged since", "layout the user dragged since"},
        // The page could not be asked: the layout of the last command stays.
        {std::nullopt, "layout of the last command"},
        // The page has no items left.
        {"", ""},
    };
    for (const auto& [reported, stored] : cases) {
        page().stylesData = "layout of the last command";
        browser.layout = reported;
        EndSession(session);
        PageRecord loaded;
        ASSERT_TRUE(session.store().loadPage(loaded, siteFolder(), "page.html"));
        EXPECT_EQ(loaded.stylesData, stored);
    }
    EXPECT_EQ(ReadFile(working / "lastsession.qlp"), siteFolder() + "|page.html");
}

TEST_F(SessionLifecycleTest, ExitStoresNothingBeforeAPageWasOpenedOrForTheQuickstartPage) {
    page().directory = siteFolder();
    page().fileName = "page.html";
    browser.layout = "layout";
    workspace().flags.noSaveOnExit = true;
    EndSession(session);
    page().fileName = "quickstart.html";
    workspace().flags.noSaveOnExit = false;
    EndSession(session);
    EXPECT_EQ(rowCount("quillprojects"), 0);
    EXPECT_EQ(ReadFile(working / "lastsession.qlp"), siteFolder() + "|quickstart.html");

    // A page that was never given a folder is remembered in the default site folder.
    page().directory.clear();
    EndSession(session);
    EXPECT_EQ(ReadFile(working / "lastsession.qlp"), working / "webpages" + "|quickstart.html");
}

TEST_F(SessionLifecycleTest, AnExitWhoseSaveFailsKeepsTheRecoveryFileAndSaysSo) {
    page().directory = siteFolder();
    page().fileName = "page.html";
    workspace().flags.noSaveOnExit = false;
    browser.layout = "layout";
    WriteFile(working / "recovery.qlr", "the only copy of the changes");
    db.runStatement("PRAGMA query_only = ON");
    EndSession(session);
    EXPECT_EQ(ReadFile(working / "recovery.qlr"), "the only copy of the changes");
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().caption, "Changes kept");
    EXPECT_NE(prompts.shown.back().text.find("recovery.qlr"), std::string::npos);

    db.runStatement("PRAGMA query_only = OFF");
    EndSession(session);
    EXPECT_FALSE(std::filesystem::exists(working / "recovery.qlr"));
}
