// Published pages of a phone-friendly site in the real browser: one column in reading order on
// a phone, the very same pixels on a desktop, and what an accessibility checker asks of them.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "page/site_menu.h"
#include "phone_pages_fixture.h"
#include "shell/phone_preview.h"
#include "site/phone/phone_layout.h"
#include "site/phone/text_extent.h"
#include "site/published_page.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

TEST_F(PhonePagesTest, OnAPhoneTheItemsFormOneColumnInReadingOrderOnADesktopNothingChanges) {
    for (Design& design : designs()) {
        const std::string phone = publish(design.page(), true, design.name() + ".html");
        auto narrow = show(phone, 375, 667);
        const QJsonObject seen =
            QJsonDocument::fromJson(run(*narrow, kPhoneCheck).toString().toUtf8()).object();
        EXPECT_LE(seen["scrollWidth"].toInt(), seen["width"].toInt()) << design.name();
        EXPECT_EQ(seen["overlaps"].toInt(), 0) << design.name();
        EXPECT_EQ(seen["unseen"].toInt(), 0) << design.name();
        std::vector<std::string> order;
        for (const QJsonValue& id : seen["order"].toArray()) {
            order.push_back(id.toString().toStdString());
        }
        EXPECT_EQ(order, ReadingOrder(design.page())) << design.name();

        const std::string plain = publish(design.page(), false, design.name() + "-plain.html");
        auto wideOn = show(phone, 1280, 900);
        auto wideOff = show(plain, 1280, 900);
        const QImage on = settled(*wideOn);
        EXPECT_FALSE(on.isNull());
        EXPECT_TRUE(on == settled(*wideOff)) << design.name() << " differs at 1280 pixels";
    }
}

TEST_F(PhonePagesTest, AnAccessibilityCheckerFindsNothingMissingOnADescribedPage) {
    QFile axe(QStringLiteral(QUILLORA_AXE_SCRIPT));
    ASSERT_TRUE(axe.open(QIODevice::ReadOnly)) << QUILLORA_AXE_SCRIPT;
    const QString checker = QString::fromUtf8(axe.readAll());
    const auto violations = [&](const std::string& file) {
        auto view = show(file, 375, 667);
        run(*view, checker);
        run(*view,
            QStringLiteral("window.axeFound=null;axe.run(document,{runOnly:{type:'rule',values:["
                           "'image-alt','html-has-lang','document-title','meta-viewport']}})"
                           ".then(function(r){window.axeFound=r.violations.map(function(v){"
                           "return v.id;}).sort().join(' ');});"));
        QString found;
        WaitFor([&] {
            const QVariant value = run(*view, QStringLiteral("window.axeFound"));
            found = value.toString();
            return !value.isNull();
        });
        return found.toStdString();
    };
    Design design = designs()[1];
    // Without descriptions and language the checker sees what is missing: it does look.
    EXPECT_EQ(violations(publish(design.page(), true, "bare.html")), "html-has-lang image-alt");
    design.page().language = "en";
    design.page().description = "Overlapping sections and a picture";
    design.page().pictureDescriptions["pageimageitem2~"] = "A blue rectangle";
    EXPECT_EQ(violations(publish(design.page(), true, "described.html")), "");
}

