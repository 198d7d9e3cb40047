#include "designer/editing/element_operations.h"
#include "site/published_page.h"

#include <gtest/gtest.h>

#include <set>

#include "support/designer_fixture.h"

namespace {

constexpr const char* kLayout = "<div id='pagetextitem1~' style='left:5px'>";

class ElementOperationsTest : public DesignerFixture {
  protected:
    ElementOperationsTest() {
        std::filesystem::create_directories(working / "pics");
        page().directory = siteFolder();
        page().fileName = "page.html";
    }
    // A picture file the fake decoder reads as width by height.
    std::string picture(const std::string& name, int width = 200, int height = 100) {
        const std::string path = working / ("pics/" + name);
        WriteFile(path, "GIF " + std::to_string(width) + " " + std::to_string(height));
        return path;
    }
    std::string editorPage() { return ReadFile(working / "quilltemp.html"); }

    int number = 7;
    ElementOperations operations{
        workspace(), session.writer(),         clipboard, prompts, pictures,
        textEditor,  [this] { return number; }};
};

}  // namespace

TEST_F(ElementOperationsTest, AnAddedPictureTakesItsNaturalSizeWhereTheMenuWasOpened) {
    clipboard.content = "the user's text";
    handOver(kLayout);
    prompts.openFileNames = {picture("sun.gif")};
    // The menu reports its corner shifted by its width of 37 pixels: the picture goes to the
    // corner, where the user opened the menu.
    operations.addItem("addgraphic94~74");

    EXPECT_EQ(prompts.openRequests[0].filter,
              "Image files (*.jpg;*.gif;*.bmp;*.png)|*.jpg;*.gif;*.bmp;*.png||");
    EXPECT_EQ(page().stylesData, kLayout);
    EXPECT_EQ(clipboard.content, "the user's text");
    EXPECT_EQ(page().elementCount, 1);
    EXPECT_EQ(page().pictures,
              std::vector<std::string>{"pageimageitem7~" + working / "pics/sun.gif"});
    EXPECT_EQ(page().links, std::vector<std::string>{""});
    EXPECT_NE(editorPage().find("<div id='dpageimageitem7~' style='position:absolute;top:37px;"
                                "left:57px;border-width:0px;background:transparent'><img "
                                "name='pageimageitem7~' src=\"" +
                                working / "pics/sun.gif" + "\" width='200' height='100'></div>"),
              std::string::npos);
    EXPECT_EQ(browser.addresses, std::vector<std::string>{working / "quillscreen.html"});

    // An add command without a place adds nothing and says nothing.
    operations.addItem("");
    EXPECT_EQ(page().pictures.size(), 1u);
    EXPECT_TRUE(prompts.shown.empty());
}

// A camera's photo lands at the container's width, or on a full-screen page at the width the
// user sees, keeping its shape, and moves left as far as it must to stay inside; one that fits,
// or a page whose visible width is unknown, keeps its own size and place.
TEST_F(ElementOperationsTest, APhotoLandsInsideTheContainerOrTheVisiblePage) {
    PageRecord page;
    page.pageWidth = "800";
    page.pageContainer = "<CENTER><div id='pagecontainer' style='width:800px'>";
    const struct {
        PictureSize natural;
        bool container;
        int left;
        int visible;
        PictureLanding landed;
    } cases[] = {
        {{4000, 3000}, true, 0, 0, {0, {800, 600}}},
        {{3000, 4000}, true, 0, 0, {0, {800, 1067}}},
        {{800, 10}, true, 0, 0, {0, {800, 10}}},
        {{9000, 1}, true, 0, 0, {0, {800, 1}}},
        {{4000, 3000}, true, 600, 0, {0, {800, 600}}},
        {{300, 200}, true, 600, 0, {500, {300, 200}}},
        {{300, 200}, true, 100, 0, {100, {300, 200}}},
        {{4000, 3000}, false, 300, 1176, {0, {1176, 882}}},
        {{400, 300}, false, 1000, 1176, {776, {400, 300}}},
        {{4000, 3000}, false, 300, 0, {300, {4000, 3000}}},
    };
    for (const auto& test : cases) {
        PageRecord shown = page;
        if (!test.container) {
            shown.pageContainer.clear();
        }
        const PictureLanding landed = LandPicture(test.natural, shown, test.left, test.visible);
        EXPECT_EQ(landed.left, test.landed.left) << test.natural.width << " at " << test.left;
        EXPECT_EQ(landed.size.width, test.landed.size.width) << test.natural.width;
        EXPECT_EQ(landed.size.height, test.landed.size.height) << test.natural.width;
    }
    handOver(kLayout);
    workspace().page.pageWidth = "800";
    workspace().page.pageContainer = page.pageContainer;
    prompts.openFileNames = {picture("camera.jpg", 4000, 3000)};
    operations.addItem("addgraphic94~74");
    EXPECT_NE(editorPage().find("top:37px;left:0px;border-width:0px;background:transparent'>"
                                "<img name='"),
              std::string::npos)
        << editorPage();
    EXPECT_NE(editorPage().find("width='800' height='600'"), std::string::npos);
}

