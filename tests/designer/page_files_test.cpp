#include "designer/pages/page_files.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "common/paths.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "publish/batch_publish.h"
#include "site/link_follow.h"
#include "store/page_store.h"

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

// Save As and New Page take a name without an extension as a web page, and refuse a hidden
// name, which could take the place of the folder's shared items.
TEST_F(PageFilesTest, ReservedAndBareNamesAreMadeSafe) {
    designSomething();
    const std::string refusal =
        "A page name cannot start with \".\": such a file is hidden, and .siteitems holds the "
        "items every page of the folder shares. Choose another name.";
    const struct {
        const char* typed;
        bool newPage;
        const char* fileName;
    } cases[] = {
        {".siteitems", false, nullptr},   {".siteitems", true, nullptr},
        {".hidden.html", false, nullptr}, {"notes", false, "notes.html"},
        {"notes", true, "notes.html"},    {"old.htm", false, "old.htm"},
    };
    for (const auto& typed : cases) {
        page().fileName = "current.html";
        prompts.shown.clear();
        prompts.fileNames = {working / ("site/" + std::string(typed.typed))};
        if (typed.newPage) {
            session.files().newPage();
        } else {
            EXPECT_EQ(session.files().saveAsPage(), typed.fileName != nullptr) << typed.typed;
        }
        if (typed.fileName == nullptr) {
            ASSERT_EQ(prompts.shown.size(), 1u) << typed.typed;
            EXPECT_EQ(prompts.shown[0].text, refusal);
            EXPECT_EQ(page().fileName, "current.html");
        } else {
            EXPECT_TRUE(prompts.shown.empty()) << typed.typed;
            EXPECT_EQ(page().fileName, typed.fileName) << typed.typed;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(working / "site/.siteitems"));
    EXPECT_FALSE(std::filesystem::exists(working / "site/.html"));
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

TEST(LinkFollow, LinksToTheOldNameLeadToTheNewOneAndNoOthers) {
    const struct {
        std::string markup;
        std::string rewritten;
        int changed;
    } cases[] = {
        {"<A  HREF='old.html'>on</A>", "<A  HREF='new.html'>on</A>", 1},
        {"<a href=\"old.html#top\">x</a> <a href = old.html?q=1>y</a>",
         "<a href=\"new.html#top\">x</a> <a href = new.html?q=1>y</a>", 2},
        {"<a href='older.html'>x</a><a href='sub/old.html'>y</a>"
         "<a href='https://example.org/old.html'>z</a> old.html",
         "<a href='older.html'>x</a><a href='sub/old.html'>y</a>"
         "<a href='https://example.org/old.html'>z</a> old.html",
         0},
        {"{\\rtf1\\ansi {\\f0 see <A HREF='old.html'>here</A>\\par}}",
         "{\\rtf1\\ansi {\\f0 see <A HREF='new.html'>here</A>\\par}}", 1},
    };
    for (const auto& test : cases) {
        std::string markup = test.markup;
        EXPECT_EQ(RewriteLinks(markup, "old.html", "new.html"), test.changed) << test.markup;
        EXPECT_EQ(markup, test.rewritten);
    }
}

// Renamed, a page takes its links along: the pages that led to it are stored and written
// again, and the user is told which; the others are left as they were.
TEST_F(PageFilesTest, ARenamedPageTakesTheLinksToItAlong) {
    designSomething();
    page().fileName = "old.html";
    ASSERT_TRUE(session.store().savePage(page()));
    PageRecord linking;
    linking.directory = siteFolder();
    linking.fileName = "a.html";
    linking.stylesData = "<div id='pagetextitem1~' style='left:5px'>";
    linking.texts = {"pagetextitem1~<A  HREF='old.html'>on</A>"};
    linking.richTexts = {"{\\rtf1 <A HREF='old.html'>on</A>}"};
    std::filesystem::create_directories(working / "pics");
    WriteFile(working / "pics/sun.gif", "sun");
    linking.pictures = {"pageimageitem2~" + working / "pics/sun.gif"};
    linking.links = {"old.html#top"};
    PageRecord unrelated = linking;
    unrelated.fileName = "c.html";
    unrelated.texts = {"pagetextitem1~<A HREF='elsewhere.html'>on</A>"};
    unrelated.richTexts = {"{\\rtf1 x}"};
    unrelated.links = {""};
    ASSERT_TRUE(session.store().savePage(linking));
    ASSERT_TRUE(session.store().savePage(unrelated));
    for (const char* name : {"old.html", "a.html", "c.html"}) {
        workspace().pages.add(name);
    }
    workspace().pages.select(0);

    prompts.pageNames = {std::string("new")};
    session.files().renamePage();
    PageRecord stored;
    ASSERT_TRUE(session.store().loadPage(stored, siteFolder(), "a.html"));
    EXPECT_EQ(stored.texts, std::vector<std::string>{"pagetextitem1~<A  HREF='new.html'>on</A>"});
    EXPECT_EQ(stored.richTexts, std::vector<std::string>{"{\\rtf1 <A HREF='new.html'>on</A>}"});
    EXPECT_EQ(stored.links, std::vector<std::string>{"new.html#top"});
    EXPECT_NE(ReadFile(working / "site/a.html").find("HREF='new.html'>on"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(working / "site/c.html"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The links to old.html now lead to new.html in a.html. Those pages were stored "
              "and written again.");
}

// Publish Site writes every page of the folder from its stored design, the open one stored
// first, with the very bytes the command line writes.
TEST_F(PageFilesTest, PublishSiteWritesEveryPageAsTheCommandLineDoes) {
    designSomething();
    ASSERT_TRUE(session.store().savePage(page()));
    PageRecord other = page();
    other.fileName = "other.html";
    other.texts = {"pagetextitem4~<P>other</P>"};
    ASSERT_TRUE(session.store().savePage(other));
    // Each page's file stands in the folder, as its save left it.
    WriteFile(working / "site/current.html", "saved");
    WriteFile(working / "site/other.html", "saved");
    workspace().pages.add("current.html");
    workspace().pages.select(0);
    page().texts = {"pagetextitem4~<P>changed since the save</P>"};

    session.pages().publishSite();
    EXPECT_EQ(prompts.progressShown,
              (std::vector<std::string>{"Publishing current.html 0/2", "Publishing other.html 1/2",
                                        " 2/2"}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "2 pages of " + siteFolder() + " written.");
    const std::string current = ReadFile(working / "site/current.html");
    const std::string second = ReadFile(working / "site/other.html");
    EXPECT_NE(current.find("changed since the save"), std::string::npos);
    std::filesystem::remove(working / "site/current.html");
    std::filesystem::remove(working / "site/other.html");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBatchPublish({siteFolder()}, working.path(), out, err), 0) << err.str();
    EXPECT_EQ(ReadFile(working / "site/current.html"), current);
    EXPECT_EQ(ReadFile(working / "site/other.html"), second);
}

TEST(SiteMenu, EachPageMarksItselfAndGonePagesLeaveTheMenu) {
    SiteMenu menu = MenuOfPages({{"index.html", "Home"}, {"about.html", ""}});
    menu.pages.emplace_back("gone.html", "Gone");
    menu.pages[0].second = "Home & <garden>";
    ASSERT_EQ(ReadSiteMenu(WriteSiteMenu(menu))->pages, menu.pages);
    const FolderPages pages = {
        {"index.html", "Home"}, {"about.html", "About"}, {"new.html", "New"}};
    const std::string markup = SiteMenuMarkup(menu, "about.html", pages);
    EXPECT_NE(markup.find("<nav class='quillora-menu' aria-label='Site'>"), std::string::npos);
    EXPECT_NE(markup.find("<ul><li><a href='index.html'>Home &amp; &lt;garden></a></li>"
                          "<li><a href='about.html' aria-current='page'>about.html</a></li>"
                          "<li><a href='new.html'>New</a></li></ul></nav>"),
              std::string::npos)
        << markup;
    EXPECT_EQ(markup.find("gone.html"), std::string::npos);
    EXPECT_NE(markup.find("min-height:48px"), std::string::npos);
    menu.newPages = false;
    menu.colour = "red;}</style><script>";
    const std::string fixed = SiteMenuMarkup(menu, "index.html", pages);
    EXPECT_EQ(fixed.find("new.html"), std::string::npos);
    EXPECT_EQ(fixed.find("<script>"), std::string::npos);
    EXPECT_NE(fixed.find("color:#000000"), std::string::npos);
}

TEST(SiteMenu, PagesLeftOutStayOutAndDefaultTitlesGiveWayToFileNames) {
    const FolderPages pages = {{"index.html", "Home"},
                               {"contact.html", kDefaultPageTitle},
                               {"later.html", kDefaultPageTitle}};
    SiteMenu menu = MenuOfPages({{"index.html", "Home"}, {"contact.html", kDefaultPageTitle}});
    EXPECT_EQ(menu.pages[1].second, "contact.html") << "not \"New Web Page\" for every page";
    menu.leftOut = {"index.html"};
    const SiteMenu read = *ReadSiteMenu(WriteSiteMenu(menu));
    EXPECT_EQ(read.leftOut, menu.leftOut);
    menu.pages.erase(menu.pages.begin());
    const std::string markup = SiteMenuMarkup(menu, "contact.html", pages);
    EXPECT_EQ(markup.find("index.html"), std::string::npos) << "left out, though pages join";
    EXPECT_NE(markup.find("<a href='later.html'>later.html</a>"), std::string::npos) << markup;
    EXPECT_EQ(WriteSiteMenu(MenuOfPages(pages)).find("LEFTOUT"), std::string::npos)
        << "a menu without pages left out keeps its stored text";
    SiteMenu renamed = menu;
    ASSERT_TRUE(RenameInMenu(renamed, "index.html", "home.html"));
    EXPECT_EQ(renamed.leftOut, std::vector<std::string>{"home.html"});

    // A new title relabels the entries its old title labelled, never a label the user wrote.
    struct Case {
        const char* label;
        const char* oldTitle;
        const char* newTitle;
        const char* after;
    };
    for (const Case& test : {Case{"contact.html", kDefaultPageTitle, "Contact", "Contact"},
                             Case{"Contact", "Contact", "Write to us", "Write to us"},
                             Case{"Say hello", "Contact", "Write to us", "Say hello"},
                             Case{"Contact", "Contact", kDefaultPageTitle, "contact.html"}}) {
        SiteMenu one;
        one.pages = {{"contact.html", test.label}};
        RetitleInMenu(one, "contact.html", test.oldTitle, test.newTitle);
        EXPECT_EQ(one.pages[0].second, test.after) << test.label << " -> " << test.newTitle;
    }
}

// A shared menu over three pages, one renamed between two publishes: every page marks
// itself, and no published link leads to a page that is not there.
TEST_F(PageFilesTest, AMenuFollowsARenameAndNoLinkLeadsNowhere) {
    for (const char* name : {"index.html", "about.html", "news.html"}) {
        PageRecord page;
        page.directory = siteFolder();
        page.fileName = name;
        page.pageTitle = std::string("Title of ") + name;
        // Each page links to the next by a link typed into a section too.
        page.stylesData = "<div id='pagetextitem1~' style='left:5px;top:300px'>";
        page.texts = {std::string("pagetextitem1~<A HREF='") +
                      (name == std::string("index.html") ? "about.html" : "index.html") +
                      "'>on</A>"};
        page.richTexts = {"{\\rtf1 on}"};
        page.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
        ASSERT_TRUE(session.store().savePage(page));
        workspace().pages.add(name);
    }
    PageRecord site;
    site.directory = siteFolder();
    site.fileName = kSiteItemsFile;
    site.elementCount = 1;
    site.stylesData =
        "<div id='pagetextitemS1~' style='position: absolute; top: 0px; left: "
        "0px; visibility: visible;'>";
    site.texts = {"pagetextitemS1~"};
    site.richTexts = {WriteSiteMenu(MenuOfPages(session.store().sitePages(siteFolder())))};
    site.textProperties = {"pagetextitemS1~^^^^^NOJUSTIFY"};
    ASSERT_TRUE(session.store().savePage(site));
    session.pages().publishSite();

    // Renames one after another, a name given up taken again among them.
    const std::regex link("href='([^']*)'", std::regex::icase);
    for (const auto& [from, to] : {std::pair{"about.html", "team"},
                                   {"team.html", "people"},
                                   {"news.html", "about"},
                                   {"index.html", "home"}}) {
        const std::vector<std::string>& names = workspace().pages.entries();
        workspace().pages.select(
            static_cast<std::size_t>(std::find(names.begin(), names.end(), from) - names.begin()));
        page() = PageRecord();
        ASSERT_TRUE(session.store().loadPage(page(), siteFolder(), from));
        page().directory = siteFolder();
        page().fileName = from;
        prompts.pageNames = {std::string(to)};
        session.files().renamePage();
        for (const std::string& name : session.store().pageNames(siteFolder())) {
            const std::string published = ReadFile(JoinPath(siteFolder(), name));
            EXPECT_NE(published.find("<a href='" + name + "' aria-current='page'>"),
                      std::string::npos)
                << name << " after " << from;
            for (auto found = std::sregex_iterator(published.begin(), published.end(), link);
                 found != std::sregex_iterator(); ++found) {
                EXPECT_TRUE(std::filesystem::exists(JoinPath(siteFolder(), (*found)[1].str())))
                    << name << " leads to " << (*found)[1].str() << " after " << from;
            }
        }
    }
    EXPECT_NE(ReadFile(JoinPath(siteFolder(), "home.html")).find(">Title of about.html</a>"),
              std::string::npos);

    // A page new to the folder joins every page's menu at its first save.
    page() = PageRecord();
    page().directory = siteFolder();
    page().fileName = "contact.html";
    ASSERT_FALSE(session.store().loadPage(page(), siteFolder(), "contact.html"));
    page().pageTitle = "Contact";
    workspace().pages.select(workspace().pages.add("contact.html"));
    handOver(page().stylesData);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    for (const char* name : {"home.html", "contact.html"}) {
        EXPECT_NE(ReadFile(JoinPath(siteFolder(), name)).find("<a href='contact.html'"),
                  std::string::npos)
            << name;
    }
    // Saved under a new title, it has that title in every page's menu at once.
    page().pageTitle = "Write to us";
    handOver(page().stylesData);
    ASSERT_TRUE(session.publisher().writePublishedPage());
    EXPECT_NE(ReadFile(JoinPath(siteFolder(), "home.html"))
                  .find("<a href='contact.html'>Write to us</a>"),
              std::string::npos);
}
