#include "page/site_items.h"

#include <gtest/gtest.h>

#include "page/design_text.h"
#include "page/phone_choices.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

class SiteItemsTest : public ::testing::Test {
  protected:
    SiteItemsTest() {
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }

    // A page of the folder with a section and a picture of its own.
    PageRecord page(const std::string& fileName) {
        PageRecord page;
        page.directory = "/site";
        page.fileName = fileName;
        page.elementCount = 2;
        page.stylesData =
            "<div id='pagetextitem1~' style='top:10px;left:10px'>|"
            "<div id='dpageimageitem2~' style='top:300px;left:5px'>^20^10";
        page.texts = {"pagetextitem1~<font><SPAN id='pagetextitem1~0'>" + fileName +
                      "</SPAN></font>"};
        page.richTexts = {"{\\rtf1 " + fileName + "}"};
        page.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
        page.pictures = {"pageimageitem2~/pics/a.gif"};
        page.links = {""};
        return page;
    }

    PageRecord load(const std::string& fileName) {
        PageRecord loaded;
        loaded.directory = "/site";
        loaded.fileName = fileName;
        EXPECT_TRUE(store.loadPage(loaded, "/site", fileName));
        return loaded;
    }

    int rows(const std::string& sql) { return static_cast<int>(db.runScalar(sql)); }

    // Pages b.html and a.html, a.html having made b's section shared (pagetextitemS1~).
    void shareASection() {
        ASSERT_TRUE(store.savePage(page("b.html")));
        PageRecord first = load("b.html");
        first.fileName = "a.html";
        first.id.clear();
        ASSERT_EQ(MakeSiteItem(first, "pagetextitem1~"), "pagetextitemS1~");
        ASSERT_TRUE(store.savePage(first));
    }

    TempFolder working;
    SqliteDatabase db;
    FakePrompts prompts;
    PageStore store{db, prompts};
};

}  // namespace

TEST_F(SiteItemsTest, AFolderWithoutSiteItemsKeepsItsPagesAsTheyWere) {
    const PageRecord plain = page("a.html");
    ASSERT_TRUE(store.savePage(plain));
    const PageRecord loaded = load("a.html");
    EXPECT_EQ(loaded.stylesData, plain.stylesData);
    EXPECT_EQ(loaded.texts, plain.texts);
    EXPECT_EQ(loaded.pictures, plain.pictures);
    EXPECT_FALSE(loaded.siteItemsShown);
    EXPECT_EQ(rows("select count(*) from quillprojects"), 1);
}

// A header made shared on one page shows on every other, moves and goes from any of them,
// and is stored once; a page may leave it out.
TEST_F(SiteItemsTest, ASharedItemIsStoredOnceAndShownEditedAndDeletedFromAnyPage) {
    ASSERT_TRUE(store.savePage(page("b.html")));
    PageRecord first = load("b.html");
    first.fileName = "a.html";
    first.id.clear();
    EXPECT_EQ(MakeSiteItem(first, "pagetextitem1~"), "pagetextitemS1~");
    EXPECT_EQ(MakeSiteItem(first, "pageimageitem2~"), "pageimageitemS2~");
    EXPECT_NE(first.texts[0].find("<SPAN id='pagetextitemS1~0'>"), std::string::npos);
    ASSERT_TRUE(store.savePage(first));
    EXPECT_EQ(store.pageNames("/site"), (std::vector<std::string>{"b.html", "a.html"}));
    EXPECT_EQ(rows("select count(*) from pagetexts where TEXTDATA like 'pagetextitemS1~%'"), 1);

    // Page b shows both, after its own items, and moves the picture.
    PageRecord second = load("b.html");
    EXPECT_TRUE(second.siteItemsShown);
    ASSERT_EQ(second.texts.size(), 2u);
    EXPECT_EQ(second.texts[1].rfind("pagetextitemS1~", 0), 0u);
    EXPECT_EQ(second.pictures.back(), "pageimageitemS2~/pics/a.gif");
    const std::string moved = "<div id='dpageimageitemS2~' style='top:999px;left:5px'>^20^10";
    second.stylesData.replace(second.stylesData.find("<div id='dpageimageitemS2~'"),
                              std::string::npos, moved);
    ASSERT_TRUE(store.savePage(second));
    EXPECT_NE(load("a.html").stylesData.find(moved), std::string::npos);
    EXPECT_EQ(load("a.html").texts.size(), 1u);

    // Left out of one page: not shown there, and that page's save leaves them be.
    PageRecord hiding = load("b.html");
    hiding.noSiteItems = true;
    ASSERT_TRUE(store.savePage(hiding));
    PageRecord hidden = load("b.html");
    EXPECT_FALSE(hidden.siteItemsShown);
    EXPECT_EQ(hidden.stylesData.find("itemS"), std::string::npos);
    EXPECT_EQ(hidden.siteElementCount, 2);
    ASSERT_TRUE(store.savePage(hidden));
    EXPECT_NE(load("a.html").stylesData.find(moved), std::string::npos);

    // Deleted on page a: gone from every page.
    PageRecord deleting = load("a.html");
    deleting.stylesData = "";
    deleting.pictures = {kDeletedPicture};
    deleting.texts = {kRemovedItem};
    ASSERT_TRUE(store.savePage(deleting));
    hidden.noSiteItems = false;
    ASSERT_TRUE(store.savePage(hidden));
    EXPECT_EQ(load("b.html").stylesData.find("itemS"), std::string::npos);
}

