// Text sections in the real window: written and formatted in the text editor, placed where the
// add menu was opened, edited again, cancelled, saved and reopened.
#include <QComboBox>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextEdit>

#include "page/page_record.h"
#include "textedit/rich_text_document.h"
#include "textedit/rtf_writer.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

constexpr double kMenuX = 56;
constexpr double kAddTextY = 46;

class TextSectionsTest : public WindowFixture {
  protected:
    void storeEmptyPage() {
        PageRecord page = sitePage("text.html", "Sections", "800");
        store(page, true);
    }

    texteditor* editor() { return window->textEditor(); }
    // The empty page resumed, the add menu opened on it and its text entry chosen.
    bool openNewSection() {
        storeEmptyPage();
        startWindow();
        if (!resume()) {
            return false;
        }
        const QPointF where = place(300, 120);
        click(where);
        click(where + QPointF(kMenuX, kAddTextY));
        return WaitFor([&] { return editor() && editor()->isVisible(); });
    }
    QTextEdit* area() { return editor()->editingArea(); }
    void press(const char* caption) { editor()->findChild<PictureButton*>(caption)->click(); }

    // Selects the first occurrence of the word in the editing area.
    void selectWord(const QString& word) {
        QTextCursor found = area()->document()->find(word);
        ASSERT_FALSE(found.isNull()) << word.toStdString();
        area()->setTextCursor(found);
    }

    // The editing area's content as the program stores it.
    std::string shownRtf() { return WriteRtf(ToRichText(*area()->document(), QTextCursor())); }

    std::string sectionId() {
        const std::vector<std::string>& texts = window->session().workspace().page.texts;
        return texts.empty() ? std::string() : texts.back().substr(0, texts.back().find('~') + 1);
    }
};

}  // namespace

TEST_F(TextSectionsTest, ASectionIsWrittenPlacedEditedCancelledSavedAndReopenedUnchanged) {
    ASSERT_TRUE(openNewSection());
    EXPECT_EQ(editor()->windowTitle(), "Quillora Text  Editor");

    // Typed, then formatted word by word as a writer does.
    area()->setFocus();
    QTest::keyClicks(area(), "Plain bold red big link");
    QTest::keyClick(area(), Qt::Key_Return);
    QTest::keyClicks(area(), "Second paragraph");
    selectWord("bold");
    QTest::keyClick(area(), Qt::Key_B, Qt::ControlModifier);
    selectWord("red");
    prompts.colours = {Rgb{255, 0, 0}};
    press("colorbutton");
    selectWord("big");
    auto* sizes = editor()->findChild<QComboBox*>("sizes");
    sizes->setCurrentIndex(sizes->findText("24"));
    emit sizes->activated(sizes->currentIndex());
    selectWord("link");
    prompts.linkTargets = {std::string("http://www.example.com/")};
    press("link");
    editor()->findChild<QRadioButton*>("center")->click();
    ASSERT_TRUE(redrawnAfter([&] { press("done"); }));
    ASSERT_TRUE(editorShown());

    const std::string id = sectionId();
    ASSERT_EQ(id, "pagetextitem1~");
    const PageRecord& page = window->session().workspace().page;
    const std::string html = page.texts.back();
    // Formats change at word boundaries, each word bringing its space along.
    EXPECT_NE(html.find("Plain <b> bold</SPAN></font> "), std::string::npos) << html;
    EXPECT_NE(html.find("color='#FF0000'"), std::string::npos) << html;
    EXPECT_NE(html.find("font-size:24pt;"), std::string::npos) << html;
    EXPECT_NE(html.find("<A  HREF='http://www.example.com/'>link</A>"), std::string::npos) << html;
    EXPECT_NE(html.find("<BR>"), std::string::npos) << html;
    EXPECT_EQ(js("(function(){var d=window.frames['editor'].document;"
                 "var s=d.getElementById('pagetextitem1~');"
                 "var c=d.getElementById('pagecontainer').getBoundingClientRect();"
                 "var r=s.getBoundingClientRect();"
                 "return [Math.round(r.left-c.left), Math.round(r.top-c.top), s.style.textAlign]"
                 ".join(',');})()")
                  .toString()
                  .toStdString(),
              "300,120,center");
    const std::string rtf = page.richTexts.back();

    // Opened again, the editor shows the same formatting.
    prompts.clickOptions = {std::string("EDIT")};
    click(centreOf("div[id='pagetextitem1~']"));
    ASSERT_TRUE(WaitFor([&] { return editor()->isVisible(); }));
    EXPECT_EQ(shownRtf(), rtf);
    EXPECT_TRUE(editor()->findChild<QRadioButton*>("center")->isChecked());
    EXPECT_EQ(area()->document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);

    // Cancelled changes leave the page as it was.
    QTest::keyClicks(area(), "thrown away ");
    const int loadsBefore = loads;
    press("dialog_cancel");
    QTest::qWait(300);
    EXPECT_EQ(loads, loadsBefore);
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(page.texts.back(), html);
    EXPECT_EQ(page.richTexts.back(), rtf);

    // Saved, closed and reopened: the same section and rich text, and the converted HTML in
    // the finished page.
    save("webpages/text.html");
    EXPECT_NE(ReadFile(path("webpages/text.html")).find(html.substr(id.size())), std::string::npos);
    window->close();
    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(window->session().workspace().page.texts.back(), html);
    EXPECT_EQ(window->session().workspace().page.richTexts.back(), rtf);
    EXPECT_TRUE(prompts.shown.empty());
}

