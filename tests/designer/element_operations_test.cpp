#include "designer/element_operations.h"

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
    ElementOperations operations{workspace(), session.writer(), clipboard,
                                 prompts,     pictures,         [this] { return number; }};
};

}  // namespace

TEST_F(ElementOperationsTest, AnAddedPictureTakesItsNaturalSizeWhereTheMenuWasOpened) {
    clipboard.content = "the user's text";
    handOver(kLayout);
    prompts.openFileNames = {picture("sun.gif")};
    operations.addItem("addgraphic57~37");

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

TEST_F(ElementOperationsTest, PictureFilesAreCopiedUnderLowerCaseAndCleanNames) {
    prompts.openFileNames = {picture("photo.JPG")};
    operations.addItem("addgraphic1~1");
    EXPECT_EQ(page().pictures.back(), "pageimageitem7~" + working / "pics/photo.jpg");
    EXPECT_TRUE(std::filesystem::exists(working / "pics/photo.jpg"));

    // Problem characters: OK takes a cleaned copy, Cancel adds nothing.
    number = 8;
    prompts.openFileNames = {picture("my(1).gif"), picture("my(1).gif")};
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Cancel};
    operations.addItem("addgraphic1~1");
    EXPECT_EQ(page().pictures.back(), "pageimageitem8~" + working / "pics/my-1-.gif");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "debug info");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::OkCancel);
    number = 9;
    operations.addItem("addgraphic1~1");
    EXPECT_EQ(page().pictures.size(), 2u);
    EXPECT_EQ(page().elementCount, 3);
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
}

TEST_F(ElementOperationsTest, EditAndDeleteFindThePictureByNameAndKeepTheListsAligned) {
    page().pictures = {"pageimageitem1~/a.gif", "pageimageitem12~/b.gif", "pageimageitem3~/c.gif"};
    page().links = {"", "a.mp3", "http://x.example/"};
    prompts.imagePropertyAnswers = {ImageProperties{"/new.gif", "abcd"},
                                    ImageProperties{"/b.gif", "b.mp3"}};
    operations.editPicture("pageimageitem12~");
    ASSERT_EQ(prompts.imagePropertiesShown.size(), 1u);
    EXPECT_EQ(prompts.imagePropertiesShown[0].sourceFile, "/b.gif");
    EXPECT_EQ(prompts.imagePropertiesShown[0].linkTarget, "a.mp3");
    EXPECT_EQ(page().pictures[1], "pageimageitem12~/new.gif");
    EXPECT_EQ(page().links[1], "");
    operations.editPicture("pageimageitem12~");
    EXPECT_EQ(page().links[1], "b.mp3");

    operations.deletePicture("pageimageitem12~");
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

TEST(PictureExtensions, EveryPictureExtensionIsLowerCased) {
    EXPECT_EQ(WithLowerCaseExtensions("/p/Photo.JPG"), "/p/Photo.jpg");
    EXPECT_EQ(WithLowerCaseExtensions("/p/a.Gif.bMp.PNG"), "/p/a.gif.bmp.png");
    EXPECT_EQ(WithLowerCaseExtensions("/p/JPG"), "/p/JPG");
}