TEST_F(ElementOperationsTest, PictureNamesStayUniqueWhenTheDrawRepeats) {
    page().stylesData = "<div id='dpageimageitem7~' style='x'>^1^1";
    std::set<std::string> names;
    for (int i = 0; i < 40; ++i) {
        prompts.openFileNames = {picture("p.gif")};
        operations.addItem("addgraphic1~1");
        names.insert(page().pictures.back().substr(0, page().pictures.back().find('~') + 1));
    }
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(names.count("pageimageitem7~"), 0u);
}

// A picture is taken from where it lies, with nothing written beside it and nothing asked; the
// site folder gets copies under the names pages always had, and never loses a file to them.
TEST_F(ElementOperationsTest, PicturesStayWhereTheyLieAndTheirSiteCopiesNeverReplaceAFile) {
    namespace fs = std::filesystem;
    prompts.openFileNames = {picture("IMG.JPG", 30, 20), picture("my(1).gif")};
    operations.addItem("addgraphic1~1");
    number = 8;
    operations.addItem("addgraphic1~1");
    EXPECT_EQ(page().pictures,
              (std::vector<std::string>{"pageimageitem7~" + working / "pics/IMG.JPG",
                                        "pageimageitem8~" + working / "pics/my(1).gif"}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(working / "pics"), {}), 2);

    const std::string site = siteFolder();
    fs::create_directories(site);
    WriteFile(site + "/IMG.jpg", "the user's own picture");
    page().stylesData =
        "<div id='dpageimageitem7~' style='top:1px'>^30^20|<div id='dpageimageitem8~' "
        "style='top:1px'>^200^100";
    const auto publish = [&](const PageRecord& record, const std::string& name) {
        std::string text;
        EXPECT_TRUE(PagePublisher(working.path(), prompts)
                        .publish(record, PublishVariant::Save, site, name, text));
        return text;
    };
    const std::string one = publish(page(), "one.html");
    EXPECT_EQ(ReadFile(site + "/IMG.jpg"), "the user's own picture");
    EXPECT_EQ(ReadFile(site + "/IMG-2.jpg"), "GIF 30 20");
    EXPECT_NE(one.find("SRC=\"IMG-2.jpg\""), std::string::npos) << one;
    EXPECT_NE(one.find("SRC=\"my-1-.gif\""), std::string::npos) << one;
    EXPECT_TRUE(fs::exists(site + "/my-1-.gif"));

    // Another page's other picture of the same name gets a copy of its own; page one keeps its.
    fs::create_directories(working / "red");
    WriteFile(working / "red/IMG.JPG", "GIF 31 20");
    PageRecord two = page();
    two.pictures = {"pageimageitem7~" + working / "red/IMG.JPG"};
    two.stylesData = "<div id='dpageimageitem7~' style='top:1px'>^31^20";
    EXPECT_NE(publish(two, "two.html").find("SRC=\"IMG-3.jpg\""), std::string::npos);
    EXPECT_EQ(publish(page(), "one.html"), one);
    EXPECT_EQ(ReadFile(site + "/IMG-2.jpg"), "GIF 30 20");
    // The user edits the picture: the copy made of it before takes the new bytes.
    WriteFile(working / "pics/IMG.JPG", "GIF 30 21");
    EXPECT_EQ(publish(page(), "one.html"), one);
    EXPECT_EQ(ReadFile(site + "/IMG-2.jpg"), "GIF 30 21");
    EXPECT_EQ(ReadFile(site + "/IMG.jpg"), "the user's own picture");
}