// The spell button walks the section with the real dictionary; a word added to the custom list
// is not offered again, even after a restart.
TEST_F(TextSectionsTest, TheSpellButtonReplacesIgnoresAndAddsWords) {
    ASSERT_TRUE(openNewSection());
    QTest::keyClicks(area(), "Teh qick brwn fox");
    prompts.spellAnswers = {{"The", false, false}, {"qick", false, false}, {"brwn", true, false}};
    press("spell");
    EXPECT_EQ(area()->toPlainText().toStdString(), "The qick brwn fox");
    ASSERT_EQ(prompts.spellAsked.size(), 3u);
    EXPECT_EQ(prompts.spellAsked[0].rfind("Teh | ", 0), 0u) << prompts.spellAsked[0];
    EXPECT_NE(prompts.spellAsked[0].find(" The "), std::string::npos) << prompts.spellAsked[0];
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Spell check complete.");
    ASSERT_TRUE(redrawnAfter([&] { press("done"); }));
    ASSERT_TRUE(editorShown());

    window->close();
    startWindow();
    ASSERT_TRUE(resume());
    prompts.clickOptions = {std::string("EDIT")};
    click(centreOf("div[id='pagetextitem1~']"));
    ASSERT_TRUE(WaitFor([&] { return editor() && editor()->isVisible(); }));
    prompts.spellAsked.clear();
    press("spell");
    ASSERT_EQ(prompts.spellAsked.size(), 1u);
    EXPECT_EQ(prompts.spellAsked[0].rfind("qick | ", 0), 0u);
}

// Markup typed into a section shows as the text typed: it runs nothing in the designer and
// moves no other item, there or in the saved page.
TEST_F(TextSectionsTest, TypedTagsShowAsTextAndRunNothing) {
    store(textAndPicturePage("typed.html", "Before"), true);
    startWindow();
    ASSERT_TRUE(resume());
    const QPointF where = place(400, 120);
    click(where);
    click(where + QPointF(kMenuX, kAddTextY));
    ASSERT_TRUE(WaitFor([&] { return editor() && editor()->isVisible(); }));
    area()->setFocus();
    QTest::keyClicks(area(), "A </div><script>top.ranTyped=1</script> B");
    QTest::keyClick(area(), Qt::Key_Return);
    QTest::keyClicks(area(), "Price: 3 < 5 and x<y>z <b>bold");
    ASSERT_TRUE(redrawnAfter([&] { press("done"); }));
    ASSERT_TRUE(editorShown());

    const std::string id = sectionId();
    const QString shown = js("window.frames['editor'].document.getElementById('" +
                             QString::fromStdString(id) + "').innerText.replace(/\\s+/g,' ')")
                              .toString();
    EXPECT_EQ(shown.toStdString(),
              "A </div> <script>top.ranTyped=1</script> B Price: 3 < 5 and x<y>z bold");
    EXPECT_EQ(js("String(top.ranTyped)+','+String(window.frames['editor'].ranTyped)").toString(),
              "undefined,undefined");
    EXPECT_EQ(js("window.frames['editor'].document.querySelectorAll('b').length").toInt(), 1);
    EXPECT_EQ(spot(picture("pageimageitem7~")), "136,300");

    save("webpages/typed.html");
    const std::string published = ReadFile(path("webpages/typed.html"));
    EXPECT_EQ(published.find("<script>top.ranTyped"), std::string::npos);
    EXPECT_NE(published.find("&lt;script>top.ranTyped=1&lt;/script>"), std::string::npos);
    EXPECT_NE(window->session().workspace().page.stylesData.find("top:300px;left:136px"),
              std::string::npos)
        << window->session().workspace().page.stylesData;
}
