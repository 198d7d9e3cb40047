#include "designer/editor_page/editor_page_writer.h"

#include <gtest/gtest.h>

#include "designer/editor_page/controls_page.h"
#include "page_fixtures.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

std::string Golden(const std::string& name) {
    return ReadFile(std::string(QUILLORA_TEST_DATA) + "/designer/golden/" + name);
}

class EditorPageWriterTest : public ::testing::Test {
  protected:
    std::string editorPage() { return ReadFile(working / "quilltemp.html"); }
    void expectShownOnce() {
        ASSERT_EQ(browser.addresses.size(), 1u);
        EXPECT_EQ(browser.addresses[0], working / "quillscreen.html");
    }

    TempFolder working;
    FakeBrowser browser;
    FakeClipboard clipboard;
    ControlsPage controls{working.path()};
    FakePrompts prompts;
    EditorPageWriter writer{working.path(), controls, browser, clipboard, prompts};
    EditorState editor;
};

}  // namespace

TEST_F(EditorPageWriterTest, RedrawTakesTheLayoutFromTheClipboardAndGivesTheUsersTextBack) {
    PageRecord page;
    page.stylesData = "stale layout that must be replaced";
    clipboard.content = "";
    editor.clipboardCache = "what the user had copied";
    editor.layoutAnnounced = true;
    writer.writeRedraw(page, editor);
    EXPECT_EQ(page.stylesData, "");
    EXPECT_EQ(clipboard.content, "what the user had copied");
    EXPECT_EQ(editorPage(), Golden("redraw_fullscreen_empty.html"));
    EXPECT_EQ(ReadFile(working / "controlstart.js"),
              "var gridsetting = 0;\nvar gridstart = 0;\nfunction setForm()\n"
              "{document.form1.screensize.value = 'Full Screen';\n}");
    // The redraw leaves the controls page alone.
    EXPECT_FALSE(std::filesystem::exists(working / "controls.html"));
    expectShownOnce();
}

TEST_F(EditorPageWriterTest, RedrawWithItemsClosesTheDragListAndClearsTheCentring) {
    PageRecord page = ItemPage();
    clipboard.content = page.stylesData;
    editor.layoutAnnounced = true;
    page.stylesData.clear();
    editor.centringRequest = " onload=Javascript:centerItem('pagetextitem1~') ";
    writer.writeRedraw(page, editor);
    const std::string text = editorPage();
    EXPECT_NE(text.find("<body background = 'backgrounds/sky.gif'  onload=Javascript:centerItem("
                        "'pagetextitem1~') oncontextmenu"),
              std::string::npos);
    EXPECT_NE(text.find("SET_DHTML(CURSOR_HAND,RESIZABLE,'pagetextitem1~','pageimageitem417~',"
                        "'pageimageitem9~','pagetextitem3~','pageimageitem5~');//--></script>"
                        "</body></html>"),
              std::string::npos);
    EXPECT_EQ(text.find("pagecontainer'+NO_DRAG"), std::string::npos);
    EXPECT_EQ(editor.centringRequest, "");
}

TEST_F(EditorPageWriterTest, LoadOfAnEmptyContainerPageWithGrid) {
    PageRecord page;
    page.pageWidth = "700";
    page.pageContainer = PageContainerMarkup("700", "1000");
    page.backImage = "ignored-by-grid.gif";
    page.pageImage = "ignored.jpg";
    editor.gridPicture = "grid2.gif";
    editor.gridSetting = "20";
    editor.gridStart = "10";
    editor.centringRequest = " onload=Javascript:centerItem('pagetextitem4~') ";
    WriteFile(working / "controls1.txt", "<HTML>\r\n<BODY>\r\n<FORM name=form1>");
    writer.writeLoad(page, editor);
    EXPECT_EQ(editorPage(), Golden("load_container_grid_empty.html"));
    EXPECT_EQ(ReadFile(working / "controlstart.js"),
              "var gridsetting = 20;\nvar gridstart = 10;\nfunction setForm()\n"
              "{document.form1.screensize.value = '700 pixels';\n}");
    EXPECT_EQ(ReadFile(working / "controls.html"),
              "<HTML><BODY><FORM name=form1></TR></FORM></TABLE></BODY></HTML>");
    EXPECT_EQ(editor.centringRequest, "");
    expectShownOnce();
}

