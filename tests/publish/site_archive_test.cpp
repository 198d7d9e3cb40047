#include "site/site_archive.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "common/hex_text.h"
#include "files/content_hash.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "platform/console_prompts.h"
#include "publish/batch_publish.h"
#include "site/section_file.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"
#include "store/page_store.h"
#include "support/designer_fixture.h"
#include "support/font_files.h"

namespace {

namespace fs = std::filesystem;

// A site of pages saved in the designer: two pictures of the same name from two folders, page
// and container backgrounds, a shared menu, phone choices and site options.
class SiteArchiveTest : public DesignerFixture {
  protected:
    SiteArchiveTest() {
        fs::create_directories(working / "pics");
        fs::create_directories(working / "more");
        WriteFile(working / "pics/sun.jpg", "the sun");
        WriteFile(working / "more/sun.jpg", "another sun");
        WriteFile(working / "backgrounds/sky.jpg", "sky");
        WriteFile(working / "backgrounds/dots.gif", "dots");
        selectFolder(siteFolder());
        SiteOptions options;
        options.phoneFriendly = true;
        options.siteAddress = "https://example.org/";
        session.store().siteOptions().save(siteFolder(), options);
        PageRecord site;
        site.directory = siteFolder();
        site.fileName = kSiteItemsFile;
        site.elementCount = 1;
        site.stylesData = "<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>";
        site.texts = {"pagetextitemS1~"};
        site.richTexts = {WriteSiteMenu(MenuOfPages({{"index.html", "Home"}, {"about.html", ""}}))};
        site.textProperties = {"pagetextitemS1~^^^^^NOJUSTIFY"};
        EXPECT_TRUE(session.store().savePage(site));
        save("index.html", working / "pics/sun.jpg");
        save("about.html", working / "more/sun.jpg");
    }

    void save(const std::string& name, const std::string& picture) {
        workspace().pages.clear();
        workspace().pages.select(workspace().pages.add(name));
        page() = PageRecord();
        session.store().loadPage(page(), siteFolder(), name);
        page().directory = siteFolder();
        page().fileName = name;
        page().pageTitle = "Page " + name;
        page().language = "en";
        page().backImage = "sky.jpg";
        page().pageImage = "dots.gif";
        page().elementCount = 3;
        page().texts.insert(page().texts.begin(), "pagetextitem1~<P>" + name + "</P>");
        page().richTexts.insert(page().richTexts.begin(), "{\\rtf1 words}");
        page().textProperties.insert(page().textProperties.begin(), "pagetextitem1~^^^^^NOJUSTIFY");
        page().pictures = {"pageimageitem3~" + picture};
        page().links = {""};
        SetPhoneChoice(page().phoneChoices, "pagetextitem1~", kPhoneTextSize, "1");
        handOver(
            "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem3~' "
            "style='top:1px'>^10^20|<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>");
        ASSERT_TRUE(session.publisher().writePublishedPage());
    }

    int run(const std::string& workdir, std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        arguments.insert(arguments.begin(), {"--workdir", workdir});
        return RunBatchPublish(arguments, workdir, out, err);
    }

    // Every file under the folder by its path there, with its bytes.
    static std::map<std::string, std::string> Files(const std::string& folder) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                files[fs::relative(entry.path(), folder).string()] =
                    ReadFile(entry.path().string());
            }
        }
        return files;
    }

    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace

TEST_F(SiteArchiveTest, ASiteCarriedToACleanWorkingFolderPublishesTheSameBytes) {
    const std::map<std::string, std::string> published = Files(siteFolder());
    ASSERT_TRUE(published.count("sun-2.jpg")) << "the second sun is numbered";
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    EXPECT_NE(out.str().find("2 pages of " + siteFolder() + " and 4 pictures exported"),
              std::string::npos)
        << out.str();
    // The pictures' own places are not on the other computer.
    fs::remove_all(working / "pics");
    fs::remove_all(working / "more");

    TempFolder other;
    fs::create_directories(other / "backgrounds");
    const std::string there = other / "mysite";
    ASSERT_EQ(run(other.path(), {"--import-site", file, there}), 0) << err.str();
    EXPECT_NE(out.str().find("2 pages and 4 pictures imported"), std::string::npos) << out.str();
    for (const auto& entry : fs::directory_iterator(there)) {
        fs::remove_all(entry.path());
    }
    ASSERT_EQ(run(other.path(), {there}), 0) << err.str();
    EXPECT_EQ(Files(there), published);

    // Brought in again: refused without --force, since the folder has pages now.
    EXPECT_EQ(run(other.path(), {"--import-site", file, there}), 2);
    EXPECT_NE(err.str().find("already has 2 pages"), std::string::npos) << err.str();
    EXPECT_EQ(run(other.path(), {"--import-site", file, there, "--force"}), 0) << err.str();
    EXPECT_EQ(Files(there), published);
}

