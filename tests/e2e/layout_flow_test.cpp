// Laying out many items at once in the real window, with the mouse and the keys: duplicate,
// copy and paste between pages, a selection dragged, aligned and spread, and guides that
// hold an edge while dragging. Each action is one undo step.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <array>

#include "common/fields.h"
#include "designer/item_walk.h"
#include "window_fixture.h"

namespace {

class LayoutFlowTest : public WindowFixture {
  protected:
    PageRecord& page() { return window->session().workspace().page; }

    // A page of text sections of the given places and sizes, stored and named by the last
    // session.
    void storeSections(const std::string& fileName,
                       const std::vector<std::array<int, 4>>& sections) {
        PageRecord stored = sitePage(fileName, fileName, "800");
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
    std::string stored(const std::string& id) {
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
    EXPECT_EQ(stored("pagetextitem2~"), "60,110");
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

    auto* pages = window->findChild<QComboBox*>("pages");
    ASSERT_TRUE(reloadsAfter([&] {
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
    save("webpages/other.html");
    const std::string published = ReadFile(path("webpages/other.html"));
    EXPECT_NE(published.find("<P>Copied words</P>"), std::string::npos);
    EXPECT_NE(published.find("alt=\"The logo\""), std::string::npos);
}
