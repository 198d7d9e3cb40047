// Laying out many items at once in the real window, with the mouse and the keys: duplicate,
// copy and paste between pages, a selection dragged, aligned and spread, and guides that
// hold an edge while dragging. Each action is one undo step.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <array>

#include "common/fields.h"
#include "site/markup/item_walk.h"
#include "window_fixture.h"

namespace {

class LayoutFlowTest : public WindowFixture {
  protected:
    PageRecord& page() { return window->session().workspace().page; }

    // A page of text sections of the given places and sizes, stored and named by the last
    // session.
    void storeSections(const std::string& fileName, const std::vector<std::array<int, 4>>& sections,
                       const std::string& containerWidth = "800") {
        PageRecord stored = sitePage(fileName, fileName, containerWidth);
        for (std::size_t i = 0; i < sections.size(); ++i) {
            const std::string id = TextId(static_cast<int>(i + 1));
            const auto& [left, top, width, height] = sections[i];
            stored.stylesData += (i > 0 ? "|" : "") + std::string("<div id='") + id +
                                 "' style='position:absolute;left:" + std::to_string(left) +
                                 "px;top:" + std::to_string(top) +
                                 "px;width:" + std::to_string(width) +
                                 "px;height:" + std::to_string(height) +
                                 "px;border-width:1px;border-style:solid;visibility:visible'>";
            stored.texts.push_back(id + "<P>Section " + std::to_string(i + 1) + "</P>");
            stored.richTexts.push_back("{\\rtf1 Section " + std::to_string(i + 1) + "\\par}");
            stored.textProperties.push_back(id + "^#ffffff^^#008000^1px^NOJUSTIFY");
        }
        stored.elementCount = static_cast<int>(sections.size());
        store(stored, true);
    }
    // Where the stored layout places the item: "left,top".
    std::string placed(const std::string& id) {
        for (const std::string& record : SplitFields(page().stylesData, "|")) {
            if (RecordId(record) == id) {
                return StyleNumber(record, "left") + "," + StyleNumber(record, "top");
            }
        }
        return "gone";
    }
    // A click on the item, with Shift to add it to the selection.
    void pick(const QString& selector, bool shift = false) {
        const QPointF at = centreOf(selector);
        const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
        QWidget* target = window->browser()->focusProxy();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              modifiers);
            QCoreApplication::sendEvent(target, &event);
            QTest::qWait(40);
        }
        QTest::qWait(100);
    }
    int selected() { return js("window.frames['editor'].ddSelection.length").toInt(); }

    // The element's place and size on the editor page, "left,top,width,height"; the element
    // is a lookup on the page's document.
    std::string boxOf(const QString& element) {
        return js("(function(){var w=window.frames['editor'];var b=w.document." + element +
                  ".getBoundingClientRect();return [b.left+w.pageXOffset,b.top+w.pageYOffset,"
                  "b.width,b.height].map(Math.round).join(',');})()")
            .toString()
            .toStdString();
    }
    // Scrolls the editor page to its end, grabs the element's corner handle, drags it by the
    // distance in steps, rests, lets go, and gives the element's box.
    std::string shrunkAtCorner(const QString& element, const QPointF& by) {
        js("window.frames['editor'].scrollTo(100000, 100000)");
        QTest::qWait(100);
        // The pointer over the element near its lower right corner shows the handle there.
        const QVariantList near =
            js("(function(){var f=document.getElementById('editor').getBoundingClientRect();"
               "var e=window.frames['editor'].document." +
               element +
               ".getBoundingClientRect();return [f.left+e.right-30, f.top+e.bottom-30];})()")
                .toList();
        if (near.size() != 2) {
            return "no element";
        }
        sendMouse(QEvent::MouseMove, QPointF(near[0].toDouble(), near[1].toDouble()), Qt::NoButton,
                  Qt::NoButton);
        const QPointF corner = centreOf(QStringLiteral("span[id='dd-handle']"));
        if (corner.isNull()) {
            return "no handle";
        }
        sendMouse(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step) {
            sendMouse(QEvent::MouseMove, corner + by * step / 10.0, Qt::NoButton, Qt::LeftButton);
        }
        // The pointer rests; the page must not carry on shrinking it.
        for (int still = 0; still < 5; ++still) {
            sendMouse(QEvent::MouseMove, corner + by, Qt::NoButton, Qt::LeftButton);
        }
        sendMouse(QEvent::MouseButtonRelease, corner + by, Qt::LeftButton, Qt::NoButton);
        return boxOf(element);
    }
};