TEST_F(SiteArchiveTest, ADamagedOrForeignFileIsRefusedAndNothingChanges) {
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    std::string bytes = ReadFile(file);
    std::string damaged = bytes;
    // A picture's bytes changed where they lie, as a bad disk or copy changes them.
    const std::size_t sun = damaged.find("another sun");
    ASSERT_NE(sun, std::string::npos);
    damaged[sun] = 'A';
    WriteFile(working / "damaged.qsite", damaged);
    WriteFile(working / "cut.qsite", bytes.substr(0, bytes.size() / 2));
    WriteFile(working / "words.qsite", "just some words");
    const struct {
        std::string file;
        const char* reason;
    } cases[] = {{working / "damaged.qsite", "is damaged, so nothing was imported: the picture"},
                 {working / "cut.qsite", "is damaged"},
                 {working / "words.qsite", "is not a site exported by Quillora."},
                 {working / "quilldata.db", "is not a site exported by Quillora."},
                 {working / "none.qsite", "cannot be found."}};
    TempFolder other;
    for (const auto& refused : cases) {
        EXPECT_EQ(run(other.path(), {"--import-site", refused.file, other / "site"}), 2)
            << refused.file;
        EXPECT_NE(err.str().find(refused.reason), std::string::npos) << err.str();
        EXPECT_TRUE(fs::is_empty(other.path())) << refused.file;
    }
    // The export itself leaves nothing half written behind.
    EXPECT_EQ(run(working.path(), {"--export-site", working / "empty", working / "e.qsite"}), 2);
    EXPECT_FALSE(fs::exists(working / "e.qsite"));
    EXPECT_FALSE(fs::exists(working / "e.qsite.part"));
}

