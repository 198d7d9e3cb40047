#include "setup/working_folder_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "setup/quickstart_tutorial.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

class WorkingFolderSetupTest : public ::testing::Test {
  protected:
    WorkingFolderSetupTest() {
        std::filesystem::create_directories(dictionaries / "hunspell");
        WriteFile(dictionaries / "hunspell/en_US.aff", "SET UTF-8\n");
        WriteFile(dictionaries / "hunspell/en_US.dic", "1\nword\n");
    }
    std::vector<std::string> setUp() {
        return SetUpWorkingFolder(working / "quillworking", files, dictionaries / "hunspell",
                                  prompts);
    }
    std::string path(const std::string& name) { return working / ("quillworking/" + name); }

    TempFolder working;
    TempFolder dictionaries;
    FakePrompts prompts;
    std::vector<InstalledFile> files{{"quillstart.html", "welcome"},
                                     {"help/quillhelp.html", "help"},
                                     {"webpages/quillora-logo.gif", "GIF89a"},
                                     {"backgrounds/stripes.gif", "GIF89a stripes"},
                                     {"dragdrop.js", "this version's script", true}};
};

}  // namespace

TEST_F(WorkingFolderSetupTest, AFirstRunFillsTheWorkingFolder) {
    EXPECT_TRUE(setUp().empty());
    EXPECT_EQ(ReadFile(path("quillstart.html")), "welcome");
    EXPECT_EQ(ReadFile(path("help/quillhelp.html")), "help");
    EXPECT_EQ(ReadFile(path("LDB/en_US.dic")), "1\nword\n");
    SqliteDatabase words;
    words.open(path("quillwords.db"));
    EXPECT_TRUE(words.hasTable("searchwords"));

    SqliteDatabase db;
    db.open(path("quilldata.db"));
    EXPECT_EQ(db.runScalar("select count(*) from ftplogin"), 1);
    PageStore store(db, prompts);
    PageRecord tutorial;
    ASSERT_TRUE(store.loadPage(tutorial, path("webpages"), "quickstart.html"));
    EXPECT_EQ(tutorial.texts.size(), 6u);
    EXPECT_EQ(tutorial.pictures.size(), 1u);
    const std::string published = ReadFile(path("webpages/quickstart.html"));
    EXPECT_NE(published.find("<title>Quillora quickstart</title>"), std::string::npos);
    EXPECT_NE(published.find("SRC=\"quillora-logo.gif\""), std::string::npos);
    // The body background was copied beside the page.
    EXPECT_EQ(ReadFile(path("webpages/stripes.gif")), "GIF89a stripes");
    // The stores hold passwords: for their owner only, in a folder only the owner opens.
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(path("")).permissions() & fs::perms::all, fs::perms::owner_all);
    for (const char* file : {"quilldata.db", "quillwords.db"}) {
        EXPECT_EQ(fs::status(path(file)).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write)
            << file;
    }
}

TEST_F(WorkingFolderSetupTest, LaterRunsOverwriteNothingAndStoreTheTutorialOnce) {
    ASSERT_TRUE(setUp().empty());
    WriteFile(path("quillstart.html"), "changed by the user");
    WriteFile(path("webpages/quickstart.html"), "my own copy");
    // The editor page's script of an earlier version is the program's, not the user's.
    WriteFile(path("dragdrop.js"), "an earlier version's script");
    std::filesystem::remove(path("help/quillhelp.html"));
    ASSERT_TRUE(setUp().empty());
    EXPECT_EQ(ReadFile(path("quillstart.html")), "changed by the user");
    EXPECT_EQ(ReadFile(path("dragdrop.js")), "this version's script");
    EXPECT_EQ(ReadFile(path("webpages/quickstart.html")), "my own copy");
    EXPECT_EQ(ReadFile(path("help/quillhelp.html")), "help");
    SqliteDatabase db;
    db.open(path("quilldata.db"));
    EXPECT_EQ(db.runScalar("select count(*) from quillprojects"), 1);
    EXPECT_EQ(db.runScalar("select count(*) from pagetexts"), 6);
}

TEST_F(WorkingFolderSetupTest, AMissingDictionaryIsReported) {
    std::filesystem::remove(dictionaries / "hunspell/en_US.dic");
    const std::vector<std::string> problems = setUp();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("spelling dictionary"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(path("quilldata.db")));
}

TEST_F(WorkingFolderSetupTest, APageStoreThatIsNotADatabaseIsKeptAsideAndMadeAnew) {
    ASSERT_TRUE(setUp().empty());
    const struct {
        std::string content;
        std::string reason;
        std::string aside;
    } cases[] = {
        {std::string(5000, 'x'), "it is not an SQLite database", "quilldata.damaged.db"},
        {std::string("SQLite format 3", 16) + std::string(5000, 'x'),
         "UNKNOWN_ERROR[26]: file is not a database", "quilldata.damaged-2.db"},
    };
    for (const auto& damaged : cases) {
        WriteFile(path("quilldata.db"), damaged.content);
        WriteFile(path("quilldata.db-journal"), "stale journal");
        const std::vector<std::string> problems = setUp();
        ASSERT_EQ(problems.size(), 1u) << damaged.reason;
        EXPECT_EQ(problems[0], "The page store " + path("quilldata.db") +
                                   " is damaged or is not a page store (" + damaged.reason +
                                   "). It was kept unchanged as " + path(damaged.aside) +
                                   ", and a new page store was made. The page files in your site "
                                   "folders are untouched.");
        EXPECT_EQ(ReadFile(path(damaged.aside)), damaged.content);
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        EXPECT_EQ(db.runScalar("select count(*) from quillprojects"), 1);
    }
    EXPECT_EQ(ReadFile(path("quilldata.damaged.db-journal")), "stale journal");
    // A sound store is left alone.
    EXPECT_TRUE(setUp().empty());
}

TEST(QuickstartTutorial, ItsLayoutNamesEveryItem) {
    const PageRecord tutorial = QuickstartTutorial("/home/user/quillworking");
    EXPECT_EQ(tutorial.directory, "/home/user/quillworking/webpages");
    EXPECT_EQ(tutorial.elementCount, 7);
    for (const std::string& text : tutorial.texts) {
        EXPECT_NE(tutorial.stylesData.find("<div id='" + text.substr(0, text.find('~') + 1)),
                  std::string::npos);
    }
    EXPECT_NE(tutorial.stylesData.find("<div id='dpageimageitem500~'"), std::string::npos);
}

// The help the program installs speaks of what the program does today.
TEST(InstalledHelp, NamesEveryPartOfTheProgram) {
    const std::string help = ReadFile(QUILLORA_TEST_DATA "/../install/help/quillhelp.html");
    for (const char* part : {"JPEG, PNG, GIF or BMP", "on every page of this site",
                             "Edit &gt; Undo", "Add Site Menu", "View &gt; Phone", "Check Site",
                             "pictures prepared for the web", "Publish Site", "uploader"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}
