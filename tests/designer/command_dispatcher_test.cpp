#include "designer/command_dispatcher.h"

#include <gtest/gtest.h>

#include "support/designer_fixture.h"

namespace {

class CommandDispatcherTest : public DesignerFixture {
  protected:
    CommandDispatcherTest() {
        selectFolder(siteFolder());
        page().directory = siteFolder();
        page().fileName = "page.html";
        workspace().pages.select(workspace().pages.add("page.html"));
    }
    bool dispatch(const std::string& address) {
        return session.dispatcher().beforeNavigate(address);
    }
    std::string editorPage() { return ReadFile(working / "quilltemp.html"); }
};

}  // namespace

TEST_F(CommandDispatcherTest, ProgramPagesLoadAndEverythingElseIsKeptOut) {
    for (const std::string& allowed :
         {"file://" + working / "quillscreen.html", "file://" + working / "quilltemp.html",
          "file://" + working / "controls.html", std::string("javascript:void(0)"),
          std::string("Javascript:centerItem('x')"), session.dispatcher().welcomePageAddress()}) {
        EXPECT_FALSE(dispatch(allowed)) << allowed;
    }
    EXPECT_EQ(session.dispatcher().welcomePageAddress(), "file://" + working / "quillstart.html");
    // Whole paths only: a name alike somewhere else is not the program's page.
    for (const std::string& foreign :
         {std::string("http://www.example.com/somewhere.html"), std::string("file:///etc/passwd"),
          std::string("http://evil.example/quillscreen.html"),
          "file://" + working / "webpages/quillhelp.html",
          std::string("file:///tmp/quilltemp.html"),
          "file://" + working / "quillscreen.html.evil.html"}) {
        EXPECT_TRUE(dispatch(foreign)) << foreign;
    }
    EXPECT_TRUE(session.dispatcher().allows("file://" + working / "help/quillhelp.html#top"));
    EXPECT_TRUE(operations.calls.empty());
    EXPECT_TRUE(browser.addresses.empty());
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(CommandDispatcherTest, ResumeLoadsTheLastPageEvenFromAnAllowedPage) {
    workspace().flags.noSaveOnExit = true;
    EXPECT_TRUE(dispatch("file://" + working / "quillstart.html?resumelastsession"));
    EXPECT_FALSE(workspace().flags.noSaveOnExit);
    EXPECT_EQ(browser.addresses, std::vector<std::string>{working / "quillscreen.html"});
}

TEST_F(CommandDispatcherTest, ExternalPagesOpenInTheUsersBrowser) {
    EXPECT_TRUE(dispatch("http://www.quillora.example/externalpage.corvala.example/terms.html"));
    EXPECT_EQ(shell.opened, std::vector<std::string>{"http://www.corvala.example/terms.html"});
}

TEST_F(CommandDispatcherTest, TheClipboardCacheKeepsTheUsersTextUntilTheCommandIsDone) {
    clipboard.content = "copied by the user";
    EXPECT_TRUE(dispatch("http://clipboardcache/"));
    EXPECT_EQ(workspace().editor.clipboardCache, "copied by the user");
    // A second announcement before any command must not take the first one's layout for the
    // user's text.
    clipboard.content = "layout";
    dispatch("http://clipboardcache/");
    EXPECT_EQ(workspace().editor.clipboardCache, "copied by the user");
    // A command that has no use for the layout gives the user's text back all the same.
    clipboard.content = "layout";
    prompts.clickOptions = {"NONE"};
    dispatch("http://edittextpagetextitem1~/");
    EXPECT_EQ(clipboard.content, "copied by the user");
}

TEST_F(CommandDispatcherTest, SiteOptionsAskForTheAgreementFirstWhenThereIsNoFolder) {
    EXPECT_TRUE(dispatch("http://www.corvala.example/siteoptions"));
    EXPECT_EQ(operations.calls, std::vector<std::string>{"acceptHostingAgreement()"});
    operations.calls.clear();
    operations.agreementAccepted = true;
    dispatch("http://www.corvala.example/siteoptions");
    EXPECT_EQ(operations.calls,
              (std::vector<std::string>{"acceptHostingAgreement()", "siteOptions()"}));
    operations.calls.clear();
    workspace().hosting.folderName = "My-Site";
    dispatch("http://www.corvala.example/siteoptions");
    EXPECT_EQ(operations.calls, std::vector<std::string>{"siteOptions()"});
}

TEST_F(CommandDispatcherTest, AddCommandsHandOverTheirArgument) {
    EXPECT_TRUE(dispatch("http://addtriggeraddtext120~200/"));
    EXPECT_TRUE(dispatch("http://addtriggeraddgraphic57~37/"));
    // Without a "/" after it the argument is empty.
    EXPECT_TRUE(dispatch("http://addtriggeraddtext120~200"));
    EXPECT_EQ(operations.calls,
              (std::vector<std::string>{"addItem(addtext120~200)", "addItem(addgraphic57~37)",
                                        "addItem()"}));
}

TEST_F(CommandDispatcherTest, SaveWritesThePublishedPage) {
    handOver("<div id='pagetextitem1~' style='a'>");
    page().texts = {"pagetextitem1~<P>saved</P>"};
    EXPECT_TRUE(dispatch("http://savepage/"));
    EXPECT_NE(ReadFile(working / "site/page.html").find("<P>saved</P>"), std::string::npos);
    EXPECT_EQ(rowCount("quillprojects"), 1);
}

TEST_F(CommandDispatcherTest, SaveAsIsNotAlsoASave) {
    handOver("<div id='pagetextitem1~' style='a'>");
    page().texts = {"pagetextitem1~<P>kept</P>"};
    prompts.fileNames = {working / "site/copy.html"};
    EXPECT_TRUE(dispatch("http://save_as_page/"));
    // One save only, under the new name, with the design kept.
    EXPECT_EQ(rowCount("quillprojects"), 1);
    EXPECT_EQ(session.store().pageIdOf(siteFolder(), "copy.html"), "1");
    EXPECT_NE(ReadFile(working / "site/copy.html").find("<P>kept</P>"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(working / "site/page.html"));
    EXPECT_FALSE(workspace().flags.keepDesign);
}

TEST_F(CommandDispatcherTest, PreviewWritesThenShowsThePage) {
    EXPECT_TRUE(dispatch("http://previewpage/"));
    EXPECT_TRUE(std::filesystem::exists(working / "site/page.html"));
    EXPECT_EQ(shell.opened, std::vector<std::string>{working / "site/page.html"});
}

TEST_F(CommandDispatcherTest, UploadAndServerDeletionGoToTheirOperations) {
    EXPECT_TRUE(dispatch("http://uploadpage/"));
    EXPECT_TRUE(dispatch("http://deleteservpages/"));
    EXPECT_EQ(operations.calls, (std::vector<std::string>{"uploadPage()", "deleteServerPages()"}));
}

TEST_F(CommandDispatcherTest, ContainerCommandsRedrawWithTheNewWidth) {
    clipboard.content = "users text";
    handOver("<div id='pagetextitem1~' style='a'>");
    page().pageLength = "1500";
    EXPECT_TRUE(dispatch("http://pagecontainer1/"));
    EXPECT_EQ(page().pageWidth, "700");
    EXPECT_EQ(page().pageContainer, PageContainerMarkup("700", "1500"));
    EXPECT_EQ(page().stylesData, "<div id='pagetextitem1~' style='a'>");
    EXPECT_EQ(clipboard.content, "users text");
    EXPECT_NE(editorPage().find("width:700px;height:1500px"), std::string::npos);

    for (const auto& [word, width] : std::vector<std::pair<std::string, std::string>>{
             {"pagecontainer2", "800"}, {"pagecontainer3", "900"}}) {
        dispatch("http://" + word + "/");
        EXPECT_EQ(page().pageWidth, width);
        EXPECT_EQ(page().pageContainer, PageContainerMarkup(width, "1500"));
    }
    dispatch("http://pagecontainer0/");
    EXPECT_EQ(page().pageWidth, "0");
    EXPECT_EQ(page().pageContainer, "");
    EXPECT_EQ(browser.addresses.size(), 4u);
}

TEST_F(CommandDispatcherTest, GridCommandsSetPictureStartAndSpacing) {
    const std::vector<std::vector<std::string>> grids = {{"gridchange1", "grid1.gif", "5", "10"},
                                                         {"gridchange2", "grid2.gif", "10", "20"},
                                                         {"gridchange3", "grid3.gif", "25", "50"},
                                                         {"gridchange0", "", "0", "0"}};
    for (const std::vector<std::string>& grid : grids) {
        EXPECT_TRUE(dispatch("http://" + grid[0] + "/"));
        const EditorState& editor = workspace().editor;
        EXPECT_EQ(editor.gridPicture, grid[1]);
        EXPECT_EQ(editor.gridStart, grid[2]);
        EXPECT_EQ(editor.gridSetting, grid[3]);
        EXPECT_NE(ReadFile(working / "controlstart.js").find("var gridsetting = " + grid[3]),
                  std::string::npos);
    }
}

TEST_F(CommandDispatcherTest, AClickedTextIsEditedDeletedOrCentredAsChosen) {
    prompts.clickOptions = {std::string("EDIT"), std::string("DELETE"), std::string("CENTER"),
                            std::string("NONE"), std::nullopt};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(dispatch("http://edittextpagetextitem12~/"));
    }
    EXPECT_EQ(operations.calls, (std::vector<std::string>{"editText(pagetextitem12~/)",
                                                          "deleteText(pagetextitem12~/)"}));
    EXPECT_NE(editorPage().find("onload=Javascript:centerItem('pagetextitem12~')"),
              std::string::npos);
    EXPECT_EQ(browser.addresses.size(), 1u);
}

TEST_F(CommandDispatcherTest, AClickedPictureIsNamedUpToItsTilde) {
    prompts.clickOptions = {std::string("CENTER"), std::string("EDIT"), std::string("DELETE")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dispatch("http://editimagepageimageitem417~/"));
    }
    EXPECT_NE(editorPage().find("onload=Javascript:centerItem('pageimageitem417~')"),
              std::string::npos);
    EXPECT_EQ(operations.calls, (std::vector<std::string>{"editPicture(pageimageitem417~)",
                                                          "deletePicture(pageimageitem417~)"}));
}