TEST_F(EditorPageWriterTest, LoadWritesEveryItemWithoutLinks) {
    writer.writeLoad(ItemPage(), editor);
    EXPECT_EQ(editorPage(), Golden("load_items.html"));
}

TEST_F(EditorPageWriterTest, LoadOfAnEmptyFullScreenPageStillStartsDragging) {
    writer.writeLoad(PageRecord(), editor);
    const std::string text = editorPage();
    const std::string ending =
        "<IMG name='addtarget' SRC='quillmenu_off.gif' ISMAP USEMAP='#linkareas' BORDER=0></div>"
        "<script type='text/javascript'><!-- \nSET_DHTML(CURSOR_HAND,RESIZABLE);//--></script>"
        "</body></html>";
    ASSERT_GE(text.size(), ending.size());
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
    EXPECT_EQ(text.find("</CENTER>"), std::string::npos);
}

TEST_F(EditorPageWriterTest, PictureChangeLinksScalesAndSkipsDeletedPictures) {
    const PageRecord page = ItemPage();
    writer.writePictureChange(page, editor);
    EXPECT_EQ(editorPage(), Golden("picture_change_items.html"));
    EXPECT_FALSE(std::filesystem::exists(working / "controls.html"));
    expectShownOnce();
}

TEST_F(EditorPageWriterTest, PictureChangeOnAnEmptyFullScreenPageHasNoScript) {
    writer.writePictureChange(PageRecord(), editor);
    EXPECT_EQ(editorPage().find("SET_DHTML"), std::string::npos);
}

TEST_F(EditorPageWriterTest, AddPictureDrawsTheNewPictureAndListsIt) {
    PageRecord page;
    page.pageWidth = "700";
    page.pageContainer = PageContainerMarkup("700", "1000");
    writer.writeAddPicture(page, editor,
                           {"pageimageitem33~", "/pics/new.gif", "100", "120", "32", "16"});
    EXPECT_EQ(editorPage(), Golden("add_picture_container.html"));
    EXPECT_TRUE(std::filesystem::exists(working / "controls.html"));
    expectShownOnce();

    // No picture taken: nothing drawn, yet the name is listed.
    writer.writeAddPicture(PageRecord(), editor, {"pageimageitem34~", "", "1", "2", "3", "4"});
    const std::string text = editorPage();
    EXPECT_EQ(text.find("dpageimageitem34~"), std::string::npos);
    EXPECT_NE(text.find("RESIZABLE,'pageimageitem34~'+SCALABLE);//--></script></body></html>"),
              std::string::npos);
}

TEST_F(EditorPageWriterTest, TextDoneForANewItemAddsItsFrameAndResetsTheStyleRequest) {
    PageRecord page;
    page.backColor = "#336699";
    page.stylesData = kTextRecord1;
    page.texts = {"pagetextitem1~<P>Hello</P>", "pagetextitem2~<P>New</P>"};
    editor.currentTextId = "pagetextitem2~";
    editor.newTextLeft = "150";
    editor.newTextTop = "220";
    editor.styleRequest = {" onload=Javascript:styleChange('pagetextitem2~') ",
                           "#000000 1px  solid", "", "#FFFFFF", "center"};
    writer.writeTextDone(page, editor, {"<P>New</P>", ";text-align:center", false});
    EXPECT_EQ(editorPage(), Golden("text_done_new_fullscreen.html"));
    EXPECT_TRUE(std::filesystem::exists(working / "controls.html"));
    expectShownOnce();
    EXPECT_EQ(editor.styleRequest.onload, "");
    EXPECT_EQ(editor.styleRequest.border, " ");
    EXPECT_EQ(editor.styleRequest.backgroundPicture, " ");
    EXPECT_EQ(editor.styleRequest.backgroundColour, " ");
    EXPECT_EQ(editor.styleRequest.textAlignment, "center");
}

