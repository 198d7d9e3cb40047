#include "designer/phone/phone_view.h"

#include <gtest/gtest.h>

#include "designer/command_dispatcher.h"
#include "page/design_text.h"
#include "page/site_items.h"
#include "site/phone/phone_layout.h"
#include "support/designer_fixture.h"

namespace {

// A headline across the top, a picture beside a section below it, and a footer.
constexpr const char* kLayout =
    "<div id='pagetextitem1~' style='position:absolute;left:10px;top:10px;width:700px;"
    "height:60px'>|<div id='dpageimageitem7~' style='position:absolute;top:100px;left:10px'>"
    "^300^200|<div id='pagetextitem2~' style='position:absolute;left:400px;top:100px;"
    "width:300px;height:200px'>|<div id='pagetextitem3~' style='position:absolute;left:10px;"
    "top:400px;width:700px;height:40px'>";

class PhoneViewTest : public DesignerFixture {
  protected:
    PhoneViewTest() {
        selectFolder(siteFolder());
        page().directory = siteFolder();
        page().fileName = "page.html";
        page().pageWidth = "800";
        page().pageContainer = PageContainerMarkup("800", "1000");
        page().stylesData = kLayout;
        page().texts = {"pagetextitem1~<P>Headline</P>", "pagetextitem2~<P>Beside</P>",
                        "pagetextitem3~<P>Footer</P>"};
        page().richTexts = {"", "", ""};
        page().pictures = {"pageimageitem7~" + (working / "sun.gif")};
        page().links = {""};
        page().elementCount = 3;
    }
    // A command of the phone view, as the browser hands it over, made an undo step as the
    // window does.
    void send(const std::string& address) {
        session.steps().perform(
            [&] { session.dispatcher().beforeNavigate(BrowserAddress(address)); });
    }
    std::vector<std::string> column() { return PhoneColumn(page()); }
    std::string choice(const std::string& item, const char* name) {
        return PhoneChoiceOf(page().phoneChoices, item, name);
    }
};

}  // namespace

TEST_F(PhoneViewTest, EachChoiceShapesTheColumnIsOneStepAndLeavesTheDesktopAlone) {
    ASSERT_EQ(column(), (std::vector<std::string>{"pagetextitem1~", "dpageimageitem7~",
                                                  "pagetextitem2~", "pagetextitem3~"}));
    // Before a page is opened there is nothing to show.
    workspace().flags.noSaveOnExit = true;
    session.phoneView().switchOn();
    EXPECT_FALSE(workspace().editor.phoneView);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(browser.addresses.empty());
    workspace().flags.noSaveOnExit = false;
    // Switching on takes what the desktop page shows first: a drag made there is kept.
    std::string dragged = kLayout;
    dragged.replace(dragged.find("left:400px"), 10, "left:420px");
    browser.layout = dragged;
    session.steps().perform([&] { session.phoneView().switchOn(); });
    EXPECT_EQ(page().stylesData, dragged);
    EXPECT_EQ(workspace().history.undoLabel(), "move");
    browser.layout.reset();
    ASSERT_EQ(browser.addresses.back(), session.phoneView().viewPagePath());
    const std::string view = ReadFile(session.phoneView().viewPagePath());
    EXPECT_NE(
        view.find("{id:'dpageimageitem7~',picture:true,shared:false,hidden:'',width:'',size:''}"),
        std::string::npos);
    // Without the folder's switch the view says phones do not get the column yet.
    EXPECT_NE(view.find("Phone-friendly pages are off"), std::string::npos);
    EXPECT_NE(ReadFile(session.phoneView().itemsPagePath()).find("@media (max-width:599px)"),
              std::string::npos);

    const std::size_t before = workspace().history.undoCount();
    const struct {
        const char* address;
        std::vector<std::string> column;
        const char* item;
        const char* name;
        const char* value;
    } steps[] = {
        {"http://phonemove?pagetextitem3~0",
         {"pagetextitem3~", "pagetextitem1~", "dpageimageitem7~", "pagetextitem2~"},
         "pagetextitem2~",
         kPhoneOrder,
         "4"},
        {"http://phonechoice?dpageimageitem7~HIDDEN~1", {}, "dpageimageitem7~", kPhoneHidden, "1"},
        {"http://phonechoice?dpageimageitem7~WIDTH~FULL",
         {},
         "dpageimageitem7~",
         kPhoneWidth,
         "FULL"},
        {"http://phonechoice?pagetextitem1~TEXTSIZE~-1",
         {},
         "pagetextitem1~",
         kPhoneTextSize,
         "-1"},
        {"http://phonespacing?24", {}, "", kPhoneSpacing, "24"},
        {"http://phonemove?pagetextitem3~9",
         {"pagetextitem1~", "dpageimageitem7~", "pagetextitem2~", "pagetextitem3~"},
         "pagetextitem3~",
         kPhoneOrder,
         "4"},
        // As designed takes the choice back.
        {"http://phonechoice?pagetextitem1~TEXTSIZE~0", {}, "pagetextitem1~", kPhoneTextSize, ""},
        {"http://phonechoice?dpageimageitem7~HIDDEN~", {}, "dpageimageitem7~", kPhoneHidden, ""},
    };
    std::vector<PhoneChoices> shaped = {page().phoneChoices};
    for (const auto& step : steps) {
        send(step.address);
        if (!step.column.empty()) {
            EXPECT_EQ(column(), step.column) << step.address;
        }
        EXPECT_EQ(choice(step.item, step.name), step.value) << step.address;
        EXPECT_EQ(workspace().history.undoLabel(), "phone layout") << step.address;
        EXPECT_EQ(page().stylesData, dragged) << step.address;
        shaped.push_back(page().phoneChoices);
    }
    EXPECT_EQ(workspace().history.undoCount(), before + std::size(steps));
    // What the view cannot mean changes nothing and makes no step.
    for (const char* address :
         {"http://phonemove?pagetextitem9~0", "http://phonemove?pagetextitem1~x",
          "http://phonechoice?pagetextitem1~WIDTH~HUGE", "http://phonechoice?pagetextitem1~COLOR~1",
          "http://phonechoice?pagetextitem9~HIDDEN~1", "http://phonespacing?-5",
          "http://phonespacing?999"}) {
        send(address);
        EXPECT_EQ(page().phoneChoices, shaped.back()) << address;
    }
    EXPECT_EQ(workspace().history.undoCount(), before + std::size(steps));
    // Each undo takes back one choice, shown in the phone view again.
    for (std::size_t i = std::size(steps); i > 0; --i) {
        browser.addresses.clear();
        session.dispatcher().beforeNavigate("http://undo");
        EXPECT_EQ(page().phoneChoices, shaped[i - 1]) << i;
        ASSERT_EQ(browser.addresses, std::vector<std::string>{session.phoneView().viewPagePath()});
    }
    session.dispatcher().beforeNavigate("http://redo");
    EXPECT_EQ(page().phoneChoices, shaped[1]);
    // The desktop page comes back as it was.
    session.phoneView().switchOff();
    EXPECT_EQ(browser.addresses.back(), session.writer().screenPagePath());
    EXPECT_EQ(ReadFile(session.writer().editorPagePath()).find("phone"), std::string::npos);
}

