// A site of two languages in the real window: the language bar switches the language the page
// is written in; the layout is one.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <QTextEdit>
#include <algorithm>

#include "store/page_store.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

class LanguagesWindowTest : public WindowFixture {
  protected:
    texteditor* editor() { return window->textEditor(); }
    QString words(const char* id) {
        return js(QStringLiteral("window.frames['editor'].document.getElementById('%1').innerText")
                      .arg(QString::fromLatin1(id)))
            .toString();
    }
    // Chooses the language one step down or up the bar, as the keyboard does.
    bool switchLanguage(Qt::Key key) {
        auto* bar = window->findChild<QComboBox*>("languages");
        bar->setFocus();
        return redrawnAfter([&] { QTest::keyClick(bar, key); }) && editorShown();
    }
};

}  // namespace

TEST_F(LanguagesWindowTest, ATranslationIsTypedInItsLanguageAndAMoveThereMovesEveryLanguage) {
    const PageRecord page = textAndPicturePage("page.html", "Hello");
    {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        PageStore pages(db, prompts);
        SiteOptions options;
        options.languages = {"en", "fr"};
        ASSERT_TRUE(pages.siteOptions().save(page.directory, options));
    }
    store(page, true);
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(editorShown());
    auto* bar = window->findChild<QComboBox*>("languages");
    ASSERT_TRUE(bar->isVisible());
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->itemText(1).toStdString(), "Français (fr)");

    ASSERT_TRUE(switchLanguage(Qt::Key_Down));
    EXPECT_EQ(window->session().workspace().editor.editingLanguage, "fr");
    // Not yet translated, the section shows the main words, outlined; typed over, they are
    // French.
    EXPECT_TRUE(words("pagetextitem1~").contains("Hello"));
    const QString outline = QStringLiteral(
        "getComputedStyle(window.frames['editor'].document.getElementById('pagetextitem1~'))"
        ".outlineStyle");
    EXPECT_EQ(js(outline).toString(), "dotted");
    prompts.clickOptions = {std::string("EDIT")};
    click(centreOf("div[id='pagetextitem1~']"));
    ASSERT_TRUE(WaitFor([&] { return editor() && editor()->isVisible(); }));
    editor()->editingArea()->selectAll();
    // Long enough to grow down over the picture, where the English words stop short of it.
    const QString sentence = QStringLiteral(
        "Bonjour et bienvenue sur notre site, ou nous racontons notre histoire, nos voyages, nos "
        "projets et nos rencontres. ");
    QTest::keyClicks(editor()->editingArea(), sentence.repeated(4));
    ASSERT_TRUE(redrawnAfter([&] { editor()->findChild<PictureButton*>("done")->click(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_TRUE(words("pagetextitem1~").contains("Bonjour"));
    EXPECT_EQ(js(outline).toString(), "none");
    const PageRecord& edited = window->session().workspace().page;
    EXPECT_NE(edited.translations.at("fr").at("pagetextitem1~").find("Bonjour"), std::string::npos);
    EXPECT_NE(edited.texts.front().find("Hello"), std::string::npos);

    // Moved in French (held by its right end, which the French words leave free), the picture
    // stands there in English too.
    drag(centreOf(picture("pageimageitem7~")) + QPointF(60, 0), QPointF(40, 30));
    ASSERT_TRUE(switchLanguage(Qt::Key_Up));
    EXPECT_EQ(window->session().workspace().editor.editingLanguage, "");
    EXPECT_EQ(spot(picture("pageimageitem7~")), "176,330");
    EXPECT_TRUE(words("pagetextitem1~").contains("Hello"));

    // The site check lays both versions out in the browser: the French words run into the
    // picture; opening the finding shows the page in French with the section chosen.
    const std::string reach =
        "page.html: The section's words in Français (fr) run past its box "
        "into the next item: shorten them or give the box more room.";
    prompts.siteCheckAnswers = {std::nullopt};
    menuEntry("Check Site...").trigger();
    const auto found = std::find(prompts.siteFindings.begin(), prompts.siteFindings.end(), reach);
    ASSERT_NE(found, prompts.siteFindings.end()) << ::testing::PrintToString(prompts.siteFindings);
    prompts.siteCheckAnswers = {static_cast<std::size_t>(found - prompts.siteFindings.begin())};
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("Check Site...").trigger(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(window->session().workspace().editor.editingLanguage, "fr");
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_TRUE(WaitFor([&] {
        return js("window.frames['editor'].ddSelectionNames()").toString() == "pagetextitem1~";
    }));
}