// A site file is someone else's: each one below was changed by hand after its export. None
// writes outside the site and working folders, none reaches the store, and each refusal names
// what it refused.
TEST_F(SiteArchiveTest, AHostileSiteFileIsRefusedWithItsReasonAndWritesNothing) {
    const std::string exported = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), exported}), 0) << err.str();
    ASSERT_TRUE(test_fonts::WriteRestrictedFont(working / "restricted.ttf"));
    const std::string restrictedBytes = ReadFile(working / "restricted.ttf");
    const std::string restricted = HexText(
        reinterpret_cast<const unsigned char*>(restrictedBytes.data()), restrictedBytes.size());
    const struct {
        const char* what;
        std::string change;
        const char* reason;
    } cases[] = {
        {"a page outside the site folder",
         "UPDATE quillprojects SET FILENAME='../escaped.html' WHERE FILENAME='about.html'",
         "the page name \"../escaped.html\" is not a plain file name"},
        {"a page over the store",
         "UPDATE quillprojects SET FILENAME='../quilldata.db' WHERE FILENAME='about.html'",
         "the page name \"../quilldata.db\" is not a plain file name"},
        {"a view that answers twice",
         "DROP TABLE sitecopies; CREATE VIEW sitecopies AS SELECT '../../.bash_login' AS COPY,"
         "ORIGINAL FROM sitefiles",
         "holds more than an exported site (the view sitecopies)"},
        {"a trigger", "CREATE TRIGGER t AFTER INSERT ON siteexport BEGIN SELECT 1; END",
         "holds more than an exported site (the trigger t)"},
        {"script in the page width",
         "UPDATE quillprojects SET PAGEWIDTH='800);hostNavigate(\"http://deleteservpages\");//'",
         "the page width \"800);hostNavigate("},
        {"script in the container",
         "UPDATE quillprojects SET PAGECONTAINER=PAGECONTAINER||'\"><script>x()</script>' "
         "WHERE FILENAME='index.html'; UPDATE quillprojects SET PAGEWIDTH='8x0' "
         "WHERE FILENAME='index.html'",
         "the page width \"8x0\""},
        {"a background of this computer",
         "UPDATE quillprojects SET BACKIMAGE='../../.ssh/id_ed25519'",
         "the background \"../../.ssh/id_ed25519\""},
        {"a picture file outside its folder", "UPDATE sitefiles SET NAME='../x.jpg'",
         "the picture name \"../x.jpg\" is not a plain file name"},
        {"a layout record that closes its element",
         "UPDATE quillprojects SET STYLESDATA='<div id=''pagetextitem1~'' style=''left:5px''>"
         "<img src=x onerror=y>' WHERE FILENAME='index.html'",
         "the layout record"},
        {"a script link", "UPDATE pageimages SET LINKINFO='javascript:alert(1)'",
         "the link \"javascript:alert(1)\""},
        {"an address with markup", "UPDATE siteoptions SET SITEADDRESS='https://x/\"><b>'",
         "the site address"},
        {"a font that is no font",
         "INSERT INTO sitefiles (KIND,ORIGINAL,NAME,HASH,DATA) VALUES('font','x','x.ttf','',"
         "X'00010000')",
         "the font x.ttf is not a font file a page may carry"},
        {"a font file outside the fonts folder",
         "INSERT INTO sitefiles (KIND,ORIGINAL,NAME,HASH,DATA) VALUES('font','x','../x.ttf','',"
         "X'00')",
         "the font name \"../x.ttf\" is not a plain file name"},
        {"a translation of no section",
         "CREATE TABLE translations (PROJECTID INTEGER, ITEM TEXT, LANGUAGE TEXT, TEXTDATA TEXT);"
         "INSERT INTO translations SELECT ID,'x><b>','fr','w' FROM quillprojects",
         "the translated item \"x><b>\""},
        {"a language with markup",
         "CREATE TABLE translations (PROJECTID INTEGER, ITEM TEXT, LANGUAGE TEXT, TEXTDATA TEXT);"
         "INSERT INTO translations SELECT ID,'TITLE','fr\"><b>','w' FROM quillprojects",
         "the language \"fr\"><b>\""},
        {"a font whose licence forbids embedding",
         "INSERT INTO sitefiles (KIND,ORIGINAL,NAME,HASH,DATA) VALUES('font','x','kept.ttf','',"
         "X'" +
             restricted + "')",
         "the font kept.ttf is not a font file a page may carry"},
    };
    for (const auto& hostile : cases) {
        const std::string file = working / "hostile.qsite";
        WriteFile(file, ReadFile(exported));
        {
            SqliteDatabase changed;
            changed.open(file);
            changed.runStatement(hostile.change);
            // A file added carries the hash of what it holds, as an export writes it.
            std::vector<std::pair<long long, std::string>> added;
            for (SqliteCursor row = changed.runQuery("select ID,DATA from sitefiles where HASH=''");
                 !row.atEnd(); row.advance()) {
                added.emplace_back(std::stoll(row.textValue(0)), row.blobValue(1));
            }
            for (const auto& [id, bytes] : added) {
                SqliteStatement hash = changed.prepare("UPDATE sitefiles SET HASH=?1 WHERE ID=?2");
                hash.bindText(1, ContentHashOfText(bytes));
                hash.bindInt64(2, id);
                hash.runStatement();
            }
        }
        TempFolder other;
        EXPECT_EQ(run(other.path(), {"--import-site", file, other / "site"}), 2) << hostile.what;
        EXPECT_NE(err.str().find(hostile.reason), std::string::npos)
            << hostile.what << ": " << err.str();
        EXPECT_TRUE(fs::is_empty(other.path())) << hostile.what;
        EXPECT_FALSE(fs::exists(other.path() + "/../escaped.html")) << hostile.what;
    }
}

