#include "designer/page_files.h"

#include <gtest/gtest.h>

#include "support/designer_fixture.h"

namespace {

class PageFilesTest : public DesignerFixture {
  protected:
    PageFilesTest() {
        selectFolder(siteFolder());
        page().directory = siteFolder();
    }
    // The current page as the user designed it so far.
    void designSomething() {
        page().fileName = "current.html";
        page().pageTitle = "My design";
        page().elementCount = 4;
        page().stylesData = "<div id='pagetextitem4~' style='a'>";
        page().texts = {"pagetextitem4~<P>mine</P>"};
    }
};

}  // namespace

TEST_F(PageFilesTest, NewPageCleansTheNameAndStartsAFreshDesign) {
    designSomething();
    prompts.fileNames = {working / "site/my page (1)!.html"};
    session.files().newPage();

    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, "New Web Page File Name");
    EXPECT_EQ(prompts.saveRequests[0].filter, "html file (*.html)|*.html||");
    EXPECT_EQ(prompts.saveRequests[0].initialPath, working / "site/newpage.html");
    EXPECT_EQ(ReadFile(working / "site/my page -1--.html"),
              "<HTML><HEAD></HEAD><BODY></BODY></HTML>");
    EXPECT_EQ(page().fileName, "my page -1--.html");
    EXPECT_EQ(page().elementCount, 0);
    EXPECT_EQ(page().pageTitle, "New Web Page");
    EXPECT_TRUE(page().texts.empty());
    EXPECT_EQ(workspace().pages.selectedText(), "my page -1--.html");
    EXPECT_FALSE(workspace().flags.noSaveOnExit);
}

TEST_F(PageFilesTest, NewPageWritesItsEmptyPageUnderTheFinalName) {
    std::filesystem::create_directories(working / "other");
    WriteFile(working / "other/kept.html", "a page of the user's");
    // The design left behind is stored first.
    designSomething();
    workspace().flags.noSaveOnExit = false;
    browser.layout = "<div id='pagetextitem4~' style='moved'>";
    prompts.fileNames = {working / "other/notes", working / "other/kept.htm"};
    session.files().newPage();
    EXPECT_EQ(ReadFile(working / "other/notes.html"), "<HTML><HEAD></HEAD><BODY></BODY></HTML>");
    EXPECT_FALSE(std::filesystem::exists(working / "other/notes"));
    EXPECT_EQ(page().fileName, "notes.html");
    // The new folder joins the folder list and is selected.
    EXPECT_EQ(workspace().folders.selectedText(), working / "other");
    EXPECT_EQ(page().directory, working / "other");
    PageRecord stored;
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "current.html"));
    EXPECT_EQ(stored.stylesData, *browser.layout);

    // kept.htm becomes kept.html, a file of the user's: replaced only when the user says so.
    prompts.answers = {MessageAnswer::No, MessageAnswer::Yes};
    session.files().newPage();
    EXPECT_EQ(page().fileName, "notes.html");
    EXPECT_EQ(ReadFile(working / "other/kept.html"), "a page of the user's");
    prompts.fileNames = {working / "other/kept.htm"};
    session.files().newPage();
    EXPECT_EQ(page().fileName, "kept.html");
    EXPECT_EQ(ReadFile(working / "other/kept.html"), "<HTML><HEAD></HEAD><BODY></BODY></HTML>");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "kept.html already exists. Replace it?");
}