TEST_F(ElementOperationsTest, CancelledDialogsChangeNothing) {
    page().pageContainer = PageContainerMarkup("800", "1000");
    page().pageWidth = "800";
    const PageRecord before = page();
    operations.addItem("addgraphic1~1");
    operations.backgroundPicture("page/");
    operations.backgroundColour("body/");
    operations.pageLength();
    EXPECT_EQ(page().elementCount, before.elementCount + 1);
    page().elementCount = before.elementCount;
    EXPECT_EQ(page().pageContainer, before.pageContainer);
    EXPECT_EQ(page().pageLength, before.pageLength);
    EXPECT_EQ(page().pageImage, before.pageImage);
    EXPECT_EQ(page().backColor, before.backColor);
    EXPECT_TRUE(page().pictures.empty());
    EXPECT_TRUE(browser.addresses.empty());
}

TEST_F(ElementOperationsTest, PageLengthRebuildsTheContainerAndLeavesAFullScreenPageAlone) {
    prompts.lengths = {"1500.5", "2000"};
    operations.pageLength();
    EXPECT_EQ(page().pageLength, "1000");
    EXPECT_EQ(page().pageContainer, "");

    page().pageWidth = "700";
    page().pageContainer = PageContainerMarkup("700", "1000");
    operations.pageLength();
    EXPECT_EQ(prompts.lengthsShown, (std::vector<std::string>{"1000", "1000"}));
    EXPECT_EQ(page().pageLength, "2000");
    EXPECT_EQ(page().pageContainer, PageContainerMarkup("700", "2000"));
    EXPECT_NE(editorPage().find("width:700px;height:2000px"), std::string::npos);
}

TEST_F(ElementOperationsTest, BackgroundsGoToThePageOrTheBody) {
    page().pageImage = "tile.gif";
    page().backImage = "sky.gif";
    prompts.colours = {Rgb{10, 11, 200}, Rgb{255, 0, 0}};
    operations.backgroundColour("page/");
    EXPECT_EQ(page().pageColor, "#0A0BC8");
    EXPECT_EQ(page().pageImage, "");
    EXPECT_EQ(page().backImage, "sky.gif");
    operations.backgroundColour("body/");
    EXPECT_EQ(page().backColor, "#FF0000");
    EXPECT_EQ(page().backImage, "");

    // The first browse opens in the backgrounds; the chosen file is copied there.
    prompts.openFileNames = {picture("clouds.gif"), picture("sand.gif")};
    operations.backgroundPicture("body/");
    operations.backgroundPicture("page/");
    EXPECT_EQ(prompts.openRequests[0].startPath, working / "backgrounds/*.*");
    EXPECT_EQ(prompts.openRequests[1].startPath, "");
    EXPECT_EQ(page().backImage, "clouds.gif");
    EXPECT_EQ(page().pageImage, "sand.gif");
    EXPECT_TRUE(std::filesystem::exists(working / "backgrounds/clouds.gif"));
    EXPECT_EQ(browser.addresses.size(), 4u);

    // Targets are compared whole: one that only holds "page/" or "body/" changes nothing.
    prompts.colours = {Rgb{1, 2, 3}, Rgb{1, 2, 3}, Rgb{4, 5, 6}};
    for (const char* target : {"body/page/", "mypage/", "body"}) {
        operations.backgroundColour(target);
    }
    EXPECT_EQ(page().pageColor, "#0A0BC8");
    EXPECT_EQ(page().backColor, "#040506");
}