TEST_F(EditorPageWriterTest, TextDoneForAnEditedItemListsPictureDivs) {
    editor.currentTextId = "pagetextitem3~";
    editor.newTextLeft = "none";
    editor.styleRequest = {" onload=Javascript:styleChange('pagetextitem3~') ",
                           "#FF0000 2px  solid", "backgrounds/paper.jpg", "#FFFFCC", "right"};
    writer.writeTextDone(ItemPage(), editor, {"<P>Third</P>", ";text-align:right", false});
    EXPECT_EQ(editorPage(), Golden("text_done_edited_items.html"));
}

TEST_F(EditorPageWriterTest, CancelledTextDoneWritesNothingButStillResetsTheStyleRequest) {
    editor.currentTextId = "pagetextitem2~";
    editor.newTextLeft = "10";
    editor.newTextTop = "10";
    editor.styleRequest = {" onload=x ", "b", "p", "c", "justify"};
    writer.writeTextDone(PageRecord(), editor, {"<P>x</P>", "", true});
    EXPECT_FALSE(std::filesystem::exists(working / "quilltemp.html"));
    EXPECT_TRUE(browser.addresses.empty());
    EXPECT_EQ(editor.styleRequest.onload, "");
    EXPECT_EQ(editor.styleRequest.border, " ");
    EXPECT_EQ(editor.styleRequest.textAlignment, "justify");
}

TEST_F(EditorPageWriterTest, TextDoneEditWithNothingLeftOnThePageHasNoScript) {
    editor.currentTextId = "pagetextitem1~";
    editor.newTextLeft = "none";
    writer.writeTextDone(PageRecord(), editor, {"", "", false});
    EXPECT_EQ(editorPage().find("SET_DHTML"), std::string::npos);
}

TEST_F(EditorPageWriterTest, AFileThatCannotBeWrittenIsReportedOnceAndThePageShownStays) {
    for (const char* file : {"controlstart.js", "quilltemp.html", "controls.html"}) {
        TempFolder folder;
        std::filesystem::create_directories(folder / file);
        ControlsPage failingControls(folder.path());
        FakePrompts failingPrompts;
        EditorPageWriter failing(folder.path(), failingControls, browser, clipboard,
                                 failingPrompts);
        failing.writeLoad(ItemPage(), editor);
        ASSERT_EQ(failingPrompts.shown.size(), 1u) << file;
        EXPECT_EQ(failingPrompts.shown[0].text,
                  "The editor page could not be written to " + folder / file +
                      ". The page shown stays as it is, and your change is kept in the design.");
        EXPECT_TRUE(browser.addresses.empty()) << file;
    }
}

TEST_F(EditorPageWriterTest, TheSamePageIsUpdatedInPlaceAndAnotherIsLoadedWhole) {
    PageRecord page = ItemPage();
    page.directory = "/site";
    page.fileName = "index.html";
    writer.writePictureChange(page, editor);
    ASSERT_EQ(browser.addresses.size(), 1u);
    EXPECT_TRUE(browser.updates.empty()) << "the first page shown is loaded";

    const std::size_t top = page.stylesData.find("TOP: 30px");
    page.stylesData.replace(top, 9, "TOP: 99px");
    writer.writePictureChange(page, editor);
    ASSERT_EQ(browser.updates.size(), 1u);
    const std::string& update = browser.updates[0];
    EXPECT_NE(update.find("base:1,version:2"), std::string::npos) << update;
    EXPECT_NE(update.find("TOP: 99px"), std::string::npos) << "the moved item is sent";
    EXPECT_EQ(update.find("sun.jpg"), std::string::npos) << "an unchanged item is not";
    EXPECT_NE(update.find("script:null,body:null,container:null"), std::string::npos)
        << "nor the head's values that did not change";
    EXPECT_NE(update.find("SET_DHTML("), std::string::npos) << "the items are registered again";

    page.pageImage = "other.jpg";
    writer.writePictureChange(page, editor);
    ASSERT_EQ(browser.updates.size(), 2u);
    EXPECT_NE(browser.updates[1].find("other.jpg"), std::string::npos)
        << "the container takes its new background";

    PageRecord other = page;
    other.fileName = "about.html";
    writer.writePictureChange(other, editor);
    EXPECT_EQ(browser.updates.size(), 2u) << "another page is loaded whole";
    EXPECT_EQ(browser.addresses.size(), 4u);
}

