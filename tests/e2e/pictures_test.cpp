// Pictures, backgrounds and the page length in the real window and browser, from the add menu
// and the edit options of a clicked picture.
#include <filesystem>

#include "page/page_record.h"
#include "store/db/sqlite_cursor.h"
#include "support/camera_photo.h"
#include "window_fixture.h"

namespace {

// Where the entries of the add menu sit on its picture (across 15..97).
constexpr double kMenuX = 56;
constexpr double kAddPictureY = 22;
constexpr double kColourY = 73;
constexpr double kBackgroundPictureY = 97;
constexpr double kLengthY = 124;

class PicturesTest : public WindowFixture {
  protected:
    // An empty page in a 700-pixel container, which the last session names.
    void storeEmptyPage() {
        PageRecord page = sitePage("pictures.html", "Pictures", "700");
        store(page, true);
    }

    // Opens the add menu at the point and picks the entry at the given height of the menu.
    bool menuCommand(const QPointF& at, double entryY) {
        click(at);
        return redrawnAfter([&] { click(at + QPointF(kMenuX, entryY)); }) && editorShown();
    }

    // The picture's box on the page, relative to the container: left, top, width, height.
    std::vector<int> box(const std::string& name) {
        std::vector<int> values;
        for (const QVariant& value :
             js(QString::fromStdString(
                    "(function(){var d=window.frames['editor'].document;"
                    "var c=d.getElementById('pagecontainer').getBoundingClientRect();"
                    "var i=d.images['" +
                    name +
                    "'].getBoundingClientRect();"
                    "return [i.left-c.left, i.top-c.top, i.width, i.height];})()"))
                 .toList()) {
            values.push_back(static_cast<int>(value.toDouble() + 0.5));
        }
        return values;
    }
};

}  // namespace