// A picture the file names without holding it is left out, never taken from this computer;
// a folder of pages written by hand is not written over unless the user says so.
TEST_F(SiteArchiveTest, MissingPicturesAreLeftOutAndHandWrittenPagesAreAskedFor) {
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    {
        SqliteDatabase changed;
        changed.open(file);
        changed.runStatement("DELETE FROM sitefiles WHERE ORIGINAL LIKE '%more%'");
    }
    TempFolder other;
    const std::string there = other / "site";
    fs::create_directories(there);
    WriteFile(there + "/index.html", "my own page");
    EXPECT_EQ(run(other.path(), {"--import-site", file, there}), 2);
    EXPECT_NE(err.str().find("files the import would write over: index.html"), std::string::npos)
        << err.str();
    EXPECT_EQ(ReadFile(there + "/index.html"), "my own page");
    EXPECT_EQ(run(other.path(), {"--import-site", file, there, "--force"}), 0) << err.str();
    EXPECT_NE(out.str().find("Not in the file, so left out: sun.jpg ("), std::string::npos)
        << out.str();
    SqliteDatabase imported;
    imported.open(other / "quilldata.db");
    EXPECT_EQ(imported.runScalar("SELECT count(*) FROM pageimages WHERE IMAGESOURCE LIKE '%more%'"),
              0);
}

// A file whose shared menu carries a page's id (the page's own section has the same id): each
// shows once after the import, and carried on again nothing multiplies.
TEST_F(SiteArchiveTest, ASharedItemWithAPagesIdShowsOnceAndStaysOnceWhenCarriedOn) {
    std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();
    {
        SqliteDatabase changed;
        changed.open(file);
        changed.runStatement(
            "UPDATE quillprojects SET STYLESDATA=replace(STYLESDATA,'pagetextitemS1~',"
            "'pagetextitem1~') WHERE FILENAME='.siteitems';"
            "UPDATE pagetexts SET TEXTDATA=replace(TEXTDATA,'pagetextitemS1~','pagetextitem1~');"
            "UPDATE textproperties SET PROPERTIESDATA=replace(PROPERTIESDATA,'pagetextitemS1~',"
            "'pagetextitem1~');");
    }
    const auto count = [](const std::string& text, const std::string& part) {
        std::size_t found = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1)) {
            ++found;
        }
        return found;
    };
    for (int round = 0; round < 2; ++round) {
        TempFolder other;
        const std::string there = other / "site";
        ASSERT_EQ(run(other.path(), {"--import-site", file, there}), 0) << err.str();
        const std::string index = ReadFile(there + "/index.html");
        EXPECT_EQ(count(index, "<nav"), 1u) << round << index;
        EXPECT_EQ(count(index, "<div id='pagetextitem1~'"), 1u) << round << index;
        file = other / "again.qsite";
        ASSERT_EQ(run(other.path(), {"--export-site", there, file}), 0) << err.str();
        fs::copy_file(file, working / "again.qsite", fs::copy_options::overwrite_existing);
        file = working / "again.qsite";
    }
}

// A font of the working folder's own that a section shows goes with the site, and the site
// publishes the same font files on the other computer.
TEST_F(SiteArchiveTest, AnOwnFontTravelsWithTheSiteFile) {
    fs::create_directories(working / "fonts");
    ASSERT_TRUE(
        test_fonts::WriteRenamedFont(working / "fonts/houseprint.ttf", "Houseprint", false));
    SiteOptions options = session.store().siteOptions().load(siteFolder());
    options.siteFonts = true;
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    page().texts[0] = "pagetextitem1~<font face='Houseprint Sans'>Our own face</font>";
    handOver(
        "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem3~' "
        "style='top:1px'>^10^20|<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>");
    ASSERT_TRUE(session.publisher().writePublishedPage());
    std::string font;
    for (const auto& [name, bytes] : Files(siteFolder())) {
        if (name.rfind("houseprint-sans-400-", 0) == 0) {
            font = name;
        }
    }
    ASSERT_FALSE(font.empty());
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();

    TempFolder other;
    const std::string there = other / "mysite";
    ASSERT_EQ(run(other.path(), {"--import-site", file, there}), 0) << err.str();
    EXPECT_EQ(ReadFile(other / "fonts/houseprint.ttf"), ReadFile(working / "fonts/houseprint.ttf"));
    EXPECT_EQ(ReadFile(there + "/" + font), ReadFile(siteFolder() + "/" + font));
    EXPECT_NE(ReadFile(there + "/about.html").find("@font-face{font-family:'Houseprint Sans'"),
              std::string::npos);
}

