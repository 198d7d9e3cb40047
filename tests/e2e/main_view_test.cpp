#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWebEnginePage>
#include <algorithm>
#include <filesystem>

#include "page/page_record.h"
#include "store/db/sqlite_cursor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

constexpr const char* kTextRecord =
    "<div id='pagetextitem1~' style='position:absolute;top:100px;left:50px;width:200px;"
    "border-width:1px;border-style:solid;border-color:#008000;padding:10px;"
    "background-color:#ffffff;visibility:visible'>";
constexpr const char* kPictureRecord =
    "<div id='dpageimageitem7~' style='position:absolute;top:40px;left:400px;"
    "background:transparent;Z-INDEX:3'>^160^60";

class MainViewTest : public WindowFixture {
  protected:
    // A stored page with a text item and a picture in an 800-pixel container, which the
    // last session names.
    void storeDragPage() {
        PageRecord page = sitePage("drag.html", "Drag test", "800");
        page.stylesData = std::string(kTextRecord) + "|" + kPictureRecord;
        page.texts = {"pagetextitem1~<P>Drag me</P>"};
        page.richTexts = {"{\\rtf1 Drag me}"};
        page.textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
        page.pictures = {"pageimageitem7~" + path("webpages/quillora-logo.gif")};
        page.links = {""};
        page.elementCount = 2;
        store(page, true);
    }

    std::string storedLayout(const std::string& file) {
        return stored("select STYLESDATA from quillprojects where FILENAME = '" + file + "'");
    }

    // Every stored page with the number of its child rows, a line each.
    std::string storedPages() {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        SqliteCursor rows = db.runQuery(
            "select ID || ' ' || DIRECTORY || ' ' || FILENAME || ' ' || PAGETITLE || ' ' "
            "|| STYLESDATA || ' ' || (select count(*) from pagetexts where PROJECTID = ID) || ' ' "
            "|| (select count(*) from pageimages where PROJECTID = ID) from quillprojects");
        std::string pages;
        for (; !rows.atEnd(); rows.advance()) {
            pages += rows.textValue(0) + "\n";
        }
        return pages;
    }

    QString comboText(const char* name) {
        return window->findChild<QComboBox*>(name)->currentText();
    }

    bool clickButton(const char* caption) {
        return redrawnAfter([&] { window->findChild<PictureButton*>(caption)->click(); });
    }
};

}  // namespace

TEST_F(MainViewTest, FirstRunInstallsTheWorkingFolderAndShowsTheWelcomePage) {
    EXPECT_TRUE(problems.empty());
    for (const char* file :
         {"quillscreen.html", "quillstart.html", "triggermenu.js", "dragdrop.js", "controls1.txt",
          "quillmenu_off.gif", "cancel_on.gif", "grid2.gif", "connecting_message.html",
          "help/quillhelp.html", "backgrounds/paper.gif", "LDB/en_US.dic", "LDB/en_US.aff",
          "quillwords.db", "webpages/quickstart.html"}) {
        EXPECT_TRUE(std::filesystem::exists(path(file))) << file;
    }
    // The installation stores the quickstart page and nothing else.
    const std::string installed = storedPages();
    EXPECT_EQ(std::count(installed.begin(), installed.end(), '\n'), 1) << installed;
    EXPECT_NE(installed.find(path("webpages") + " quickstart.html Quillora quickstart "),
              std::string::npos);
    startWindow();
    ASSERT_TRUE(welcomeShown());
    EXPECT_EQ(window->browser()->page()->title(), "Welcome to Quillora");
    EXPECT_EQ(window->windowTitle(), "quillora");
    EXPECT_EQ(comboText("folders").toStdString(), path("webpages"));
    EXPECT_EQ(comboText("pages"), "quickstart.html");
    // The help is one of the program's own pages; other web pages open outside.
    ASSERT_TRUE(redrawnAfter([&] { js("document.getElementById('help').click()"); }));
    EXPECT_TRUE(WaitFor([&] { return window->browser()->page()->title() == "Quillora help"; }));
    // Nothing was opened: closing writes the last session but stores no page.
    window->close();
    EXPECT_EQ(ReadFile(path("lastsession.qlp")), path("webpages") + "|quickstart.html");
    EXPECT_EQ(storedPages(), installed);
}