TEST_F(ElementOperationsTest, EditAndDeleteFindThePictureByNameAndKeepTheListsAligned) {
    page().pictures = {"pageimageitem1~/a.gif", "pageimageitem12~/b.gif", "pageimageitem3~/c.gif"};
    page().links = {"", "a.mp3", "http://x.example/"};
    prompts.imagePropertyAnswers = {ImageProperties{"/new.gif", "abcd", "A kite"},
                                    ImageProperties{"/b.gif", "b.mp3", std::nullopt}};
    operations.editPicture("pageimageitem12~");
    ASSERT_EQ(prompts.imagePropertiesShown.size(), 1u);
    EXPECT_EQ(prompts.imagePropertiesShown[0].sourceFile, "/b.gif");
    EXPECT_EQ(prompts.imagePropertiesShown[0].linkTarget, "a.mp3");
    EXPECT_EQ(prompts.imagePropertiesShown[0].description, std::nullopt);
    EXPECT_EQ(page().pictures[1], "pageimageitem12~/new.gif");
    EXPECT_EQ(page().links[1], "");
    EXPECT_EQ(page().pictureDescriptions.at("pageimageitem12~"), "A kite");
    // The description is shown again; an answer without one takes it away.
    operations.editPicture("pageimageitem12~");
    EXPECT_EQ(prompts.imagePropertiesShown[1].description, std::optional<std::string>("A kite"));
    EXPECT_EQ(page().links[1], "b.mp3");
    EXPECT_TRUE(page().pictureDescriptions.empty());

    page().pictureDescriptions["pageimageitem12~"] = "";
    operations.deletePicture("pageimageitem12~");
    EXPECT_TRUE(page().pictureDescriptions.empty());
    EXPECT_EQ(page().pictures,
              (std::vector<std::string>{"pageimageitem1~/a.gif", "pageimageitem3~/c.gif"}));
    EXPECT_EQ(page().links, (std::vector<std::string>{"", "http://x.example/"}));

    // A name that matches nothing changes nothing and asks nothing.
    const std::size_t shown = browser.addresses.size();
    operations.editPicture("pageimageitem99~");
    operations.deletePicture("pageimageitem99~");
    EXPECT_EQ(prompts.imagePropertiesShown.size(), 2u);
    EXPECT_EQ(page().pictures.size(), 2u);
    EXPECT_EQ(browser.addresses.size(), shown);
}

TEST_F(ElementOperationsTest, ANewSectionOpensTheEditorAndJoinsThePageWhenDone) {
    handOver(kLayout);
    textEditor.editorState.justify = true;
    textEditor.editorState.cancelled = true;
    operations.addItem("addtext157~237");
    EXPECT_EQ(textEditor.opened, std::vector<std::string>{"new pagetextitem1~ " + working.path()});
    EXPECT_FALSE(textEditor.editorState.justify);
    EXPECT_FALSE(textEditor.editorState.cancelled);
    EXPECT_EQ(workspace().editor.currentTextId, "pagetextitem1~");

    TextEditorState& done = textEditor.editorState;
    done.htmlText = "<P>Hello</P>";
    done.rtfText = "{\\rtf1 Hello}";
    done.backgroundColor = "#FFFFCC";
    done.backgroundImage = "backgrounds/paper.gif";
    done.centerAlign = true;
    operations.textDone(TextEditorState::kNewSection);
    EXPECT_EQ(page().texts, std::vector<std::string>{"pagetextitem1~<P>Hello</P>"});
    EXPECT_EQ(page().richTexts, std::vector<std::string>{"{\\rtf1 Hello}"});
    EXPECT_EQ(page().textProperties,
              std::vector<std::string>{
                  "pagetextitem1~^#FFFFCC^backgrounds/paper.gif^#808080^1px^YESCENTERALIGN"});
    EXPECT_NE(
        editorPage().find("<div id='pagetextitem1~' style='position:absolute;top:200;left:120;"
                          "border-width:1px;border-style:solid;border-color:#008000;"
                          "padding:10px;background-color:#ffffff;visibility:visible;"
                          "text-align:center'><P>Hello</P></div>"),
        std::string::npos);
    EXPECT_NE(editorPage().find("styleChange('pagetextitem1~')"), std::string::npos);
    EXPECT_NE(editorPage().find("style.textAlign='center'"), std::string::npos);
    EXPECT_EQ(workspace().editor.styleRequest.onload, "");
    EXPECT_EQ(workspace().editor.styleRequest.border, " ");

    // A new section the user cancelled joins nothing and changes no page.
    const std::size_t shown = browser.addresses.size();
    operations.addItem("addtext10~10");
    done.cancelled = true;
    operations.textDone(TextEditorState::kNewSection);
    EXPECT_EQ(page().texts.size(), 1u);
    EXPECT_EQ(page().richTexts.size(), 1u);
    EXPECT_EQ(page().textProperties.size(), 1u);
    EXPECT_EQ(page().elementCount, 2);
    EXPECT_EQ(browser.addresses.size(), shown);
}