QString Section(int number) {
    return QStringLiteral("div[id='pagetextitem%1~']").arg(number);
}

}  // namespace

TEST_F(LayoutFlowTest, ItemsAreDuplicatedCopiedAndPastedAcrossPagesOneStepEach) {
    storeSections("other.html", {});
    PageRecord picturePage = textAndPicturePage("first.html", "Copied words");
    picturePage.pictureDescriptions["pageimageitem7~"] = "The logo";
    picturePage.links = {"http://example.com/"};
    store(picturePage, true);
    startWindow();
    ASSERT_TRUE(resume());
    window->browser()->focusProxy()->setFocus();

    // Ctrl+D: the clicked section again, 10 pixels down and right, selected; Ctrl+Z takes it
    // away in one step.
    pick(Section(1));
    EXPECT_EQ(selected(), 1);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_D, Qt::ControlModifier); }));
    EXPECT_EQ(placed("pagetextitem2~"), "60,110");
    EXPECT_EQ(page().texts.back(), "pagetextitem2~<P>Copied words</P>");
    EXPECT_EQ(page().richTexts.size(), page().texts.size());
    EXPECT_EQ(spot(Section(2)), "60,110");
    EXPECT_EQ(selected(), 1);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(Section(2)), "gone");

    // The section and the picture, copied: other programs get the words; pasted onto the
    // same page, beside the originals; onto another page, where they stood.
    pick(Section(1));
    pick(picture("pageimageitem7~"), true);
    EXPECT_EQ(selected(), 2);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Copied words");
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_V, Qt::ControlModifier); }));
    ASSERT_EQ(page().pictures.size(), 2u);
    const std::string pasted = ItemNameIn(page().pictures[1]);
    EXPECT_NE(pasted, "pageimageitem7~");
    EXPECT_EQ(spot(picture(pasted)), "146,310");
    EXPECT_EQ(page().links[1], "http://example.com/");
    EXPECT_EQ(page().pictureDescriptions.at(pasted), "The logo");
    // Saved, the store and the page hold both, under their own names.
    save("webpages/first.html");
    const std::string ofFirst =
        " and PROJECTID = (select ID from quillprojects where FILENAME = 'first.html')";
    EXPECT_EQ(stored("select count(*) from pageimages where IMAGESOURCE like '" + pasted + "%'" +
                     ofFirst),
              "1");
    EXPECT_EQ(
        stored("select count(*) from pagetexts where TEXTDATA like 'pagetextitem3~%'" + ofFirst),
        "1");
    const std::string first = ReadFile(path("webpages/first.html"));
    EXPECT_NE(first.find("<IMG name='" + pasted + "'"), std::string::npos);
    EXPECT_NE(first.find("<IMG name='pageimageitem7~'"), std::string::npos);
    EXPECT_NE(first.find("<div id='pagetextitem3~'"), std::string::npos);

    auto* pages = window->findChild<QComboBox*>("pages");
    ASSERT_TRUE(redrawnAfter([&] {
        pages->setCurrentIndex(pages->findText("other.html"));
        emit pages->activated(pages->currentIndex());
    }));
    ASSERT_TRUE(editorShown());
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(undoneAfter([&] { pressInPage(Qt::Key_V, Qt::ControlModifier); }));
    EXPECT_EQ(page().texts, std::vector<std::string>{"pagetextitem1~<P>Copied words</P>"});
    EXPECT_EQ(spot(Section(1)), "50,100");
    ASSERT_EQ(page().pictures.size(), 1u);
    EXPECT_EQ(spot(picture(ItemNameIn(page().pictures[0]))), "136,300");
    // Cut takes the section away in one step; pasted, it comes back where it stood.
    pick(Section(1));
    ASSERT_TRUE(undoneAfter([&] { pressInPage(Qt::Key_X, Qt::ControlModifier); }));
    EXPECT_EQ(page().texts[0], kRemovedItem);
    ASSERT_TRUE(undoneAfter([&] { pressInPage(Qt::Key_V, Qt::ControlModifier); }));
    const std::string back = ItemNameIn(page().texts.back());
    EXPECT_EQ(spot(QStringLiteral("div[id='%1']").arg(QString::fromStdString(back))), "50,100");
    save("webpages/other.html");
    const std::string published = ReadFile(path("webpages/other.html"));
    EXPECT_NE(published.find("<P>Copied words</P>"), std::string::npos);
    EXPECT_NE(published.find("alt=\"The logo\""), std::string::npos);
}