// Two programs on one store: a page open in one hands back only the shared items it knew, so
// a shared section the other made meanwhile stays on every page; one it deleted goes.
TEST_F(SiteItemsTest, ASaveMergesSharedItemsByIdAgainstWhatIsStored) {
    shareASection();
    PageRecord openHere = load("a.html");
    ASSERT_EQ(openHere.siteItemsKnown, std::vector<std::string>{"pagetextitemS1~"});

    {
        SqliteDatabase otherDb;
        otherDb.open(working / "quilldata.db");
        FakePrompts otherPrompts;
        PageStore other(otherDb, otherPrompts);
        PageRecord there;
        there.directory = "/site";
        there.fileName = "b.html";
        ASSERT_TRUE(other.loadPage(there, "/site", "b.html"));
        ASSERT_EQ(MakeSiteItem(there, "pageimageitem2~"), "pageimageitemS2~");
        ASSERT_TRUE(other.savePage(there));
    }
    ASSERT_TRUE(store.savePage(openHere));
    EXPECT_EQ(SiteItemIds(load(kSiteItemsFile)),
              (std::vector<std::string>{"pagetextitemS1~", "pageimageitemS2~"}));
    EXPECT_NE(load("b.html").stylesData.find("dpageimageitemS2~"), std::string::npos);

    // Deleted here: the one this page knew goes, the other program's stays.
    openHere.texts = {kRemovedItem};
    openHere.stylesData.clear();
    ASSERT_TRUE(store.savePage(openHere));
    EXPECT_EQ(SiteItemIds(load(kSiteItemsFile)), std::vector<std::string>{"pageimageitemS2~"});
}

// One page's phone column is its own: ordering the shared items there leaves every other
// page's order as it was, and the folder's record never changes for it.
TEST_F(SiteItemsTest, APagesPhoneOrderOfSharedItemsIsItsOwn) {
    shareASection();
    const std::string siteBefore = load(kSiteItemsFile).stylesData;

    PageRecord ordering = load("b.html");
    SetPhoneChoice(ordering.phoneChoices, "pagetextitemS1~", kPhoneOrder, "2");
    SetPhoneChoice(ordering.phoneChoices, "dpageimageitem2~", kPhoneOrder, "1");
    ASSERT_TRUE(store.savePage(ordering));
    EXPECT_EQ(PhoneChoiceOf(load("b.html").phoneChoices, "pagetextitemS1~", kPhoneOrder), "2");
    EXPECT_TRUE(load("a.html").phoneChoices.empty());
    EXPECT_TRUE(load(kSiteItemsFile).phoneChoices.empty());
    EXPECT_EQ(load(kSiteItemsFile).stylesData, siteBefore);
}

// A design that held the site's items but does not know it did (one taken back from the
// recovery file) hands them back without doubling them.
TEST_F(SiteItemsTest, ARecoveredDesignHandsTheSharedItemsBackOnce) {
    PageRecord first = page("a.html");
    MakeSiteItem(first, "pagetextitem1~");
    ASSERT_TRUE(store.savePage(first));
    PageRecord recovered = load("a.html");
    recovered.siteItemsShown = false;
    ASSERT_TRUE(store.savePage(recovered));
    ASSERT_TRUE(store.savePage(recovered));
    EXPECT_EQ(rows("select count(*) from pagetexts where TEXTDATA like 'pagetextitemS1~%'"), 1);
    const PageRecord again = load("a.html");
    EXPECT_EQ(again.texts.size(), 1u);

    // Back on this page only, under an id of the page's own counting.
    PageRecord own = load("a.html");
    EXPECT_EQ(MakePageItem(own, "pagetextitemS1~"), "pagetextitem3~");
    ASSERT_TRUE(store.savePage(own));
    EXPECT_EQ(load("a.html").texts,
              (std::vector<std::string>{
                  "pagetextitem3~<font><SPAN id='pagetextitem3~0'>a.html</SPAN></font>"}));
}

// A page's translations are stored with it; a shared section's with the site, so every page
// shows them; versions keep them too.
TEST_F(SiteItemsTest, TranslationsGoWhereTheirItemsAreKept) {
    shareASection();
    PageRecord b = load("b.html");
    b.translations["fr"] = {{kTranslatedTitle, "Page B"},
                            {"pagetextitem1~", "<P>Le texte de b</P>"},
                            {"pagetextitemS1~", "<P>L'en-tête</P>"}};
    b.translations["de"] = {{"pagetextitemS1~", "<P>Die Kopfzeile</P>"}};
    ASSERT_TRUE(store.savePage(b));
    const PageRecord again = load("b.html");
    EXPECT_EQ(again.translations, b.translations);
    // The other page has the shared section's words only.
    EXPECT_EQ(load("a.html").translations,
              (std::map<std::string, std::map<std::string, std::string>>{
                  {"de", {{"pagetextitemS1~", "<P>Die Kopfzeile</P>"}}},
                  {"fr", {{"pagetextitemS1~", "<P>L'en-tête</P>"}}}}));
    EXPECT_EQ(rows("select count(*) from translations where ITEM = 'pagetextitemS1~'"), 2);
    const std::optional<PageRecord> version = ParseDesignText(DesignText(again));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->translations, again.translations);
    // Deleting the page deletes its own translations, not the site's.
    ASSERT_TRUE(store.deletePage("/site", "b.html"));
    EXPECT_EQ(rows("select count(*) from translations"), 2);
}
