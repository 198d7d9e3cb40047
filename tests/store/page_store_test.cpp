#include "store/page_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "page/design_text.h"
#include "page/page_record.h"
#include "store/db/sqlite_blob_text.h"
#include "store/db/sqlite_database.h"
#include "store/page_store_schema.h"
#include "store/rich_text_block.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

class PageStoreTest : public ::testing::Test {
  protected:
    PageStoreTest() {
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }

    int rows(const std::string& table) { return db.runScalar("select count(*) from " + table); }

    // A page whose every value would have broken the statements when spliced into them.
    PageRecord quotedPage() {
        PageRecord page;
        page.directory = working / "Bob's \"best\" site";
        page.fileName = "it's \"new\".html";
        page.pageTitle = "Anna's \"favourite\" page";
        page.backImage = "sky's.jpg";
        page.pageImage = "tile.gif";
        page.backColor = "#102030";
        page.pageColor = "#405060";
        page.pageContainer = PageContainerMarkup("700", "1500");
        page.pageWidth = "700";
        page.pageLength = "1500";
        page.stylesData =
            "<div id='pagetextitem1~' style='left:1px'>|<div id='dpageimageitem7~' "
            "style='x'>^20^30";
        page.elementCount = 12;
        page.texts = {"pagetextitem1~<P>It's a 'quoted' \"text\"</P>", kRemovedItem};
        page.richTexts = {std::string(20000, 'r'), "{\\rtf1 it's}"};
        page.textProperties = {"pagetextitem1~^#FFFFFF^^#000000^1px^NOJUSTIFY",
                               "pagetextitem2~^^^^^YESTEXTJUSTIFY"};
        page.pictures = {"pageimageitem7~/pics/o'neil.jpg", "pageimageitem8~/pics/b.gif"};
        page.links = {"http://example.com/a'b", ""};
        return page;
    }

    TempFolder working;
    SqliteDatabase db;
    FakePrompts prompts;
    PageStore store{db, prompts};
};

}  // namespace

TEST_F(PageStoreTest, CreatingTheStoreMakesEveryTableOnceAndKeepsWhatIsThere) {
    for (const char* table : {"quillprojects", "pagetexts", "textproperties", "pageimages",
                              "rtftexts", "lastsession", "ftplogin"}) {
        EXPECT_TRUE(db.hasTable(table)) << table;
    }
    EXPECT_EQ(rows("lastsession"), 0);
    EXPECT_EQ(db.runScalar("select count(*) from ftplogin where SERVERNAME = 'NOSERVER'"), 1);
    // Earlier versions insert into rtftexts without naming columns.
    EXPECT_EQ(db.runScalar("select count(*) from pragma_table_info('rtftexts')"), 2);

    db.runStatement("update ftplogin set SERVERNAME = 'ftp.example.org'");
    ASSERT_TRUE(store.savePage(quotedPage()));
    CreatePageStore(db);
    EXPECT_EQ(rows("ftplogin"), 1);
    EXPECT_EQ(db.runScalar("select count(*) from ftplogin where SERVERNAME = 'NOSERVER'"), 0);
    EXPECT_EQ(rows("quillprojects"), 1);
}

TEST_F(PageStoreTest, SavingTwiceKeepsOneRowAndOneChildRowPerEntry) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    page.pageTitle = "Second title";
    ASSERT_TRUE(store.savePage(page));

    EXPECT_EQ(rows("quillprojects"), 1);
    EXPECT_EQ(rows("pagetexts"), 2);
    EXPECT_EQ(rows("textproperties"), 2);
    EXPECT_EQ(rows("pageimages"), 2);
    EXPECT_EQ(rows("rtftexts"), 2);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(store.pageIdOf(page.directory, page.fileName), "1");
}

TEST_F(PageStoreTest, TheFirstSaveStoresThePagesOwnTitle) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    SqliteCursor row = db.runQuery("select PAGETITLE, ELEMENTCOUNT from quillprojects");
    EXPECT_EQ(row.text(0), "Anna's \"favourite\" page");
    EXPECT_EQ(row.intValue(1), 12);
}