TEST_F(EditorPageWriterTest, StructureChangesAndTextBeyondAsciiAreLoadedWhole) {
    PageRecord page = ItemPage();
    writer.writePictureChange(page, editor);
    struct Change {
        const char* what;
        void (*apply)(PageRecord&);
    };
    const Change changes[] = {
        {"the container goes", [](PageRecord& p) { p.pageContainer.clear(); }},
        {"the container comes back",
         [](PageRecord& p) { p.pageContainer = PageContainerMarkup("800", "1200"); }},
        {"a picture's path beyond ASCII",
         [](PageRecord& p) { p.pictures[0] = "pageimageitem417~/pics/\xC3\xA9t\xC3\xA9.jpg"; }},
    };
    for (const Change& change : changes) {
        const std::size_t updates = browser.updates.size();
        change.apply(page);
        writer.writePictureChange(page, editor);
        EXPECT_EQ(browser.updates.size(), updates) << change.what;
    }
    page.pictures[0] = "pageimageitem417~/pics/sun.jpg";
    writer.writePictureChange(page, editor);
    EXPECT_FALSE(browser.updates.empty()) << "an ordinary change after them is updated again";
}

TEST_F(EditorPageWriterTest, APageShownInThePhoneViewIsLoadedWholeWhenItComesBack) {
    PageRecord page = ItemPage();
    int phoneViews = 0;
    writer.showPhoneViewWith([&](const PageRecord&) { ++phoneViews; });
    writer.writePictureChange(page, editor);
    editor.phoneView = true;
    writer.writePictureChange(page, editor);
    editor.phoneView = false;
    writer.writePictureChange(page, editor);
    EXPECT_EQ(phoneViews, 1);
    EXPECT_TRUE(browser.updates.empty());
}

TEST_F(EditorPageWriterTest, AnItemTheUserMovedIsWrittenAgainWhenAnUndoPutsItBack) {
    PageRecord page = ItemPage();
    writer.writePictureChange(page, editor);
    const std::string written = page.stylesData;
    // The user drags the first section; the page reports it and nothing is written.
    const std::size_t top = page.stylesData.find("TOP: 30px");
    page.stylesData.replace(top, 9, "TOP: 77px");
    editor.reportedLayout = page.stylesData;
    ++editor.layoutReports;
    // An undo puts it back: the markup is the one written before, the page shows otherwise.
    page.stylesData = written;
    writer.writePictureChange(page, editor);
    ASSERT_EQ(browser.updates.size(), 1u);
    EXPECT_NE(browser.updates[0].find("edits:[[0,1,1]]"), std::string::npos) << browser.updates[0];
    EXPECT_NE(browser.updates[0].find("TOP: 30px"), std::string::npos);
    EXPECT_EQ(browser.updates[0].find("pagetextitem3~\\' style"), std::string::npos)
        << "an item the user left alone is not sent";
}

// A design from elsewhere whose width and colours hold script: the editor page's head and the
// controls page show them as numbers and attribute values, never as code.
TEST_F(EditorPageWriterTest, AWidthOrColourHoldingScriptNeverRunsInThePages) {
    PageRecord page;
    page.pageWidth = "800);hostNavigate('http://uploadpage');//";
    page.backColor = "#FFF' onload='hostNavigate(1)";
    writer.writeLoad(page, editor);
    const std::string written = editorPage();
    EXPECT_NE(written.find("clientWidth - 800)/2)"), std::string::npos) << written;
    EXPECT_EQ(written.find("uploadpage"), std::string::npos) << written;
    EXPECT_EQ(written.find("' onload='"), std::string::npos) << written;
    EXPECT_EQ(ReadFile(working / "controlstart.js").find("('http"), std::string::npos);
}
