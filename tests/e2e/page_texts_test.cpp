// What the user typed reaches the page exactly, as the real browser reads it back: titles,
// links, picture names, backgrounds and font faces with quotes, ampersands and markup in them.
#include <QWebEnginePage>
#include <filesystem>

#include "page/page_record.h"
#include "site/published_page.h"
#include "textedit/html_conversion.h"
#include "textedit/rich_text.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

class PageTextsTest : public WindowFixture {
  protected:
    // The page as published into a folder of its own, loaded by the browser; the script's
    // answer.
    QString published(const PageRecord& page, const QString& script) {
        const std::string site = JoinPath(home.path(), "site");
        std::filesystem::create_directories(site);
        PagePublisher publisher(working, prompts);
        std::string text;
        EXPECT_TRUE(publisher.publish(page, PublishVariant::Save, site, "typed.html", text));
        QWebEnginePage browser;
        bool loaded = false;
        QObject::connect(&browser, &QWebEnginePage::loadFinished, [&](bool) { loaded = true; });
        browser.load(QUrl::fromLocalFile(QString::fromStdString(JoinPath(site, "typed.html"))));
        WaitFor([&] { return loaded; });
        browser.runJavaScript("window.answer = undefined; " + script);
        return Answer(browser);
    }

    // What the script left in window.answer, once it is there.
    static QString Answer(QWebEnginePage& browser) {
        QVariant answer;
        WaitFor([&] {
            bool answered = false;
            browser.runJavaScript("window.answer === undefined ? null : String(window.answer)",
                                  [&](const QVariant& value) {
                                      answer = value;
                                      answered = true;
                                  });
            WaitFor([&] { return answered; });
            return !answer.isNull();
        });
        return answer.toString();
    }

    // Loads the picture the element's computed background names; the answer is the file name
    // of its address, or "not loaded".
    static QString LoadedBackground(const QString& element, const QString& frame = "window") {
        return "(function(){var u=" + frame + ".getComputedStyle(" + element +
               ").backgroundImage.replace(/^url\\(\"?|\"?\\)$/g,'');var i=new Image();"
               "i.onload=function(){window.answer=decodeURIComponent(u.split('/').pop());};"
               "i.onerror=function(){window.answer='not loaded';};i.src=u;})()";
    }

