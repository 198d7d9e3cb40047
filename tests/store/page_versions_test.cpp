#include "store/page_versions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "page/design_text.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

constexpr long long kDay = 24LL * 60 * 60 * 1000;

class PageVersionsTest : public ::testing::Test {
  protected:
    PageVersionsTest() {
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }
    int rows(const std::string& table) { return db.runScalar("select count(*) from " + table); }
    PageRecord design(int items) {
        PageRecord page;
        page.directory = working / "site";
        page.fileName = "long.html";
        for (int i = 1; i <= items; ++i) {
            const std::string id = "pagetextitem" + std::to_string(i) + "~";
            page.stylesData += (i == 1 ? "" : "|") + std::string("<div id='") + id +
                               "' style='left:" + std::to_string(i) + "px'>";
            page.texts.push_back(id + "<P>Section " + std::to_string(i) + " of the page</P>");
            page.richTexts.push_back("{\\rtf1 Section " + std::to_string(i) + "}");
            page.textProperties.push_back(id + "^^^^^NOJUSTIFY");
        }
        page.elementCount = items;
        return page;
    }

    TempFolder working;
    SqliteDatabase db;
    FakePrompts prompts;
    PageStore store{db, prompts};
};

}  // namespace

TEST(ContentPieces, AnEditMovesOnlyTheCutsNearIt) {
    // As repetitive as a long page's sections, which differ in a number or two.
    std::string text;
    for (int i = 0; text.size() < 200000; ++i) {
        text += "<P><FONT face=Arial size=2>Some text of section " + std::to_string(i) +
                " with a few words in it.</FONT></P>";
    }
    const std::vector<std::string> pieces = ContentPieces(text);
    std::string joined;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), 16u * 1024);
        joined += piece;
    }
    EXPECT_EQ(joined, text);
    // About 2 KB each, not the largest a piece may be.
    EXPECT_GT(pieces.size(), 50u);
    std::string edited = text;
    edited.insert(text.size() / 2, "an inserted sentence");
    const std::vector<std::string> after = ContentPieces(edited);
    const auto changed = std::count_if(after.begin(), after.end(), [&](const std::string& piece) {
        return std::find(pieces.begin(), pieces.end(), piece) == pieces.end();
    });
    EXPECT_LE(changed, 2);
}

TEST_F(PageVersionsTest, EachChangedSaveKeepsTheWholeDesignAndAnUnchangedOneKeepsNothing) {
    PageRecord page = design(3);
    page.language = "en";
    SetPhoneChoice(page.phoneChoices, "pagetextitem2~", kPhoneHidden, "1");
    ASSERT_TRUE(store.savePage(page, "picture bytes"));
    ASSERT_TRUE(store.savePage(page, "picture bytes"));
    const PageRecord first = page;
    page.texts[1] = "pagetextitem2~<P>changed</P>";
    ASSERT_TRUE(store.savePage(page));
    const std::vector<PageVersion> versions = store.versions().list(page.directory, page.fileName);
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[1].picture, "picture bytes");
    EXPECT_TRUE(versions[0].picture.empty());
    EXPECT_GE(versions[0].savedAt, versions[1].savedAt);
    EXPECT_EQ(DesignText(*store.versions().design(versions[1].id)), DesignText(first));
    EXPECT_EQ(DesignText(*store.versions().design(versions[0].id)), DesignText(page));
    ASSERT_TRUE(store.versions().lastSaved(page.directory, page.fileName));
    EXPECT_EQ(*store.versions().lastSaved(page.directory, page.fileName),
              versions[0].savedAt / 1000);

    // Renamed, the versions follow; deleted, they are kept aside with the design until their
    // time is past, and then go with their pieces.
    ASSERT_TRUE(store.renamePage(page.directory, "long.html", "short.html"));
    EXPECT_EQ(store.versions().list(page.directory, "short.html").size(), 2u);
    EXPECT_TRUE(store.versions().list(page.directory, "long.html").empty());
    ASSERT_TRUE(store.deletePage(page.directory, "short.html"));
    EXPECT_TRUE(store.versions().list(page.directory, "short.html").empty());
    EXPECT_GT(rows("versionpieces"), 0);
    db.runStatement("update deleteddesigns set DELETED = 0");
    EXPECT_TRUE(store.deleted().designs(page.directory).empty());
    EXPECT_EQ(rows("versionpieces"), 0);
    EXPECT_EQ(rows("pagetexts"), 0);
    EXPECT_EQ(rows("phonechoices"), 0);
    EXPECT_EQ(rows("quillprojects"), 0);
    // The name renamed away and the name deleted are both gone from the folder.
    const auto deleted = store.deleted().pages(page.directory);
    ASSERT_EQ(deleted.size(), 2u);
    EXPECT_EQ(deleted[0].first, "long.html");
    EXPECT_EQ(deleted[1].first, "short.html");
    EXPECT_GT(deleted[1].second, 0);
    // Stored again under its name, or another renamed onto it, the page is no longer deleted.
    page.fileName = "other.html";
    ASSERT_TRUE(store.savePage(page));
    ASSERT_TRUE(store.renamePage(page.directory, "other.html", "short.html"));
    const auto gone = store.deleted().pages(page.directory);
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_EQ(gone[0].first, "long.html");
    EXPECT_EQ(gone[1].first, "other.html");
}

TEST_F(PageVersionsTest, APageStoredBeforeVersionsWereKeptKeepsTheDesignItsSaveReplaces) {
    PageRecord page = design(2);
    ASSERT_TRUE(store.savePage(page));
    db.runStatement("DROP TABLE pageversions; DROP TABLE versionpieces;");
    const PageRecord before = page;
    page.pageTitle = "Renewed";
    ASSERT_TRUE(store.savePage(page));
    const std::vector<PageVersion> versions = store.versions().list(page.directory, page.fileName);
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(store.versions().design(versions[1].id)->pageTitle, before.pageTitle);
    EXPECT_EQ(store.versions().design(versions[0].id)->pageTitle, "Renewed");
}

TEST_F(PageVersionsTest, PruningKeepsTheLastHundredOrNinetyDaysWhicheverIsMore) {
    PageVersions versions(db);
    PageRecord page = design(20);
    const long long now = 400 * kDay;
    const auto keepAt = [&](long long when, int i) {
        page.texts[i % 20] = "pagetextitem1~<P>version " + std::to_string(i) + "</P>";
        versions.keep(page, std::string(), when);
    };
    // 150 versions a day apart, the newest today: 90 are younger than 90 days, so the 100
    // newest stay.
    for (int i = 0; i < 150; ++i) {
        keepAt(now - (149 - i) * kDay, i);
    }
    EXPECT_EQ(versions.list(page.directory, page.fileName).size(), 100u);
    // 120 more within the last hour: every one is younger than 90 days and stays, the older
    // ones go.
    for (int i = 0; i < 120; ++i) {
        keepAt(now + kDay + i, 150 + i);
    }
    const std::vector<PageVersion> kept = versions.list(page.directory, page.fileName);
    EXPECT_EQ(kept.size(), 120u + 89u);
    EXPECT_GE(kept.back().savedAt, now + kDay - 90 * kDay);
    // Every piece left is held by a version, and each version still reads whole.
    EXPECT_EQ(db.runScalar("select count(*) from versionpieces where USES <= 0"), 0);
    EXPECT_TRUE(versions.design(kept.back().id));
    // Pieces the kept versions share are stored once.
    EXPECT_LT(rows("versionpieces"), 3 * static_cast<int>(kept.size()));
}