TEST_F(PhoneViewTest, ChoicesGoWithTheStoreTheRecoveryFileCopiesAndSharedItems) {
    // A page without choices leaves a store that never had them as it was.
    ASSERT_TRUE(session.store().savePage(page()));
    EXPECT_EQ(db.runScalar("select count(*) from sqlite_master where name = 'phonechoices'"), 0);
    SetPhoneChoice(page().phoneChoices, "dpageimageitem7~", kPhoneWidth, kPhoneFullWidth);
    SetPhoneChoice(page().phoneChoices, "pagetextitem2~", kPhoneOrder, "1");
    SetPhoneChoice(page().phoneChoices, "pagetextitem2~", kPhoneHidden, "1");
    SetPhoneChoice(page().phoneChoices, "", kPhoneSpacing, "16");
    ASSERT_TRUE(session.store().savePage(page()));
    EXPECT_EQ(rowCount("phonechoices"), 4);
    PageRecord loaded;
    ASSERT_TRUE(session.store().loadPage(loaded, siteFolder(), "page.html"));
    EXPECT_EQ(loaded.phoneChoices, page().phoneChoices);
    // Rows nobody made here are not taken in.
    db.runStatement(
        "insert into phonechoices (PROJECTID,ITEM,NAME,VALUE) select PROJECTID,'pagetextitem1~',"
        "'WIDTH','</style>' from phonechoices limit 1");
    ASSERT_TRUE(session.store().loadPage(loaded, siteFolder(), "page.html"));
    EXPECT_EQ(loaded.phoneChoices, page().phoneChoices);

    const std::optional<PageRecord> recovered = ParseDesignText(DesignText(page()));
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered->phoneChoices, page().phoneChoices);

    // A duplicate keeps its original's choices under its own id.
    session.items().duplicate("pagetextitem2~");
    EXPECT_EQ(choice("pagetextitem4~", kPhoneHidden), "1");
    EXPECT_EQ(choice("pagetextitem4~", kPhoneOrder), "1");

    // Made shared, the picture keeps its choice under its new id, and the choice stays the
    // page's own: the folder's record does not carry it to other pages.
    const std::string shared = MakeSiteItem(page(), "pageimageitem7~");
    ASSERT_EQ(shared, "pageimageitemS1~");
    EXPECT_EQ(choice("dpageimageitemS1~", kPhoneWidth), kPhoneFullWidth);
    EXPECT_EQ(choice("dpageimageitem7~", kPhoneWidth), "");
    PageRecord own = page();
    const PageRecord site = SplitSiteItems(own);
    EXPECT_TRUE(site.phoneChoices.empty());
    EXPECT_EQ(PhoneChoiceOf(own.phoneChoices, "dpageimageitemS1~", kPhoneWidth), kPhoneFullWidth);
    MergeSiteItems(own, site);
    EXPECT_EQ(own.phoneChoices, page().phoneChoices);
}