    // A picture file of the working folder's backgrounds under another name.
    void background(const std::string& name) {
        std::filesystem::copy_file(path("backgrounds/paper.gif"), path("backgrounds/" + name),
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

}  // namespace

TEST_F(PageTextsTest, EveryTypedValueComesBackExactlyFromThePublishedPage) {
    const std::string script = "My \"quoted\" 'page' </title><script>alert(1)</script> & more";
    const std::string link = "javascript:alert(1)' onmouseover='alert(2)";
    const std::string query = "https://example.com/?a=1&b='2'";
    const std::string pictureName = "Bob's \"best\" & co.gif";
    const std::string photo = "my photo (1).jpg";
    const std::string quoted = "Bob's paper.gif";
    for (const std::string& name : {pictureName, photo, quoted}) {
        background(name);
    }
    RichText face("Faced", CharFormat{});
    CharFormat format;
    format.face = "Bob's Sans & Co";
    face.setFormat(0, face.length(), format);

    struct Case {
        std::function<void(PageRecord&)> type;
        QString script;
        std::string expected;
    };
    const Case cases[] = {
        {[&](PageRecord& p) { p.pageTitle = "Tom & Jerry's \"Best\" </title> page"; },
         "window.answer=document.title", "Tom & Jerry's \"Best\" </title> page"},
        {[&](PageRecord& p) { p.pageTitle = script; },
         "window.answer=document.title + '|' + document.scripts.length", script + "|1"},
        {[&](PageRecord& p) { p.links = {link}; },
         "var "
         "a=document.querySelector('a');window.answer=a.getAttribute('href')+'|'+a.hasAttribute("
         "'onmouseover')",
         link + "|false"},
        {[&](PageRecord& p) { p.links = {query}; },
         "window.answer=document.querySelector('a').getAttribute('href')", query},
        {[&](PageRecord& p) {
             p.pictures = {"pageimageitem7~" + path("backgrounds/" + pictureName)};
         },
         // The copy beside the page has its problem characters replaced.
         "window.answer=document.images[0].getAttribute('src')", "Bob-s -best- - co.gif"},
        {[&](PageRecord& p) { p.backImage = quoted; },
         "window.answer=document.body.getAttribute('background')", quoted},
        {[&](PageRecord& p) { p.pageImage = photo; },
         LoadedBackground("document.getElementById('pagecontainer')"), photo},
        {[&](PageRecord& p) { p.pageImage = quoted; },
         LoadedBackground("document.getElementById('pagecontainer')"), quoted},
        {[&](PageRecord& p) {
             p.stylesData =
                 "<div id='pagetextitem1~' style='position: absolute; top: 100px; "
                 "background-image: url(\"backgrounds/Bob's paper.gif\");'>";
         },
         LoadedBackground("document.getElementById('pagetextitem1~')"), quoted},
        {[&](PageRecord& p) { p.texts = {"pagetextitem1~" + convertToHtml(face, "x", false)}; },
         "window.answer=document.querySelector('font').getAttribute('face')", format.face},
    };
    for (const Case& c : cases) {
        PageRecord page = textAndPicturePage("typed.html", "Words");
        c.type(page);
        EXPECT_EQ(published(page, c.script).toStdString(), c.expected) << c.script.toStdString();
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PageTextsTest, AnApostropheInASectionsBackgroundLeavesTheEditorPageWorking) {
    storeOneTextPage("quote.html", "Quote", "Quoted", "800");
    background("Bob's paper.gif");
    background("my photo (1).jpg");
    startWindow();
    ASSERT_TRUE(resume());

    // The section's background chosen in the text editor.
    prompts.clickOptions = {std::string("EDIT")};
    click(centreOf("div[id='pagetextitem1~']"));
    ASSERT_TRUE(WaitFor([&] { return window->textEditor() && window->textEditor()->isVisible(); }));
    prompts.openFileNames = {path("backgrounds/Bob's paper.gif")};
    window->textEditor()->findChild<PictureButton*>("browse")->click();
    ASSERT_TRUE(
        redrawnAfter([&] { window->textEditor()->findChild<PictureButton*>("done")->click(); }));
    ASSERT_TRUE(editorShown());
    const QString section = "window.frames['editor'].document.getElementById('pagetextitem1~')";
    EXPECT_EQ(js(section + ".style.backgroundImage").toString(),
              "url(\"backgrounds/Bob's paper.gif\")");

    // The page's own background, a name with blanks and parentheses, shows.
    prompts.openFileNames = {path("backgrounds/my photo (1).jpg")};
    const QPointF empty = place(600, 250);
    click(empty);
    ASSERT_TRUE(redrawnAfter([&] { click(empty + QPointF(56, 97)); }) && editorShown());
    js("window.answer = undefined;" +
       LoadedBackground("window.frames['editor'].document.getElementById('pagecontainer')",
                        "window.frames['editor']"));
    EXPECT_EQ(Answer(*window->browser()->page()), "my photo (1).jpg");

    // Dragged, saved, and back after a restart.
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(120, 30));
    save("webpages/quote.html");
    window->close();
    window.reset();
    startWindow();
    ASSERT_TRUE(resume());
    EXPECT_EQ(js(section + ".style.left + ',' + " + section + ".style.top").toString(),
              "170px,130px");
    EXPECT_EQ(js(section + ".style.backgroundImage").toString(),
              "url(\"backgrounds/Bob's paper.gif\")");
    EXPECT_TRUE(prompts.shown.empty());
}