TEST_F(PageStoreTest, ReloadGivesBackEveryValueAndListUnchanged) {
    const PageRecord saved = quotedPage();
    ASSERT_TRUE(store.savePage(saved));

    // Each value sits in the column of its name, so that a save and a load that swapped two
    // columns alike would not pass unseen.
    const std::pair<const char*, std::string> columns[] = {
        {"DIRECTORY from quillprojects", saved.directory},
        {"FILENAME from quillprojects", saved.fileName},
        {"PAGETITLE from quillprojects", saved.pageTitle},
        {"BACKIMAGE from quillprojects", saved.backImage},
        {"PAGEIMAGE from quillprojects", saved.pageImage},
        {"BACKCOLOR from quillprojects", saved.backColor},
        {"PAGECOLOR from quillprojects", saved.pageColor},
        {"PAGECONTAINER from quillprojects", saved.pageContainer},
        {"PAGEWIDTH from quillprojects", saved.pageWidth},
        {"PAGELENGTH from quillprojects", saved.pageLength},
        {"STYLESDATA from quillprojects", saved.stylesData},
        {"ELEMENTCOUNT from quillprojects", "12"},
        {"TEXTDATA from pagetexts order by rowid limit 1", saved.texts[0]},
        {"PROPERTIESDATA from textproperties order by rowid limit 1", saved.textProperties[0]},
        {"IMAGESOURCE from pageimages order by rowid limit 1", saved.pictures[0]},
        {"LINKINFO from pageimages order by rowid limit 1", saved.links[0]},
    };
    for (const auto& [column, expected] : columns) {
        SqliteCursor row = db.runQuery(std::string("select ") + column);
        ASSERT_FALSE(row.atEnd()) << column;
        EXPECT_EQ(row.textValue(0), expected) << column;
    }

    PageRecord loaded;
    loaded.directory = "left alone";
    loaded.fileName = "also left alone";
    ASSERT_TRUE(store.loadPage(loaded, saved.directory, saved.fileName));
    EXPECT_EQ(loaded.id, "1");
    EXPECT_EQ(loaded.directory, "left alone");
    EXPECT_EQ(loaded.fileName, "also left alone");
    EXPECT_EQ(loaded.pageTitle, saved.pageTitle);
    EXPECT_EQ(loaded.backImage, saved.backImage);
    EXPECT_EQ(loaded.pageImage, saved.pageImage);
    EXPECT_EQ(loaded.backColor, saved.backColor);
    EXPECT_EQ(loaded.pageColor, saved.pageColor);
    EXPECT_EQ(loaded.pageContainer, saved.pageContainer);
    EXPECT_EQ(loaded.pageWidth, saved.pageWidth);
    EXPECT_EQ(loaded.pageLength, saved.pageLength);
    EXPECT_EQ(loaded.stylesData, saved.stylesData);
    EXPECT_EQ(loaded.elementCount, saved.elementCount);
    EXPECT_EQ(loaded.texts, saved.texts);
    // The whole 20000-character rich text comes back, not the first 10239 characters.
    EXPECT_EQ(loaded.richTexts, saved.richTexts);
    EXPECT_EQ(loaded.textProperties, saved.textProperties);
    EXPECT_EQ(loaded.pictures, saved.pictures);
    EXPECT_EQ(loaded.links, saved.links);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PageStoreTest, APageWithoutPicturesClearsItsOldPictureRows) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    PageRecord other = quotedPage();
    other.fileName = "other.html";
    ASSERT_TRUE(store.savePage(other));
    page.pictures.clear();
    page.links.clear();
    ASSERT_TRUE(store.savePage(page));
    EXPECT_EQ(db.runScalar("select count(*) from pageimages where PROJECTID = 1"), 0);
    EXPECT_EQ(db.runScalar("select count(*) from pageimages where PROJECTID = 2"), 2);
}

TEST_F(PageStoreTest, AFailingStatementIsShownAsDbErrorAndTheSaveGoesOn) {
    db.runStatement("drop table textproperties");
    const PageRecord page = quotedPage();
    EXPECT_FALSE(store.savePage(page));

    ASSERT_EQ(prompts.shown.size(), 2u);  // the delete and the insert statement
    EXPECT_EQ(prompts.shown[0].caption, "db error");
    EXPECT_EQ(prompts.shown[0].text, "SQLITE_ERROR[1]: no such table: textproperties");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(rows("quillprojects"), 1);
    EXPECT_EQ(rows("pagetexts"), 2);
    EXPECT_EQ(rows("rtftexts"), 2);
}