TEST_F(MainViewTest, ResumeShowsTheQuickstartPageWithItsItems) {
    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(window->windowTitle(), "Quillora quickstart");
    EXPECT_EQ(js("window.frames['editor'].document.querySelectorAll(\"div[id^='pagetextitem']\")"
                 ".length")
                  .toInt(),
              6);
    EXPECT_TRUE(js("window.frames['editor'].document.images['pageimageitem500~'].naturalWidth "
                   "=== 160")
                    .toBool());
    EXPECT_EQ(js("window.frames['controls'].document.form1.screensize.value").toString(),
              "800 pixels");
    QTest::qWait(300);
    window->grab().save(QStringLiteral(QUILLORA_BUILD_DIR "/quickstart-window.png"));
}

TEST_F(MainViewTest, ContainerAndGridFromTheControlsPageRedrawTheEditorPage) {
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(controlsCommand("http://pagecontainer1"));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(js("window.frames['editor'].document.getElementById('pagecontainer').style.width")
                  .toString(),
              "700px");
    EXPECT_EQ(js("window.frames['controls'].document.form1.screensize.value").toString(),
              "700 pixels");
    ASSERT_TRUE(controlsCommand("http://gridchange2"));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(js("window.frames['editor'].document.body.getAttribute('background')").toString(),
              "grid2.gif");
    EXPECT_EQ(js("window.frames['controls'].gridsetting").toInt(), 20);
    // The items came back with the layout the page handed over.
    EXPECT_EQ(js("window.frames['editor'].document.querySelectorAll(\"div[id^='pagetextitem']\")"
                 ".length")
                  .toInt(),
              6);
}

TEST_F(MainViewTest, ADraggedItemIsSavedAtItsNewPosition) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(120, 60));
    js("window.frames['controls'].runCommand('http://savepage')");
    ASSERT_TRUE(WaitFor([&] { return ReadFile(path("webpages/drag.html")).size() > 20; }));

    const std::string layout = storedLayout("drag.html");
    EXPECT_NE(layout.find("top: 160px"), std::string::npos) << layout;
    EXPECT_NE(layout.find("left: 170px"), std::string::npos) << layout;
    // The picture nobody touched keeps its place exactly.
    EXPECT_NE(layout.find(kPictureRecord), std::string::npos) << layout;
    const std::string published = ReadFile(path("webpages/drag.html"));
    EXPECT_NE(published.find("top: 160px"), std::string::npos);
    EXPECT_NE(published.find("<P>Drag me</P></div>"), std::string::npos);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainViewTest, ClosingSavesTheLastDragAndTheNextStartResumesIt) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(-30, 80));
    window->close();
    EXPECT_EQ(ReadFile(path("lastsession.qlp")), path("webpages") + "|drag.html");
    const std::string layout = storedLayout("drag.html");
    EXPECT_NE(layout.find("top: 180px"), std::string::npos) << layout;
    EXPECT_NE(layout.find("left: 20px"), std::string::npos) << layout;

    window.reset();
    loads = 0;
    startWindow();
    EXPECT_EQ(comboText("pages"), "drag.html");
    ASSERT_TRUE(resume());
    EXPECT_EQ(js("window.frames['editor'].document.getElementById('pagetextitem1~').style.top")
                  .toString(),
              "180px");
}

TEST_F(MainViewTest, NewPageRenameAndTitleWorkEndToEnd) {
    startWindow();
    ASSERT_TRUE(resume());
    prompts.fileNames = {path("webpages/my page (1)!.html")};
    ASSERT_TRUE(clickButton("newpage"));
    ASSERT_TRUE(editorShown());
    EXPECT_TRUE(std::filesystem::exists(path("webpages/my page -1--.html")));
    EXPECT_EQ(comboText("pages"), "my page -1--.html");
    EXPECT_EQ(window->windowTitle(), "New Web Page");
    EXPECT_EQ(js("window.frames['editor'].document.querySelectorAll(\"div[id^='pagetextitem']\")"
                 ".length")
                  .toInt(),
              0);

    prompts.pageNames = {std::string("renamed")};
    ASSERT_TRUE(clickButton("rename"));
    EXPECT_EQ(comboText("pages"), "renamed.html");
    EXPECT_TRUE(std::filesystem::exists(path("webpages/renamed.html")));
    EXPECT_FALSE(std::filesystem::exists(path("webpages/my page -1--.html")));

    prompts.titles = {std::string("Zoë's page")};
    window->findChild<PictureButton*>("pagetitle")->click();
    EXPECT_EQ(window->windowTitle(), "Zoë's page");

    ASSERT_TRUE(editorShown());
    js("window.frames['controls'].runCommand('http://savepage')");
    ASSERT_TRUE(WaitFor([&] {
        return ReadFile(path("webpages/renamed.html")).find("Zo&#235;") != std::string::npos;
    }));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainViewTest, EnterDeleteAndEscapeStayInsideTheBrowser) {
    startWindow();
    ASSERT_TRUE(resume());
    // Every frame records the keys it is given.
    js("(function(){top.keysSeen=[];[window,window.frames['editor'],window.frames['controls']]"
       ".forEach(function(w){w.document.addEventListener('keydown',"
       "function(e){top.keysSeen.push(e.key);},true);});})()");
    QWidget* browser = window->browser()->focusProxy();
    browser->setFocus();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Delete}) {
        QTest::keyClick(browser, key);
    }
    EXPECT_TRUE(WaitFor([&] { return js("top.keysSeen.length").toInt() == 3; }, 3000));
    EXPECT_EQ(js("top.keysSeen.join(',')").toString().toStdString(), "Escape,Enter,Delete");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(prompts.saveRequests.empty());
}