TEST_F(PhonePagesTest, TheWindowSetsTheOptionsAndThePhonePreviewFollowsEachChange) {
    store(textAndPicturePage("phone.html", "Phone words"), true);
    WriteFile(path("lastsession.qlp"), path("webpages") + "|phone.html");
    startWindow();
    ASSERT_TRUE(resume());
    const auto menu = [&](const char* caption) { menuEntry(caption).trigger(); };
    // With the switch off, the preview shows the page as designed and says how to turn it on.
    menu("Phone Preview");
    ASSERT_NE(window->phonePreview(), nullptr);
    auto* note = window->phonePreview()->findChild<QLabel*>("phoneNote");
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains("Page > Site Options"));
    EXPECT_EQ(ReadFile(path("phonepreview.html")).find("name='viewport'"), std::string::npos);
    SiteOptions phoneFriendly;
    phoneFriendly.phoneFriendly = true;
    prompts.siteOptionsAnswers = {phoneFriendly};
    menu("Site Options...");
    EXPECT_EQ(prompts.siteOptionsAsked, std::vector<std::string>{path("webpages") + " off"});
    prompts.pageOptionAnswers = {PageOptions{std::string("fr"), std::string("Une page")}};
    menu("Page Options...");

    menu("Phone Preview");
    PhonePreview* preview = window->phonePreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(preview->view()->size(), QSize(375, 667));
    const auto previewed = [&](const QString& script) { return run(*preview->view(), script); };
    ASSERT_TRUE(WaitFor([&] { return previewed("document.title").toString() == "Phone words"; }));
    EXPECT_EQ(previewed("document.documentElement.lang").toString(), "fr");
    EXPECT_LE(previewed("document.scrollingElement.scrollWidth").toInt(), 375);
    // The picture is shown from where it lies, before any save.
    EXPECT_TRUE(
        previewed("document.images[0].complete&&document.images[0].naturalWidth>0").toBool());
    prompts.titles = {std::string("Nouveau titre")};
    window->findChild<PictureButton*>("pagetitle")->click();
    EXPECT_TRUE(WaitFor([&] { return previewed("document.title").toString() == "Nouveau titre"; }));

    save("webpages/phone.html");
    const std::string published = ReadFile(path("webpages/phone.html"));
    EXPECT_EQ(
        published.rfind("<html lang='fr'><head><meta charset='utf-8'><title>Nouveau titre</title>"
                        "<link rel='icon' href='data:,'>"
                        "<meta name='description' content='Une page'>"
                        "<meta name='viewport'",
                        0),
        0u)
        << published.substr(0, 300);
}

// The phone layout reads sections as the editor makes them, which carry no height, as tall as
// their words make them: the guess stays near what the browser really lays out.
TEST_F(PhonePagesTest, ASectionsGuessedHeightIsNearItsHeightInTheBrowser) {
    const auto html = [](int points, int words, bool lineBreaks) {
        std::string text = "<font face='Arial' color='#000000'><SPAN id='x~0' style='font-size:" +
                           std::to_string(points) + "pt;'>";
        for (int i = 0; i < words; ++i) {
            text += (lineBreaks && i % 4 == 3) ? "word<BR> \r" : "sentence  ";
        }
        return text + "</SPAN></font>";
    };
    const struct {
        int left;
        int points;
        int words;
        bool lineBreaks;
    } sections[] = {{10, 12, 3, false}, {400, 12, 120, false}, {600, 24, 30, false},
                    {10, 10, 40, true}, {300, 36, 2, false},   {150, 14, 300, false}};
    Design design("guessed", "800");
    std::vector<std::string> styles;
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        const auto& section = sections[i];
        const std::string id = "pagetextitem" + std::to_string(i + 1);
        styles.push_back("position: absolute; top: " + std::to_string(10 + 400 * i) +
                         "px; left: " + std::to_string(section.left) +
                         "px; border-width: 1px; border-style: solid; padding: 10px; "
                         "visibility: visible;");
        design.page().stylesData += std::string(design.page().stylesData.empty() ? "" : "|") +
                                    "<div id='" + id + "~' style='" + styles.back() + "'>";
        design.page().texts.push_back(id + "~" +
                                      html(section.points, section.words, section.lineBreaks));
    }
    auto view = show(publish(design.page(), false, "guessed.html"), 1280, 900);
    const QVariantList heights =
        run(*view,
            "Array.prototype.map.call(document.querySelectorAll("
            "\"div[id^='pagetextitem']\"),function(e){return e.offsetHeight;})")
            .toList();
    ASSERT_EQ(heights.size(), static_cast<int>(std::size(sections)));
    for (std::size_t i = 0; i < std::size(sections); ++i) {
        const double real = heights[static_cast<int>(i)].toDouble();
        const std::string& entry = design.page().texts[i];
        const double guess = EstimatedTextHeight(entry.substr(entry.find('~') + 1), styles[i],
                                                 800.0 - sections[i].left);
        EXPECT_NEAR(guess, real, std::max(0.3 * real, sections[i].points * 2.0))
            << "section " << i + 1;
    }
}