// A store that cannot be written at all gives one message per save, with the reason, and
// keeps the page as it was stored before.
TEST_F(PageStoreTest, AStoreThatCannotBeWrittenEndsTheSaveWithOneMessage) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    page.pageTitle = "never stored";
    SqliteDatabase other;
    other.open(working / "quilldata.db");
    db.setBusyTimeout(50);
    const std::string journal = working / "quilldata.db-journal";
    const struct {
        std::function<void()> spoil;
        std::string reason;
        std::function<void()> mend;
    } cases[] = {
        {[&] { db.runStatement("PRAGMA query_only = ON"); },
         "SQLITE_READONLY[8]: attempt to write a readonly database",
         [&] { db.runStatement("PRAGMA query_only = OFF"); }},
        // No journal can be made beside it, as in a folder that cannot be written.
        {[&] { std::filesystem::create_directories(journal); }, "SQLITE_IOERR[10]: disk I/O error",
         [&] { std::filesystem::remove(journal); }},
        // Another program holds the store.
        {[&] { other.runStatement("BEGIN EXCLUSIVE"); }, "SQLITE_BUSY[5]: database is locked",
         [&] { other.runStatement("ROLLBACK"); }},
    };
    for (const auto& spoilt : cases) {
        prompts.shown.clear();
        spoilt.spoil();
        EXPECT_FALSE(store.savePage(page));
        spoilt.mend();
        ASSERT_EQ(prompts.shown.size(), 1u) << spoilt.reason;
        EXPECT_EQ(prompts.shown[0].caption, "db error");
        EXPECT_EQ(prompts.shown[0].text, "The page design was not stored: " + spoilt.reason);
        PageRecord loaded;
        ASSERT_TRUE(store.loadPage(loaded, page.directory, page.fileName));
        EXPECT_EQ(loaded.pageTitle, quotedPage().pageTitle);
        EXPECT_EQ(loaded.texts, quotedPage().texts);
    }
    EXPECT_TRUE(store.savePage(page));
}

TEST_F(PageStoreTest, APageWhoseRowCannotBeWrittenGetsNoChildRows) {
    db.runStatement(
        "create trigger refuse before insert on quillprojects begin select raise(abort, "
        "'refused'); end");
    EXPECT_FALSE(store.savePage(quotedPage()));
    ASSERT_EQ(prompts.captions(), (std::vector<std::string>{"db error", "db error"}));
    EXPECT_EQ(prompts.shown[0].text, "SQLITE_CONSTRAINT[19]: refused");
    EXPECT_EQ(prompts.shown[1].text,
              "The page's sections and pictures were not stored: its row could not be written.");
    for (const char* table : {"pagetexts", "textproperties", "pageimages", "rtftexts"}) {
        EXPECT_EQ(rows(table), 0) << table;
    }
}

TEST_F(PageStoreTest, ASaveBrokenOffHalfWayLeavesThePreviousSaveWhole) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    // SQLite rolls the whole transaction back here, half-way through the save: nothing after
    // it may be stored on its own either.
    db.runStatement(
        "create trigger crash before insert on pageimages begin select raise(rollback, "
        "'crash'); end");
    page.pageTitle = "never stored";
    page.texts = {"pagetextitem1~<P>never stored</P>"};
    page.textProperties = {"never stored"};
    EXPECT_FALSE(store.savePage(page));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "SQLITE_CONSTRAINT[19]: crash");
    EXPECT_FALSE(db.inTransaction());

    PageRecord loaded;
    ASSERT_TRUE(store.loadPage(loaded, page.directory, page.fileName));
    const PageRecord before = quotedPage();
    EXPECT_EQ(loaded.pageTitle, before.pageTitle);
    EXPECT_EQ(loaded.texts, before.texts);
    EXPECT_EQ(loaded.textProperties, before.textProperties);
    EXPECT_EQ(loaded.richTexts, before.richTexts);
    EXPECT_EQ(loaded.pictures, before.pictures);
}