TEST_F(MainViewTest, AWelcomePageThatCannotBeShownResumesTheLastPage) {
    std::filesystem::remove(path("quillstart.html"));
    startWindow();
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(window->windowTitle(), "Quillora quickstart");
}

// Pages opened from the lists are being edited: every drag is kept when the user moves on to
// another folder or page, and when the program closes.
TEST_F(MainViewTest, DragsSurviveSwitchingFolderAndPageAndClosing) {
    storeDragPage();
    std::filesystem::create_directories(path("other"));
    PageRecord other;
    other.directory = path("other");
    other.fileName = "first.html";
    other.pageTitle = "Other folder";
    store(other);
    startWindow();
    ASSERT_TRUE(welcomeShown());
    const auto choose = [&](const char* list, const std::string& entry) {
        auto* box = window->findChild<QComboBox*>(list);
        const int index = box->findText(QString::fromStdString(entry));
        return index >= 0 && redrawnAfter([&] { emit box->activated(index); }) && editorShown();
    };
    const auto itemLeft = [&] {
        return js("window.frames['editor'].document.getElementById('pagetextitem1~').style.left")
            .toString()
            .toStdString();
    };

    ASSERT_TRUE(choose("pages", "drag.html"));
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(100, 0));
    ASSERT_TRUE(choose("folders", path("other")));
    EXPECT_EQ(window->windowTitle(), "Other folder");
    EXPECT_NE(storedLayout("drag.html").find("left: 150px"), std::string::npos);

    ASSERT_TRUE(choose("folders", path("webpages")));
    ASSERT_TRUE(choose("pages", "drag.html"));
    EXPECT_EQ(itemLeft(), "150px");
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(50, 0));
    window->close();
    EXPECT_NE(storedLayout("drag.html").find("left: 200px"), std::string::npos);

    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(itemLeft(), "200px");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainViewTest, PreviewWritesThePageAndOpensItInTheUsersBrowser) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    js("window.frames['controls'].runCommand('http://previewpage')");
    ASSERT_TRUE(WaitFor([&] { return !shell.opened.empty(); }));
    EXPECT_EQ(shell.opened, std::vector<std::string>{path("webpages/drag.html")});
    EXPECT_NE(ReadFile(path("webpages/drag.html")).find("Drag me"), std::string::npos);
    // The help opens in the user's browser; the designer keeps its page.
    const int loadsBefore = loads;
    window->findChild<PictureButton*>("help")->click();
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened.back(), path("help/quillhelp.html"));
    QTest::qWait(200);
    EXPECT_EQ(loads, loadsBefore);
}

TEST_F(MainViewTest, AClickedItemCanBeCentred) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    prompts.clickOptions = {std::string("CENTER")};
    ASSERT_TRUE(redrawnAfter([&] { click(centreOf("div[id='pagetextitem1~']")); }));
    ASSERT_TRUE(editorShown());
    EXPECT_TRUE(prompts.clickOptions.empty());
    EXPECT_EQ(js("window.frames['editor'].document.getElementById('pagetextitem1~').style.left")
                  .toString(),
              "300px");
}