// Page > Check Site in the window: the findings of the folder's pages listed, and the one
// opened shows its page with its item selected.
TEST_F(PhonePagesTest, TheSiteCheckOpensAFindingsPageWithItsItemSelected) {
    PageRecord described = textAndPicturePage("index.html", "Front");
    described.language = "en";
    described.description = "The front page";
    described.pictureDescriptions = {{"pageimageitem7~", "The logo"}};
    store(described, true);
    store(textAndPicturePage("other.html", "Other"));
    startWindow();
    ASSERT_TRUE(resume());
    prompts.siteCheckAnswers = {std::size_t{2}};
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("Check Site...").trigger(); }));
    ASSERT_EQ(prompts.siteChecked, std::vector<std::string>{path("webpages")});
    ASSERT_GE(prompts.siteFindings.size(), 3u);
    EXPECT_EQ(prompts.siteFindings[2],
              "other.html: The picture quillora-logo.gif has no description for visitors who "
              "cannot see it (double-click it, or mark it as decoration).");
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(window->session().workspace().page.fileName, "other.html");
    EXPECT_TRUE(WaitFor([&] {
        return js("window.frames['editor'].ddSelectionNames()").toString() == "pageimageitem7~";
    }));
}

// File > Publish Site in the window: every page of the folder written, the open page with what
// was just typed, and one summary.
TEST_F(PhonePagesTest, PublishSiteFromTheFileMenuWritesEveryPage) {
    store(textAndPicturePage("index.html", "Front words"), true);
    store(textAndPicturePage("more.html", "More words"));
    startWindow();
    ASSERT_TRUE(resume());
    menuEntry("Publish Site").trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "2 pages of " + path("webpages") + " written.");
    EXPECT_NE(ReadFile(path("webpages/index.html")).find("Front words"), std::string::npos);
    EXPECT_NE(ReadFile(path("webpages/more.html")).find("More words"), std::string::npos);
    EXPECT_TRUE(editorShown());
}

// The site menu in a real browser: across on a desktop, one column of links a finger can take
// on a phone, the page shown marked, and reached from the keyboard.
TEST_F(PhonePagesTest, TheSiteMenuIsALineOnADesktopAndAColumnToTapOnAPhone) {
    Design design("menu", "800");
    design.page().stylesData =
        "<div id='pagetextitemS1~' style='position: absolute; top: "
        "10px; left: 10px; visibility: visible;'>";
    design.page().texts = {"pagetextitemS1~"};
    SiteMenu menu =
        MenuOfPages({{"menu.html", "Home"}, {"b.html", "About us"}, {"c.html", "News"}});
    design.page().richTexts = {WriteSiteMenu(menu)};
    design.page().sitePages = {{"menu.html", "Home"}, {"b.html", "About us"}, {"c.html", "News"}};
    const std::string file = publish(design.page(), true, "menu.html");
    const QString boxes = QStringLiteral(
        "JSON.stringify(Array.prototype.map.call(document.querySelectorAll('nav a'),"
        "function(a){var r=a.getBoundingClientRect();return [Math.round(r.left),"
        "Math.round(r.top),Math.round(r.height),a.getAttribute('aria-current')];}))");
    auto wide = show(file, 1280, 900);
    const QJsonArray across =
        QJsonDocument::fromJson(run(*wide, boxes).toString().toUtf8()).array();
    ASSERT_EQ(across.size(), 3);
    EXPECT_EQ(across[0].toArray()[1], across[2].toArray()[1]);
    EXPECT_LT(across[0].toArray()[0].toInt(), across[1].toArray()[0].toInt());
    EXPECT_EQ(across[0].toArray()[3].toString(), "page");
    EXPECT_TRUE(across[1].toArray()[3].isNull());

    auto narrow = show(file, 375, 667);
    const QJsonArray column =
        QJsonDocument::fromJson(run(*narrow, boxes).toString().toUtf8()).array();
    ASSERT_EQ(column.size(), 3);
    for (const QJsonValue& link : column) {
        EXPECT_GE(link.toArray()[2].toInt(), 48);
        EXPECT_EQ(link.toArray()[0], column[0].toArray()[0]);
    }
    EXPECT_GT(column[1].toArray()[1].toInt(), column[0].toArray()[1].toInt());
    narrow->setFocus();
    QTest::keyClick(narrow->focusProxy(), Qt::Key_Tab);
    EXPECT_TRUE(WaitFor(
        [&] { return run(*narrow, "document.activeElement.textContent").toString() == "Home"; },
        3000));
}