TEST_F(LayoutFlowTest, ASelectionMovesAlignsAndSpreadsTogetherOneStepEach) {
    // Three sections of different sizes, apart from each other.
    storeSections("three.html", {{40, 60, 100, 40}, {300, 150, 160, 60}, {120, 330, 80, 100}});
    startWindow();
    ASSERT_TRUE(resume());
    window->browser()->focusProxy()->setFocus();

    // A frame drawn on empty space around the first two, then Shift+click adds the third.
    drag(place(20, 40), QPointF(400, 140));
    EXPECT_EQ(selected(), 2);
    pick(Section(3), true);
    EXPECT_EQ(selected(), 3);
    // Dragging one moves all: one step.
    drag(centreOf(Section(2)), QPointF(30, 20));
    EXPECT_EQ(spot(Section(1)), "70,80");
    EXPECT_EQ(spot(Section(2)), "330,170");
    EXPECT_EQ(spot(Section(3)), "150,350");
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(Section(1)), "40,60");
    EXPECT_EQ(spot(Section(3)), "120,330");
    // The arrows move the whole selection, a pixel a press.
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Right);
    ASSERT_TRUE(WaitFor([&] { return placed("pagetextitem3~") == "121,330"; }));
    EXPECT_EQ(placed("pagetextitem1~"), "41,60");
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(Section(1)), "40,60");

    // Each alignment from the Edit menu on all three, exact, and undone in one step.
    const struct {
        const char* command;
        std::vector<std::string> places;
    } alignments[] = {
        {"Align Left", {"40,60", "40,150", "40,330"}},
        {"Align Right", {"360,60", "300,150", "380,330"}},
        {"Align Centre", {"200,60", "170,150", "210,330"}},
        {"Align Top", {"40,60", "300,60", "120,60"}},
        {"Align Bottom", {"40,390", "300,370", "120,330"}},
        {"Align Middle", {"40,225", "300,215", "120,195"}},
        // 40..460 holds 340 pixels of sections: 40 between each.
        {"Distribute Horizontally", {"40,60", "300,150", "180,330"}},
        // 60..430 holds 200: 85 between each.
        {"Distribute Vertically", {"40,60", "300,185", "120,330"}},
    };
    for (const auto& alignment : alignments) {
        ASSERT_TRUE(editorShown());
        window->browser()->focusProxy()->setFocus();
        press(Qt::Key_A, Qt::ControlModifier);
        ASSERT_EQ(selected(), 3) << alignment.command;
        for (QAction* action : window->menuBar()->findChildren<QAction*>()) {
            if (action->text() == alignment.command) {
                action->trigger();
            }
        }
        ASSERT_TRUE(WaitFor([&] {
            return placed("pagetextitem1~") + placed("pagetextitem2~") + placed("pagetextitem3~") !=
                   "40,60300,150120,330";
        })) << alignment.command;
        EXPECT_EQ((std::vector<std::string>{placed("pagetextitem1~"), placed("pagetextitem2~"),
                                            placed("pagetextitem3~")}),
                  alignment.places)
            << alignment.command;
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }))
            << alignment.command;
        EXPECT_EQ(spot(Section(2)), "300,150") << alignment.command;
    }

    // From a clicked item's options, with the others selected; the grid of 50 on, the line
    // they meet on is on it: the tops at 60, 150 and 330 (90 down the page) meet at 100.
    ASSERT_TRUE(controlsCommand(QStringLiteral("http://gridchange3")));
    ASSERT_TRUE(editorShown());
    window->browser()->focusProxy()->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    prompts.clickOptions = {std::string("ALIGNTOP")};
    ASSERT_TRUE(redrawnAfter([&] { pick(Section(2)); }));
    ASSERT_TRUE(WaitFor([&] { return placed("pagetextitem2~") == "300,70"; }));
    EXPECT_EQ(placed("pagetextitem1~"), "40,70");
    EXPECT_EQ(placed("pagetextitem3~"), "120,70");

    // Escape lets the selection go; Delete takes every selected item in one step.
    ASSERT_TRUE(editorShown());
    window->browser()->focusProxy()->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Escape);
    EXPECT_EQ(selected(), 0);
    pick(Section(1));
    pick(Section(3), true);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Delete); }));
    EXPECT_EQ(page().texts[0], kRemovedItem);
    EXPECT_EQ(page().texts[2], kRemovedItem);
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(Section(1)), "40,70");
    EXPECT_EQ(spot(Section(3)), "120,70");
}