TEST_F(MainViewTest, PicturesResizeByTheirHandleAndScalableOnesKeepTheirShape) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    const QPointF picture = centreOf("img[name='pageimageitem7~']");
    // The handle appears on the picture's lower right corner while the pointer is over it.
    drag(picture, QPointF(0, 0));
    drag(centreOf("#dd-handle"), QPointF(80, 30));
    EXPECT_EQ(js("window.frames['editor'].document.images['pageimageitem7~'].width").toInt(), 240);
    EXPECT_EQ(js("window.frames['editor'].document.images['pageimageitem7~'].height").toInt(), 90);

    // A page written after a picture change lists its pictures as SCALABLE.
    js("window.frames['editor'].dd.elements['pageimageitem7~'].scalable = true");
    drag(centreOf("#dd-handle"), QPointF(60, -40));
    EXPECT_EQ(js("window.frames['editor'].document.images['pageimageitem7~'].width").toInt(), 300);
    EXPECT_EQ(js("window.frames['editor'].document.images['pageimageitem7~'].height").toInt(), 113);

    js("window.frames['controls'].runCommand('http://savepage')");
    ASSERT_TRUE(WaitFor([&] { return ReadFile(path("webpages/drag.html")).size() > 20; }));
    const std::string layout = storedLayout("drag.html");
    EXPECT_NE(layout.find("<div id='dpageimageitem7~' style='position:absolute;top:40px;"
                          "left:400px;background:transparent;Z-INDEX:"),
              std::string::npos)
        << layout;
    EXPECT_NE(layout.find("'>^300^113"), std::string::npos) << layout;
    EXPECT_NE(ReadFile(path("webpages/drag.html")).find("width=300 height=113"), std::string::npos);
}

TEST_F(MainViewTest, WithAGridDraggedItemsSnapToItsLines) {
    storeDragPage();
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(controlsCommand("http://gridchange2"));
    ASSERT_TRUE(editorShown());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(37, 23));
    const QVariantList place =
        js("(function(){var r=window.frames['editor'].document.getElementById('pagetextitem1~')"
           ".getBoundingClientRect();var w=window.frames['editor'];"
           "return [Math.floor(r.left+w.pageXOffset), Math.floor(r.top+w.pageYOffset)];})()")
            .toList();
    ASSERT_EQ(place.size(), 2);
    EXPECT_EQ(place[0].toInt() % 20, 0) << place[0].toInt();
    EXPECT_EQ(place[1].toInt() % 20, 0) << place[1].toInt();
}

// At every window width from 800 pixels up each control of the bar is whole and inside it.
TEST_F(MainViewTest, TheControlsBarFitsFrom800PixelsUp) {
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(controlsCommand("http://pagecontainer0"));
    ASSERT_TRUE(editorShown());
    for (const int width : {800, 1000, 1400}) {
        window->resize(width, 700);
        QTest::qWait(300);
        EXPECT_EQ(js("(function(){var d=window.frames['controls'].document;"
                     "var f=document.getElementById('controls').getBoundingClientRect();"
                     "var e=document.getElementById('editor').getBoundingClientRect();"
                     "var bad=[];if(e.top<f.bottom)bad.push('editor over the bar');"
                     "d.querySelectorAll('a.cmd, input.size, #folderlabel').forEach(function(c){"
                     "var r=c.getBoundingClientRect();"
                     "if(r.width==0||r.left<0||r.top<0||r.right>f.width||r.bottom>f.height||"
                     "c.scrollWidth>c.clientWidth+1)bad.push(c.textContent||c.value);});"
                     "return bad.join(', ');})()")
                      .toString()
                      .toStdString(),
                  "")
            << width;
        for (PictureButton* button : window->findChildren<PictureButton*>()) {
            EXPECT_TRUE(window->rect().contains(
                QRect(button->mapTo(window.get(), QPoint(0, 0)), button->size())))
                << width << " " << button->objectName().toStdString();
        }
    }
    EXPECT_EQ(js("window.frames['controls'].document.form1.screensize.value").toString(),
              "Full Screen");
}

// The help names every command of the window's menus, as the menu names it.
TEST_F(MainViewTest, TheHelpNamesEveryMenuCommand) {
    startWindow();
    const std::string help = ReadFile(path("help/quillhelp.html"));
    int commands = 0;
    for (QAction* menu : window->menuBar()->actions()) {
        for (QAction* action : menu->menu()->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            ++commands;
            const std::string name = action->text().remove(QLatin1Char('&')).toStdString();
            // Bold alone, or after its menu ("<b>Page &gt; Pages...</b>").
            EXPECT_TRUE(help.find("<b>" + name + "</b>") != std::string::npos ||
                        help.find("&gt; " + name + "</b>") != std::string::npos)
                << name;
        }
    }
    EXPECT_GT(commands, 30);
}