// Page > Add Site Menu in the window: a menu of the folder's pages, shared and selected; its
// options open the menu's window, whose answer the page shows.
TEST_F(PhonePagesTest, AddSiteMenuPutsTheFoldersPagesOnThePageAndItsOptionsChangeThem) {
    store(textAndPicturePage("index.html", "Front"), true);
    store(textAndPicturePage("more.html", "More"));
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("Add Site Menu").trigger(); }));
    ASSERT_TRUE(editorShown());
    const QString links = QStringLiteral(
        "Array.prototype.map.call(window.frames['editor'].document.querySelectorAll('nav a'),"
        "function(a){return a.textContent;}).join('|')");
    EXPECT_EQ(js(links).toString(), "Front|More");
    EXPECT_TRUE(WaitFor([&] {
        return js("window.frames['editor'].ddSelectionNames()").toString() == "pagetextitemS1~";
    }));
    SiteMenu changed;
    changed.pages = {{"more.html", "More to read"}, {"index.html", "Home"}};
    changed.newPages = false;
    prompts.siteMenuAnswers = {changed};
    prompts.clickOptions = {std::string("EDIT")};
    ASSERT_TRUE(redrawnAfter([&] { click(centreOf("div[id='pagetextitemS1~']")); }));
    ASSERT_TRUE(editorShown());
    ASSERT_EQ(prompts.menuShown.size(), 1u);
    EXPECT_EQ(prompts.menuShown[0].pages.size(), 2u);
    EXPECT_EQ(js(links).toString(), "More to read|Home");
    save("webpages/index.html");
    EXPECT_NE(ReadFile(path("webpages/more.html"))
                  .find("<a href='more.html' aria-current='page'>More to read</a>"),
              std::string::npos);

    // Delete on the shared menu asks first: No keeps it, Yes takes it away.
    window->browser()->focusProxy()->setFocus();
    js("(function(){var e=window.frames['editor'];"
       "e.ddSelectNames('pagetextitemS1~');})()");
    prompts.answers = {MessageAnswer::No};
    pressInPage(Qt::Key_Delete);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "DELETE SHARED ITEMS");
    EXPECT_EQ(js(links).toString(), "More to read|Home");
    js("(function(){var e=window.frames['editor'];"
       "e.ddSelectNames('pagetextitemS1~');})()");
    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(redrawnAfter([&] { pressInPage(Qt::Key_Delete); }));
    EXPECT_EQ(js(links).toString(), "");
}

// A folder without pages has nothing for a site menu to list: the user is told so, and the
// page is left as it was.
TEST_F(PhonePagesTest, AddSiteMenuInAFolderWithoutPagesSaysSo) {
    startWindow();
    ASSERT_TRUE(welcomeShown());
    menuEntry("Add Site Menu").trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("no pages yet"), std::string::npos);
}