TEST_F(PageFilesTest, NoFileIsReplacedOrMadeElsewhereWithoutTheUsersWord) {
    designSomething();
    ASSERT_TRUE(session.store().savePage(page()));
    WriteFile(working / "site/current.html", "published");
    WriteFile(working / "site/theirs.html", "someone else's page");
    workspace().pages.add("current.html");
    workspace().pages.select(0);

    // Names that leave the folder, for each way a page gets a name.
    prompts.fileNames = {working / "site/../x", working / "site/a/b", working / "site/../y.html"};
    session.files().newPage();
    session.files().newPage();
    EXPECT_FALSE(session.files().saveAsPage());
    prompts.pageNames = {std::string("../x"), std::string("a/b")};
    session.files().renamePage();
    session.files().renamePage();
    EXPECT_EQ(prompts.shown.size(), 5u);
    for (const auto& shown : prompts.shown) {
        EXPECT_EQ(shown.text,
                  "A page name is a file name: it cannot hold \"/\", \"\\\" or \"..\". Choose a "
                  "name in the folder shown.");
    }
    EXPECT_FALSE(std::filesystem::exists(working / "x.html"));
    EXPECT_FALSE(std::filesystem::exists(working / "y.html"));
    EXPECT_EQ(page().fileName, "current.html");

    // Onto a file of the site folder: No keeps both, Yes replaces it.
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        prompts.shown.clear();
        prompts.answers = {answer};
        prompts.pageNames = {std::string("theirs")};
        session.files().renamePage();
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, "theirs.html already exists. Replace it?");
    }
    EXPECT_EQ(page().fileName, "theirs.html");
    EXPECT_EQ(ReadFile(working / "site/theirs.html"), "published");
    EXPECT_EQ(session.store().pageIdOf(siteFolder(), "theirs.html"), "1");
    prompts.answers = {MessageAnswer::No};
    prompts.fileNames = {working / "site/current.html"};
    WriteFile(working / "site/current.html", "another page");
    EXPECT_FALSE(session.files().saveAsPage());
    EXPECT_EQ(page().fileName, "theirs.html");

    // A rename the file system refuses leaves the file, the stored row and the name.
    prompts.shown.clear();
    std::filesystem::create_directories(working / "site/blocked.html/inside");
    prompts.answers = {MessageAnswer::Yes};
    prompts.pageNames = {std::string("blocked")};
    session.files().renamePage();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text.rfind("The page could not be renamed: ", 0), 0u);
    EXPECT_EQ(page().fileName, "theirs.html");
    EXPECT_EQ(session.store().pageIdOf(siteFolder(), "theirs.html"), "1");
    EXPECT_EQ(ReadFile(working / "site/theirs.html"), "published");
}

TEST_F(PageFilesTest, CancellingNewPageChangesNothing) {
    designSomething();
    workspace().flags.noSaveOnExit = true;
    session.files().newPage();
    EXPECT_EQ(page().fileName, "current.html");
    // The counter must stay, or the page's next item would reuse an id.
    EXPECT_EQ(page().elementCount, 4);
    EXPECT_EQ(page().texts.size(), 1u);
    EXPECT_TRUE(workspace().flags.noSaveOnExit);
    EXPECT_TRUE(browser.addresses.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(siteFolder()), {}), 0);
}

TEST_F(PageFilesTest, HtmlExtensionRule) {
    EXPECT_EQ(WithHtmlExtension("about"), "about.html");
    EXPECT_EQ(WithHtmlExtension("about.htm"), "about.html");
    EXPECT_EQ(WithHtmlExtension("about.x.html"), "about.html");
}

TEST_F(PageFilesTest, SaveAsKeepsTheDesignUnderTheNameAsTyped) {
    designSomething();
    workspace().flags.keepDesign = true;
    prompts.fileNames = {working / "site/Bob's copy.htm"};
    ASSERT_TRUE(session.files().saveAsPage());
    EXPECT_EQ(prompts.saveRequests[0].title, "Save Current Page As");
    EXPECT_EQ(page().fileName, "Bob's copy.htm");
    EXPECT_EQ(page().pageTitle, "My design");
    EXPECT_EQ(page().texts, std::vector<std::string>{"pagetextitem4~<P>mine</P>"});
    EXPECT_FALSE(workspace().flags.keepDesign);

    // A later new page starts from a fresh design again.
    prompts.fileNames = {working / "site/fresh.html"};
    session.files().newPage();
    EXPECT_EQ(page().pageTitle, "New Web Page");
    EXPECT_TRUE(page().texts.empty());
}