TEST_F(ElementOperationsTest, AnEditedSectionIsReplacedInPlaceAndRestyled) {
    page().texts = {"pagetextitem1~<P>one</P>", "pagetextitem2~<P>two</P>"};
    page().richTexts = {"{\\rtf1 one}", "{\\rtf1 two}"};
    page().textProperties = {"pagetextitem1~^^^^^NOJUSTIFY",
                             "pagetextitem2~^#FFFFFF^^#000000^2px^YESTEXTJUSTIFY"};
    page().stylesData = "<div id='pagetextitem1~' style='a'>|<div id='pagetextitem2~' style='b'>";
    operations.editText("pagetextitem2~/");
    ASSERT_EQ(textEditor.opened.size(), 1u);
    EXPECT_EQ(textEditor.opened[0], "edit pagetextitem2~ " + working.path() +
                                        " {\\rtf1 two} pagetextitem2~^#FFFFFF^^#000000^2px^"
                                        "YESTEXTJUSTIFY");
    EXPECT_TRUE(textEditor.editorState.justify);
    // Its spelling is checked in the language it is written in.
    EXPECT_EQ(textEditor.editorState.spellLanguage, "");
    workspace().editor.mainLanguage = "de";
    operations.editText("pagetextitem2~/");
    EXPECT_EQ(textEditor.editorState.spellLanguage, "de");
    workspace().editor.editingLanguage = "fr";
    operations.editText("pagetextitem2~/");
    EXPECT_EQ(textEditor.editorState.spellLanguage, "fr");
    workspace().editor.editingLanguage.clear();

    TextEditorState& done = textEditor.editorState;
    done.htmlText = "<P>TWO</P>";
    done.rtfText = "{\\rtf1 TWO}";
    done.borderColor = "#FF0000";
    done.borderWidth = "4px";
    done.justify = false;
    done.rightAlign = true;
    operations.textDone(TextEditorState::kExistingSection);
    EXPECT_EQ(page().texts[1], "pagetextitem2~<P>TWO</P>");
    EXPECT_EQ(page().richTexts[1], "{\\rtf1 TWO}");
    EXPECT_EQ(page().textProperties[1], "pagetextitem2~^#FFFFFF^^#FF0000^4px^YESRIGHTALIGN");
    EXPECT_EQ(page().texts[0], "pagetextitem1~<P>one</P>");
    EXPECT_EQ(workspace().editor.newTextLeft, "none");
    EXPECT_EQ(workspace().editor.styleRequest.textAlignment, "right");
    EXPECT_NE(editorPage().find("#FF0000 4px  solid"), std::string::npos);
    EXPECT_NE(editorPage().find("<P>TWO</P>"), std::string::npos);

    // Deleting keeps all three lists aligned.
    operations.deleteText("pagetextitem1~/");
    EXPECT_EQ(page().texts, (std::vector<std::string>{"REMOVED_ITEM", "pagetextitem2~<P>TWO</P>"}));
    EXPECT_EQ(page().richTexts.size(), 2u);
    EXPECT_EQ(page().textProperties.size(), 2u);
}

TEST_F(ElementOperationsTest, AnIdThatMatchesNoSectionChangesNothing) {
    page().texts = {"pagetextitem1~<P>one</P>"};
    page().richTexts = {"{\\rtf1 one}"};
    page().textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
    const PageRecord before = page();
    operations.editText("pagetextitem9~/");
    operations.deleteText("pagetextitem9~/");
    operations.editText("garbage");
    workspace().editor.currentTextId = "pagetextitem9~";
    textEditor.editorState.htmlText = "<P>lost</P>";
    operations.textDone(TextEditorState::kExistingSection);
    EXPECT_TRUE(textEditor.opened.empty());
    EXPECT_EQ(page().texts, before.texts);
    EXPECT_EQ(page().richTexts, before.richTexts);
    EXPECT_EQ(page().textProperties, before.textProperties);
    EXPECT_TRUE(browser.addresses.empty());
}

TEST(PictureExtensions, EveryPictureExtensionIsLowerCased) {
    EXPECT_EQ(WithLowerCaseExtensions("/p/Photo.JPG"), "/p/Photo.jpg");
    EXPECT_EQ(WithLowerCaseExtensions("/p/a.Gif.bMp.PNG"), "/p/a.gif.bmp.png");
    EXPECT_EQ(WithLowerCaseExtensions("/p/JPG"), "/p/JPG");
}