TEST_F(PicturesTest, APictureIsPlacedMovedLinkedAndDeletedAndThePageIsDressed) {
    storeEmptyPage();
    startWindow();
    ASSERT_TRUE(resume());
    const std::string logo = path("webpages/quillora-logo.gif");

    // Added where the menu was opened, with its natural size.
    prompts.openFileNames = {logo};
    ASSERT_TRUE(menuCommand(place(200, 150), kAddPictureY));
    const std::vector<std::string>& pictures = window->session().workspace().page.pictures;
    ASSERT_EQ(pictures.size(), 1u);
    const std::string name = pictures[0].substr(0, pictures[0].find('~') + 1);
    EXPECT_EQ(pictures[0], name + logo);
    EXPECT_EQ(box(name), (std::vector<int>{200, 150, 160, 60}));

    // Moved, then stretched by its handle.
    drag(centreOf("img[name='" + QString::fromStdString(name) + "']"), QPointF(100, 50));
    drag(centreOf("#dd-handle"), QPointF(80, 30));
    const std::vector<int> moved = box(name);
    EXPECT_EQ(moved[0], 300);
    EXPECT_EQ(moved[1], 200);

    // Linked through its edit options.
    prompts.clickOptions = {std::string("EDIT")};
    prompts.imagePropertyAnswers = {ImageProperties{logo, "http://www.example.com/", std::nullopt}};
    ASSERT_TRUE(
        redrawnAfter([&] { click(centreOf("img[name='" + QString::fromStdString(name) + "']")); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(prompts.imagePropertiesShown.at(0).sourceFile, logo);
    EXPECT_EQ(box(name), moved);

    // Colours and pictures of the page (inside the container) and the body (outside it), and
    // the length.
    prompts.colours = {Rgb{255, 255, 204}, Rgb{0, 51, 102}};
    ASSERT_TRUE(menuCommand(place(500, 380), kColourY));
    ASSERT_TRUE(menuCommand(place(8, 380, true), kColourY));
    prompts.openFileNames = {path("backgrounds/paper.gif")};
    ASSERT_TRUE(menuCommand(place(500, 380), kBackgroundPictureY));
    prompts.lengths = {std::string("1500")};
    ASSERT_TRUE(menuCommand(place(500, 380), kLengthY));
    EXPECT_EQ(js("window.frames['editor'].document.getElementById('pagecontainer')"
                 ".getBoundingClientRect().height")
                  .toInt(),
              1502);

    save("webpages/pictures.html");
    const std::string published = ReadFile(path("webpages/pictures.html"));
    EXPECT_NE(published.find("<A HREF='http://www.example.com/'>"), std::string::npos) << published;
    EXPECT_NE(published.find("SRC=\"quillora-logo.gif\""), std::string::npos) << published;
    EXPECT_NE(published.find("background-Image:url(paper.gif)"), std::string::npos) << published;
    EXPECT_NE(published.find("#003366"), std::string::npos);
    EXPECT_EQ(stored("select PAGECOLOR || ' ' || BACKCOLOR || ' ' || PAGEIMAGE || ' ' || "
                     "PAGELENGTH from quillprojects where FILENAME = 'pictures.html'"),
              "#FFFFCC #003366 paper.gif 1500");
    EXPECT_EQ(stored("select IMAGESOURCE || ' ' || LINKINFO from pageimages where PROJECTID = "
                     "(select ID from quillprojects where FILENAME = 'pictures.html')"),
              name + logo + " http://www.example.com/");
    EXPECT_NE(stored("select STYLESDATA from quillprojects where FILENAME = 'pictures.html'")
                  .find("top:199px;left:299px;"),
              std::string::npos)
        << stored("select STYLESDATA from quillprojects where FILENAME = 'pictures.html'");

    // Deleted through its edit options.
    prompts.clickOptions = {std::string("DELETE")};
    ASSERT_TRUE(
        redrawnAfter([&] { click(centreOf("img[name='" + QString::fromStdString(name) + "']")); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(js("window.frames['editor'].document.images.length").toInt(), 1);
    save("webpages/pictures.html");
    EXPECT_EQ(stored("select count(*) from pageimages where PROJECTID = (select ID from "
                     "quillprojects where FILENAME = 'pictures.html')"),
              "0");
    EXPECT_EQ(ReadFile(path("webpages/pictures.html")).find("quillora-logo.gif"),
              std::string::npos);
    EXPECT_TRUE(prompts.shown.empty());
}

// Added, dragged, and one Ctrl+Z: the picture is back where it was added, not gone.
TEST_F(PicturesTest, OneUndoAfterDraggingANewPictureLeavesItWhereItWasAdded) {
    storeEmptyPage();
    startWindow();
    ASSERT_TRUE(resume());
    prompts.openFileNames = {path("webpages/quillora-logo.gif")};
    ASSERT_TRUE(menuCommand(place(200, 150), kAddPictureY));
    const std::string entry = window->session().workspace().page.pictures.at(0);
    const std::string name = entry.substr(0, entry.find('~') + 1);
    drag(centreOf("img[name='" + QString::fromStdString(name) + "']"), QPointF(100, 50));
    EXPECT_EQ(box(name)[0], 300);
    const auto undo = [&] {
        window->browser()->focusProxy()->setFocus();
        return redrawnAfter([&] {
                   QTest::keyClick(window->browser()->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
               }) &&
               editorShown();
    };
    ASSERT_TRUE(undo());
    EXPECT_EQ(window->session().workspace().page.pictures.size(), 1u);
    EXPECT_EQ(box(name), (std::vector<int>{200, 150, 160, 60}));
    ASSERT_TRUE(undo());
    EXPECT_TRUE(window->session().workspace().page.pictures.empty());
}

// On a full-screen page a tall photo lands no wider than the page shown; shrunk by its corner
// while the page is scrolled, it keeps its place and shape, and one undo brings back its size
// and place.
TEST_F(PicturesTest, APhotoOnAFullScreenPageLandsInViewAndShrinksWhileScrolled) {
    store(sitePage("full.html", "Full"), true);
    ASSERT_TRUE(SaveCameraPhoto(path("tall.jpg"), 1500, 3000));
    startWindow();
    ASSERT_TRUE(resume());
    prompts.openFileNames = {path("tall.jpg")};
    const QVariantList frame =
        js("(function(){var f=document.getElementById('editor').getBoundingClientRect();"
           "return [f.left,f.top,f.width];})()")
            .toList();
    const QPointF corner(frame[0].toDouble(), frame[1].toDouble());
    ASSERT_TRUE(menuCommand(corner + QPointF(900, 100), kAddPictureY));
    const std::string entry = window->session().workspace().page.pictures.at(0);
    const QString name = QString::fromStdString(entry.substr(0, entry.find('~') + 1));
    const QString image = "window.frames['editor'].document.images['" + name + "']";
    const auto placed = [&] {
        return js("(function(){var i=" + image +
                  ";var r=i.getBoundingClientRect();var w=window.frames['editor'];"
                  "return [Math.round(r.left+w.pageXOffset),Math.round(r.top+w.pageYOffset),"
                  "Math.round(r.width),Math.round(r.height)].join(',');})()")
            .toString();
    };
    const QString landed = placed();
    const QStringList parts = landed.split(',');
    ASSERT_EQ(parts.size(), 4);
    EXPECT_LE(parts[0].toInt() + parts[2].toInt(), frame[2].toInt()) << landed.toStdString();

    // Scrolled to its foot, the corner handle dragged up and left.
    js("window.frames['editor'].scrollTo(0, 100000)");
    QTest::qWait(100);
    const QVariantList near =
        js("(function(){var f=document.getElementById('editor').getBoundingClientRect();"
           "var e=" +
           image + ".getBoundingClientRect();return [f.left+e.right-20, f.top+e.bottom-20];})()")
            .toList();
    ASSERT_EQ(near.size(), 2);
    sendMouse(QEvent::MouseMove, QPointF(near[0].toDouble(), near[1].toDouble()), Qt::NoButton,
              Qt::NoButton);
    const QPointF handle = centreOf(QStringLiteral("span[id='dd-handle']"));
    ASSERT_FALSE(handle.isNull());
    const QPointF by(-300, -200);
    sendMouse(QEvent::MouseButtonPress, handle, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step) {
        sendMouse(QEvent::MouseMove, handle + by * step / 10.0, Qt::NoButton, Qt::LeftButton);
    }
    sendMouse(QEvent::MouseButtonRelease, handle + by, Qt::LeftButton, Qt::NoButton);
    QTest::qWait(300);
    const QStringList shrunk = placed().split(',');
    ASSERT_EQ(shrunk.size(), 4);
    EXPECT_EQ(shrunk[0], parts[0]) << placed().toStdString();
    EXPECT_EQ(shrunk[1], parts[1]) << placed().toStdString();
    EXPECT_NEAR(shrunk[2].toInt(), parts[2].toInt() - 300, 3) << placed().toStdString();
    EXPECT_NEAR(shrunk[3].toInt() * 1.0 / shrunk[2].toInt(), 2.0, 0.02) << placed().toStdString();

    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(placed(), landed);
}