TEST_F(PageFilesTest, CancelledSaveAsClearsTheKeepDesignFlag) {
    designSomething();
    workspace().flags.keepDesign = true;
    EXPECT_FALSE(session.files().saveAsPage());
    EXPECT_FALSE(workspace().flags.keepDesign);
    EXPECT_EQ(page().fileName, "current.html");
}

TEST_F(PageFilesTest, RenameRefusesAnEmptyOrDuplicateName) {
    designSomething();
    for (const char* name : {"current.html", "taken.html"}) {
        workspace().pages.add(name);
    }
    workspace().pages.select(0);

    prompts.pageNames = {std::string(), std::string("taken")};
    session.files().renamePage();
    session.files().renamePage();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "Name change failed, invalid name");
    EXPECT_EQ(prompts.shown[0].caption, "Invalid Page Name");
    EXPECT_EQ(prompts.shown[1].text, "New file name is duplicate of existing");
    EXPECT_EQ(prompts.shown[1].caption, "Invalid Page Name");
    EXPECT_EQ(page().fileName, "current.html");
    EXPECT_EQ(workspace().pages.entries(),
              (std::vector<std::string>{"current.html", "taken.html"}));
}

TEST_F(PageFilesTest, RenameMovesRowFileAndListEntryAndRefreshesTheControls) {
    designSomething();
    ASSERT_TRUE(session.store().savePage(page()));
    WriteFile(working / "site/current.html", "published");
    WriteFile(working / "controls1.txt", "<p>controls</p>");
    for (const char* name : {"current.html", "other.html"}) {
        workspace().pages.add(name);
    }
    workspace().pages.select(0);

    prompts.pageNames = {std::string("Anna's page!")};
    session.files().renamePage();
    EXPECT_EQ(page().fileName, "Anna-s page-.html");
    EXPECT_EQ(workspace().pages.entries(),
              (std::vector<std::string>{"other.html", "Anna-s page-.html"}));
    EXPECT_EQ(workspace().pages.selectedText(), "Anna-s page-.html");
    EXPECT_EQ(session.store().pageIdOf(siteFolder(), "Anna-s page-.html"), "1");
    EXPECT_EQ(ReadFile(working / "site/Anna-s page-.html"), "published");
    EXPECT_FALSE(std::filesystem::exists(working / "site/current.html"));
    EXPECT_EQ(session.controls().folderLabel(), "[Click for a Corvala web folder]");
    EXPECT_TRUE(std::filesystem::exists(working / "controls.html"));
    EXPECT_EQ(browser.addresses, std::vector<std::string>{working / "quillscreen.html"});
}

TEST_F(PageFilesTest, RenameToItsOwnNameIsAccepted) {
    designSomething();
    workspace().pages.add("current.html");
    workspace().pages.select(0);
    workspace().hosting.folderName = "My-Site";
    prompts.pageNames = {std::string("current")};
    session.files().renamePage();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(page().fileName, "current.html");
    EXPECT_EQ(session.controls().folderLabel(), "http://www.corvala.example/My-Site/current.html");
}

TEST_F(PageFilesTest, TitleChangesOnlyWhenConfirmed) {
    designSomething();
    workspace().caption = "My design";
    prompts.titles = {std::nullopt, std::string("Zoë's page")};
    session.files().editPageTitle();
    EXPECT_EQ(page().pageTitle, "My design");
    session.files().editPageTitle();
    EXPECT_EQ(prompts.titlesShown, (std::vector<std::string>{"My design", "My design"}));
    EXPECT_EQ(page().pageTitle, "Zoë's page");
    EXPECT_EQ(workspace().caption, "Zoë's page");
}

TEST_F(PageFilesTest, PreviewAndHelpOpenInTheUsersBrowser) {
    designSomething();
    session.files().previewPage();
    session.files().showHelp();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{working / "site/current.html",
                                                      working / "help/quillhelp.html"}));
}