TEST_F(LayoutFlowTest, ADraggedEdgeHoldsToAGuideUnlessAltIsHeld) {
    storeSections("guides.html", {{40, 60, 100, 40}, {300, 200, 100, 40}});
    startWindow();
    ASSERT_TRUE(resume());
    const struct {
        const char* what;
        QPointF by;
        Qt::KeyboardModifiers modifiers;
        std::string place;
        bool guide;
    } drags[] = {
        // Its left 3 pixels from the other's: it takes the other's left, a guide shows.
        {"to an edge", QPointF(-257, 0), Qt::NoModifier, "40,200", true},
        {"with Alt", QPointF(-257, 0), Qt::AltModifier, "43,200", false},
        // Its centre 4 pixels from the container's (400): centred on it.
        {"to the container's centre", QPointF(46, 80), Qt::NoModifier, "350,280", true},
        {"nowhere near", QPointF(17, 80), Qt::NoModifier, "317,280", false},
    };
    for (const auto& move : drags) {
        ASSERT_TRUE(editorShown()) << move.what;
        const QPointF from = centreOf(Section(2));
        QWidget* target = window->browser()->focusProxy();
        const auto send = [&](QEvent::Type type, const QPointF& at, Qt::MouseButton button,
                              Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, move.modifiers);
            QCoreApplication::sendEvent(target, &event);
            QTest::qWait(30);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 5; ++step) {
            send(QEvent::MouseMove, from + move.by * step / 5.0, Qt::NoButton, Qt::LeftButton);
        }
        const bool shown =
            js("(function(){var g=window.frames['editor'].document.querySelectorAll('.dd-guide');"
               "for(var i=0;i<g.length;i++){if(g[i].style.display==='block')return true;}"
               "return false;})()")
                .toBool();
        EXPECT_EQ(shown, move.guide) << move.what;
        send(QEvent::MouseButtonRelease, from + move.by, Qt::LeftButton, Qt::NoButton);
        ASSERT_TRUE(WaitFor([&] { return placed("pagetextitem2~") == move.place; }))
            << move.what << ": " << placed("pagetextitem2~");
        // Undone in one step, back where it was.
        ASSERT_TRUE(editorShown());
        window->browser()->focusProxy()->setFocus();
        ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); })) << move.what;
        EXPECT_EQ(spot(Section(2)), "300,200") << move.what;
    }
}

// A header made shared on one page: shown, marked, on the other, moved there, the move undone,
// and every page published with it where it stands.
TEST_F(LayoutFlowTest, AHeaderSharedOnOnePageIsOnEveryPageMovesThereAndIsPublishedOnAll) {
    store(textAndPicturePage("first.html", "Header words"), true);
    PageRecord other = sitePage("other.html", "Other", "800");
    store(other);
    startWindow();
    ASSERT_TRUE(resume());
    prompts.clickOptions = {std::string("SITEWIDE")};
    ASSERT_TRUE(redrawnAfter([&] { click(centreOf(Section(1))); }));
    ASSERT_TRUE(editorShown());
    const QString header = QStringLiteral("div[id='pagetextitemS1~']");
    EXPECT_EQ(spot(header), "50,100");
    EXPECT_EQ(js("getComputedStyle(window.frames['editor'].document.querySelector(\"" + header +
                 "\")).outlineStyle")
                  .toString(),
              "dashed");
    save("webpages/first.html");
    EXPECT_NE(ReadFile(path("webpages/other.html")).find("Header words"), std::string::npos);

    auto* pages = window->findChild<QComboBox*>("pages");
    ASSERT_TRUE(redrawnAfter([&] {
        pages->setCurrentIndex(pages->findText("other.html"));
        emit pages->activated(pages->currentIndex());
    }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(spot(header), "50,100");
    drag(centreOf(header), QPointF(100, 0));
    EXPECT_EQ(spot(header), "150,100");
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(header), "50,100");
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Y, Qt::ControlModifier); }));
    EXPECT_EQ(spot(header), "150,100");
    save("webpages/other.html");
    for (const char* file : {"webpages/first.html", "webpages/other.html"}) {
        const std::string published = ReadFile(path(file));
        EXPECT_NE(published.find("<div id='pagetextitemS1~' style='position: absolute; top: "
                                 "100px; left: 150px;"),
                  std::string::npos)
            << file << "\n"
            << published;
    }
    EXPECT_EQ(stored("select count(*) from quillprojects where FILENAME = '.siteitems'"), "1");
    EXPECT_EQ(pages->findText(".siteitems"), -1);
}