TEST_F(PageStoreTest, LoadingAPageWithoutARowKeepsTheValuesAndEmptiesTheLists) {
    PageRecord page = quotedPage();
    page.id = "7";
    EXPECT_FALSE(store.loadPage(page, page.directory, "never-saved.html"));
    EXPECT_EQ(page.pageTitle, "Anna's \"favourite\" page");
    EXPECT_EQ(page.stylesData, quotedPage().stylesData);
    EXPECT_TRUE(page.id.empty());
    EXPECT_TRUE(page.texts.empty());
    EXPECT_TRUE(page.richTexts.empty());
    EXPECT_TRUE(page.textProperties.empty());
    EXPECT_TRUE(page.pictures.empty());
    EXPECT_TRUE(page.links.empty());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PageStoreTest, AFailingReadIsReportedInsteadOfEndingTheProgram) {
    db.runStatement("drop table quillprojects");
    PageRecord page;
    EXPECT_FALSE(store.loadPage(page, "folder", "page.html"));
    EXPECT_TRUE(store.folderNames().empty());
    EXPECT_TRUE(store.pageNames("folder").empty());
    EXPECT_EQ(prompts.captions(), (std::vector<std::string>{"db error", "db error", "db error"}));
}

TEST_F(PageStoreTest, ListsAndRenameTakeNamesWithQuotes) {
    PageRecord page = quotedPage();
    ASSERT_TRUE(store.savePage(page));
    page.fileName = "second.html";
    ASSERT_TRUE(store.savePage(page));
    page.directory = working / "plain";
    ASSERT_TRUE(store.savePage(page));

    EXPECT_EQ(store.folderNames().size(), 2u);
    const std::string quoted = quotedPage().directory;
    EXPECT_EQ(store.pageNames(quoted),
              (std::vector<std::string>{"it's \"new\".html", "second.html"}));
    ASSERT_TRUE(store.renamePage(quoted, "it's \"new\".html", "O'Hara.html"));
    EXPECT_EQ(store.pageNames(quoted), (std::vector<std::string>{"O'Hara.html", "second.html"}));
    EXPECT_EQ(store.pageIdOf(quoted, "O'Hara.html"), "1");

    // Onto the name of a stored design whose file is gone: one row of that name, the renamed
    // design's, and the other among the deleted pages.
    ASSERT_TRUE(store.renamePage(quoted, "O'Hara.html", "second.html"));
    EXPECT_EQ(store.pageNames(quoted), std::vector<std::string>{"second.html"});
    EXPECT_EQ(store.pageIdOf(quoted, "second.html"), "1");
    ASSERT_EQ(store.deleted().designs(quoted).size(), 1u);
}

// Rows as earlier versions wrote them: values spliced into the statement text, the page ID
// unquoted in three child tables and double-quoted in rtftexts.
TEST_F(PageStoreTest, APageWrittenByAnEarlierVersionLoadsUnchanged) {
    db.runStatement(
        "insert into quillprojects (DIRECTORY,FILENAME,PAGETITLE,BACKIMAGE,PAGEIMAGE,"
        "BACKCOLOR,PAGECOLOR,PAGECONTAINER,PAGEWIDTH,STYLESDATA,PAGELENGTH,ELEMENTCOUNT) "
        "VALUES(\"c:\\quillworking\\webpages\",\"index.html\",\"TEST FILE\",\"\",\"\","
        "\"#FFFFFF\",\"#E2E2E2\",\"\",\"0\",\"<div id='pagetextitem1~' style='a'>\",\"1000\","
        "\"1\")");
    db.runStatement("update quillprojects set PAGETITLE = \"Old page\" WHERE ID = 1");
    db.runStatement("insert into pagetexts (PROJECTID,TEXTDATA) VALUES(1,'pagetextitem1~it''s')");
    db.runStatement(
        "insert into textproperties (PROJECTID,PROPERTIESDATA) VALUES(1,'pagetextitem1~^^^^^x')");
    db.runStatement(
        "insert into pageimages (PROJECTID,IMAGESOURCE,LINKINFO) "
        "VALUES(1,\"pageimageitem3~c:\\a.jpg\",\"\")");
    std::string oldBlock = "{\\rtf1 old}";
    oldBlock.resize(10240, '\0');
    db.runStatement("insert into rtftexts values (\"1\", '" + SqliteBlobText::Encode(oldBlock) +
                    "');");

    PageRecord page;
    ASSERT_TRUE(store.loadPage(page, "c:\\quillworking\\webpages", "index.html"));
    EXPECT_EQ(page.pageTitle, "Old page");
    EXPECT_EQ(page.elementCount, 1);
    EXPECT_EQ(page.texts, std::vector<std::string>{"pagetextitem1~it's"});
    EXPECT_EQ(page.textProperties, std::vector<std::string>{"pagetextitem1~^^^^^x"});
    EXPECT_EQ(page.pictures, std::vector<std::string>{"pageimageitem3~c:\\a.jpg"});
    EXPECT_EQ(page.richTexts, std::vector<std::string>{"{\\rtf1 old}"});

    // Saving it again replaces the old child rows rather than adding to them.
    page.directory = "c:\\quillworking\\webpages";
    page.fileName = "index.html";
    ASSERT_TRUE(store.savePage(page));
    EXPECT_EQ(rows("quillprojects"), 1);
    EXPECT_EQ(rows("rtftexts"), 1);
    EXPECT_EQ(rows("pagetexts"), 1);
    // The store of that version had no table for what later versions keep beside a page; a
    // page without such values leaves it so, and no failure was shown.
    EXPECT_EQ(db.runScalar("select count(*) from sqlite_master where name = 'pageextras'"), 0);
    EXPECT_EQ(store.siteOptions().load("c:\\quillworking\\webpages"), SiteOptions());
    EXPECT_TRUE(prompts.shown.empty());

    page.language = "en";
    page.pictureDescriptions["pageimageitem3~"] = "";
    ASSERT_TRUE(store.savePage(page));
    PageRecord again;
    ASSERT_TRUE(store.loadPage(again, "c:\\quillworking\\webpages", "index.html"));
    EXPECT_EQ(again.language, std::optional<std::string>("en"));
    EXPECT_EQ(again.pictureDescriptions, page.pictureDescriptions);
    // The recovery file keeps them too; one of a page without them reads as before.
    EXPECT_EQ(ParseDesignText(DesignText(again))->pictureDescriptions, page.pictureDescriptions);
    PageRecord without;
    EXPECT_EQ(DesignText(*ParseDesignText(DesignText(without))), DesignText(without));
}