// Three languages carried away: every version of every page comes back byte for byte, with the
// words of each language.
TEST_F(SiteArchiveTest, AThreeLanguageSiteComesBackWholeInEveryLanguage) {
    SiteOptions options = session.store().siteOptions().load(siteFolder());
    options.languages = {"en", "fr", "de"};
    ASSERT_TRUE(session.store().siteOptions().save(siteFolder(), options));
    page().description = "Who we are";
    page().translations["fr"] = {{kTranslatedTitle, "À propos"},
                                 {kTranslatedDescription, "Qui nous sommes"},
                                 {"pagetextitem1~", "<P>Bonjour</P>"}};
    page().translations["de"] = {{"pagetextitem1~", "<P>Guten Tag</P>"}};
    const PageRecord translated = page();
    handOver(
        "<div id='pagetextitem1~' style='left:5px'>|<div id='dpageimageitem3~' "
        "style='top:1px'>^10^20|<div id='pagetextitemS1~' style='top: 0px; left: 0px;'>");
    ASSERT_TRUE(session.publisher().writePublishedPage());
    ASSERT_EQ(run(working.path(), {siteFolder()}), 0) << err.str();
    const std::map<std::string, std::string> published = Files(siteFolder());
    ASSERT_TRUE(published.count("de/index.html") && published.count("fr/about.html"));
    const std::string file = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), file}), 0) << err.str();

    TempFolder other;
    const std::string there = other / "mysite";
    ASSERT_EQ(run(other.path(), {"--import-site", file, there}), 0) << err.str();
    for (const auto& entry : fs::directory_iterator(there)) {
        fs::remove_all(entry.path());
    }
    ASSERT_EQ(run(other.path(), {there}), 0) << err.str();
    EXPECT_EQ(Files(there), published);
    SqliteDatabase imported;
    imported.open(other / "quilldata.db");
    ConsolePrompts quiet(err);
    PageStore store(imported, quiet);
    PageRecord back;
    ASSERT_TRUE(store.loadPage(back, there, translated.fileName));
    EXPECT_EQ(back.translations, translated.translations);
    EXPECT_EQ(store.siteOptions().load(there).languages, options.languages);
}

// A section kept in its own file comes back whole in another working folder, under the same
// checks as a site file; a site file is no section.
TEST_F(SiteArchiveTest, ASectionFileCarriesItsItemsPicturesWordsAndPhoneChoices) {
    PageRecord section;
    section.stylesData =
        "<div id='pagetextitem1~' style='position: absolute; top: 0px; left: 0px;'>|<div "
        "id='dpageimageitem2~' style='position:absolute;top:0px;left:200px'>^10^20";
    section.texts = {"pagetextitem1~<P>Hello</P>"};
    section.richTexts = {"{\\rtf1 Hello}"};
    section.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
    section.pictures = {"pageimageitem2~" + working / "pics/sun.jpg"};
    section.links = {""};
    section.pictureDescriptions = {{"pageimageitem2~", "The sun"}};
    section.translations["fr"]["pagetextitem1~"] = "<P>Bonjour</P>";
    SetPhoneChoice(section.phoneChoices, "dpageimageitem2~", kPhoneWidth, kPhoneFullWidth);
    const std::string file = working / "hero.qsection";
    const SiteArchiveResult written = WriteSectionFile(section, working.path(), file);
    ASSERT_TRUE(written.done) << written.message;

    TempFolder other;
    std::string refusal;
    const std::optional<PageRecord> back = ReadSectionFile(file, other.path(), refusal);
    ASSERT_TRUE(back) << refusal;
    EXPECT_EQ(back->texts, section.texts);
    EXPECT_EQ(back->translations, section.translations);
    EXPECT_EQ(back->phoneChoices, section.phoneChoices);
    EXPECT_EQ(back->pictureDescriptions, section.pictureDescriptions);
    ASSERT_EQ(back->pictures.size(), 1u);
    const std::string picture = back->pictures[0].substr(std::string("pageimageitem2~").size());
    EXPECT_EQ(picture.rfind(other / "imported/", 0), 0u) << picture;
    EXPECT_EQ(ReadFile(picture), "the sun");

    const std::string site = working / "site.qsite";
    ASSERT_EQ(run(working.path(), {"--export-site", siteFolder(), site}), 0) << err.str();
    EXPECT_FALSE(ReadSectionFile(site, other.path(), refusal));
    EXPECT_EQ(refusal, "site.qsite is a site file, not a section.");
}