TEST_F(CommandDispatcherTest, BackgroundAndLengthCommandsPassTheirTarget) {
    EXPECT_TRUE(dispatch("http://backgroundimagepage/"));
    EXPECT_TRUE(dispatch("http://backgroundcolorbody/"));
    EXPECT_TRUE(dispatch("http://backgroundcolorpage"));
    EXPECT_TRUE(dispatch("http://changepagelength/"));
    EXPECT_EQ(operations.calls,
              (std::vector<std::string>{"backgroundPicture(page/)", "backgroundColour(body/)",
                                        "backgroundColour(page)", "pageLength()"}));
}

TEST_F(CommandDispatcherTest, EncodedSpacesArriveAsSpacesAndEveryNamedCommandRuns) {
    prompts.clickOptions = {std::string("EDIT")};
    // Two command words in one address run both, in the table's order; arguments are counted
    // from the start of the whole address.
    EXPECT_TRUE(dispatch("http://uploadpage/http://edittextpagetextitem1~my%20note/"));
    EXPECT_EQ(operations.calls,
              (std::vector<std::string>{"uploadPage()",
                                        "editText(ge/http://edittextpagetextitem1~my note/)"}));
}

TEST_F(CommandDispatcherTest, ACommandOnAnAllowedPageIsStillCancelled) {
    EXPECT_TRUE(dispatch("file://" + working / "quilltemp.html#gridchange2"));
    EXPECT_FALSE(dispatch("file://" + working / "quilltemp.html#http://uploadpage/"));
}

TEST(BrowserAddress, OneWordAddressesGetTheirSlashAndSpacesAreEncoded) {
    EXPECT_EQ(BrowserAddress("http://edittextpagetextitem1~"), "http://edittextpagetextitem1~/");
    EXPECT_EQ(BrowserAddress("http://savepage/"), "http://savepage/");
    EXPECT_EQ(BrowserAddress("http://www.example.com/a b.html"),
              "http://www.example.com/a%20b.html");
    EXPECT_EQ(BrowserAddress("file:///home/me/quillworking/quilltemp.html"),
              "file:///home/me/quillworking/quilltemp.html");
}

TEST_F(CommandDispatcherTest, TheHelpPageIsOneOfTheProgramsOwnPages) {
    EXPECT_FALSE(dispatch("file://" + working / "help/quillhelp.html"));
    EXPECT_TRUE(session.dispatcher().allows("file://" + working / "quillscreen.html"));
    EXPECT_FALSE(session.dispatcher().allows("http://savepage/"));
}