TEST(RichTextBlock, IsTheTextAndZerosUpToTheBlockOrOneByteMore) {
    std::string raw;
    ASSERT_TRUE(SqliteBlobText::Decode(EncodeRichTextBlock("{\\rtf1 short}"), raw));
    EXPECT_EQ(raw.size(), 10240u);
    EXPECT_EQ(raw.substr(0, 14), std::string("{\\rtf1 short}") + '\0');

    const std::string exact(10239, 'x');
    ASSERT_TRUE(SqliteBlobText::Decode(EncodeRichTextBlock(exact), raw));
    EXPECT_EQ(raw.size(), 10240u);
    const std::string longer(10240, 'y');
    ASSERT_TRUE(SqliteBlobText::Decode(EncodeRichTextBlock(longer), raw));
    EXPECT_EQ(raw.size(), 10241u);
    EXPECT_EQ(DecodeRichTextBlock(EncodeRichTextBlock(longer)), longer);
    EXPECT_EQ(DecodeRichTextBlock(EncodeRichTextBlock("")), "");
    EXPECT_EQ(DecodeRichTextBlock("\x02not an encoding\x01\x09"), "");
}

// A store of the version that knew only the phone switch: read as it is, and given the later
// columns on its first save of site options.
TEST_F(PageStoreTest, SiteOptionsOfAnOlderStoreAreReadAndGrowTheirColumnsOnSave) {
    db.runStatement("CREATE TABLE siteoptions (DIRECTORY TEXT PRIMARY KEY, PHONEFRIENDLY INTEGER)");
    db.runStatement("insert into siteoptions VALUES('/site', 1)");
    SiteOptions phoneOnly;
    phoneOnly.phoneFriendly = true;
    EXPECT_EQ(store.siteOptions().load("/site"), phoneOnly);
    EXPECT_EQ(store.siteOptions().load("/elsewhere"), SiteOptions());

    SiteOptions all;
    all.webPictures = true;
    all.siteAddress = "https://example.org/it's/";
    ASSERT_TRUE(store.siteOptions().save("/other", all));
    EXPECT_EQ(store.siteOptions().load("/other"), all);
    EXPECT_EQ(store.siteOptions().load("/site"), phoneOnly);
    EXPECT_EQ(db.runScalar("select count(*) from pragma_table_info('siteoptions') where name in "
                           "('WEBPICTURES','SITEADDRESS')"),
              2);
    ASSERT_TRUE(store.siteOptions().save("/other", SiteOptions()));
    EXPECT_EQ(store.siteOptions().load("/other"), SiteOptions());
    EXPECT_TRUE(prompts.shown.empty());
}