TEST(PhoneHead, EachChoiceWritesItsRuleAndAPageWithoutChoicesKeepsItsBlock) {
    PageRecord page;
    page.pageWidth = "800";
    page.pageContainer = PageContainerMarkup("800", "1000");
    page.stylesData = kLayout;
    const std::string plain = PhoneHead(page);
    // Windows from phones up to the container's width (with margins and a scroll bar) get it
    // scaled to the narrowest of each step; none of them reaches a 1280-pixel desktop.
    EXPECT_NE(plain.find("@media (min-width:600px) and (max-width:639px){#pagecontainer{zoom:0."
                         "706}}"),
              std::string::npos);
    EXPECT_NE(plain.find("(max-width:834px)"), std::string::npos);
    EXPECT_EQ(plain.find("(min-width:840px)"), std::string::npos);
    // A full-screen page scales its body, margins and all, to fit its rightmost item (710
    // pixels); a page without items has nothing to fit.
    PageRecord fullScreen = page;
    fullScreen.pageContainer.clear();
    fullScreen.pageWidth = "0";
    const std::string body = PhoneHead(fullScreen);
    EXPECT_NE(body.find("(min-width:600px) and (max-width:639px){body{zoom:0.803}}"),
              std::string::npos);
    EXPECT_NE(body.find("(min-width:720px) and (max-width:742px){body{zoom:0.968}}"),
              std::string::npos);
    fullScreen.stylesData.clear();
    EXPECT_EQ(PhoneHead(fullScreen).find("zoom"), std::string::npos);

    const struct {
        const char* item;
        const char* name;
        const char* value;
        const char* published;
        const char* shaping;
    } choices[] = {
        {"pagetextitem2~", kPhoneHidden, "1",
         "#pagecontainer>[id='pagetextitem2~']{display:none!important}",
         "#pagecontainer>[id='pagetextitem2~']{opacity:.35}"},
        {"dpageimageitem7~", kPhoneWidth, kPhoneFullWidth,
         "#pagecontainer>[id='dpageimageitem7~']{margin-left:-9px;margin-right:-9px;max-width:"
         "none}#pagecontainer>[id='dpageimageitem7~'] img{width:100%}",
         nullptr},
        {"pagetextitem1~", kPhoneTextSize, "1", "#pagecontainer>[id='pagetextitem1~']{zoom:1.2}",
         nullptr},
        {"pagetextitem3~", kPhoneTextSize, "-1", "#pagecontainer>[id='pagetextitem3~']{zoom:0.85}",
         nullptr},
        {"", kPhoneSpacing, "20", "#pagecontainer>div{margin-bottom:20px}", nullptr},
        {"pagetextitem3~", kPhoneOrder, "1", "[id='pagetextitem3~']{order:0}", nullptr},
        // A picture's width means nothing to a section, nor a text size to a picture.
        {"pagetextitem1~", kPhoneWidth, kPhoneFullWidth, nullptr, nullptr},
        {"dpageimageitem7~", kPhoneTextSize, "1", nullptr, nullptr},
    };
    for (const auto& choice : choices) {
        PageRecord shaped = page;
        SetPhoneChoice(shaped.phoneChoices, choice.item, choice.name, choice.value);
        ASSERT_FALSE(shaped.phoneChoices.empty()) << choice.name;
        const std::string published = PhoneHead(shaped);
        const std::string shaping = PhoneHead(shaped, PhoneShown::Shaping);
        if (choice.published == nullptr) {
            EXPECT_EQ(published, plain) << choice.item << choice.name;
            continue;
        }
        EXPECT_NE(published.find(choice.published), std::string::npos) << published;
        const char* seen = choice.shaping ? choice.shaping : choice.published;
        EXPECT_NE(shaping.find(seen), std::string::npos) << shaping;
        // Every rule stays inside the phone's block.
        EXPECT_LT(published.find(choice.published), published.find("}@media (min-width:600px)"));
    }
    // Values nobody chose in the view are never kept.
    PhoneChoices choices2;
    for (const auto& [item, name, value] :
         {std::tuple<const char*, const char*, const char*>{"pagetextitem1~", "HIDDEN", "yes"},
          {"pagetextitem1~", "ORDER", "0"},
          {"pagetextitem1~", "ORDER", "1e3"},
          {"pagetextitem1~", "TEXTSIZE", "2"},
          {"pagetextitem1~", "SPACING", "8"},
          {"", "SPACING", "201"},
          {"", "HIDDEN", "1"},
          {"pagetextitem1~", "WIDTH", "full"}}) {
        SetPhoneChoice(choices2, item, name, value);
        EXPECT_TRUE(choices2.empty()) << name << "=" << value;
    }
}