// An item at the foot of a page scrolled to its end, shrunk by its corner: the page does not
// scroll away under the pointer, and the item ends as large as the pointer left it, in place.
TEST_F(LayoutFlowTest, AnItemShrunkAtTheFootOfAScrolledPageFollowsThePointer) {
    storeSections("tall.html", {{40, 100, 300, 2000}}, std::string());
    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(shrunkAtCorner(QStringLiteral("getElementById('pagetextitem1~')"), {0, -300}),
              "40,100,300,1700");
    ASSERT_TRUE(WaitFor([&] {
        for (const std::string& record : SplitFields(page().stylesData, "|")) {
            if (RecordId(record) == "pagetextitem1~") {
                return std::abs(std::stoi("0" + StyleNumber(record, "height")) - 1700) <= 12;
            }
        }
        return false;
    }));
}

// A camera photo wider and taller than a Full-screen page, shrunk by its corner with the page
// scrolled to it: the page neither scrolls left nor up under the pointer, and one undo brings
// back both its size and its place.
TEST_F(LayoutFlowTest, APhotoShrunkOnAScrolledFullScreenPageKeepsItsPlaceAndUndoesWhole) {
    store(logoPage("wide.html", 40, 100, 4000, 3000), true);
    startWindow();
    ASSERT_TRUE(resume());
    const QString photo = QStringLiteral("getElementsByName('pageimageitem9~')[0]");
    EXPECT_EQ(shrunkAtCorner(photo, {-600, -500}), "40,100,3400,2500");
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(boxOf(photo), "40,100,4000,3000");
}

// After each command the editor page is brought up to date in place; loaded whole from the
// file the program wrote, it is the same page: the same markup, the same items registered,
// each at the same place and size.
TEST_F(LayoutFlowTest, APageUpdatedInPlaceIsThePageAWholeLoadShows) {
    PageRecord stored = textAndPicturePage("first.html", "Words");
    stored.links = {"http://example.com/"};
    store(stored, true);
    startWindow();
    ASSERT_TRUE(resume());
    window->browser()->focusProxy()->setFocus();
    const QString shown = QStringLiteral(
        "(function(){var e=window.frames['editor'];var page=e.document.documentElement"
        ".cloneNode(true);page.querySelectorAll('#dd-handle,#dd-band,.dd-guide').forEach("
        "function(n){n.remove();});return page.outerHTML+'\\n'+e.dd.elements.map(function(r){"
        "return r.name+(r.draggable?'':' fixed')+(r.scalable?' scalable':'')+' '+r.z+' '+r.x+','+"
        "r.y+' '+r.w+'x'+r.h;})"
        ".join(',')+(e.dd.resizable?' resizable':'')+(e.dd.handCursor?' hand':'');})()");
    const auto sameAsLoaded = [&](const char* after) {
        const QString version = editorVersion();
        EXPECT_TRUE(version.toInt() > 0) << after << ": updated in place, not loaded";
        const QString inPlace = js(shown).toString();
        js(QStringLiteral("window.frames['editor'].location.reload()"));
        ASSERT_TRUE(WaitFor([&] {
            return editorVersion() == QLatin1String("undefined") &&
                   js("window.frames['editor'].document.readyState").toString() ==
                       QLatin1String("complete");
        })) << after;
        EXPECT_EQ(inPlace, js(shown).toString()) << after;
    };
    pick(Section(1));
    ASSERT_TRUE(redrawnAfter([&] { press(Qt::Key_D, Qt::ControlModifier); }));
    sameAsLoaded("a duplicate");
    ASSERT_TRUE(controlsCommand(QStringLiteral("http://pagecontainer3")));
    sameAsLoaded("a wider container");
    ASSERT_TRUE(controlsCommand(QStringLiteral("http://gridchange2")));
    sameAsLoaded("a grid");
    ASSERT_TRUE(redrawnAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    sameAsLoaded("an undo");
    pick(Section(1));
    ASSERT_TRUE(redrawnAfter([&] { pressInPage(Qt::Key_Delete); }));
    sameAsLoaded("a delete");
    prompts.openFileNames = {path("webpages/quillora-logo.gif")};
    ASSERT_TRUE(redrawnAfter([&] {
        js("(function(){var e=window.frames['editor'];e.openMenu(300,200,true);"
           "e.addGraphic();})()");
    }));
    sameAsLoaded("a picture added");
    ASSERT_TRUE(controlsCommand(QStringLiteral("http://gridchange3")));
    sameAsLoaded("a grid after the picture");
    // The linked picture's place in the stacking order is read through its link.
    EXPECT_NE(page().stylesData.find("left:136px;background:transparent;Z-INDEX:1'>"),
              std::string::npos)
        << page().stylesData;
}
