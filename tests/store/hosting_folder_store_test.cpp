#include "store/hosting_folder_store.h"

#include <gtest/gtest.h>

#include "store/db/sqlite_database.h"
#include "store/page_store_schema.h"
#include "support/temp_folder.h"

namespace {

class HostingFolderTest : public ::testing::Test {
  protected:
    HostingFolderTest() {
        db.open(working / "quilldata.db");
        CreatePageStore(db);
    }
    TempFolder working;
    SqliteDatabase db;
};

}  // namespace

TEST_F(HostingFolderTest, NoStoredRowMeansNoFolder) {
    const HostingFolder folder = LoadHostingFolder(db);
    EXPECT_FALSE(folder.exists());
    EXPECT_EQ(folder.folderName, "NOTINITIALIZED");
    EXPECT_EQ(folder.password, "NOTINITIALIZED");
    EXPECT_EQ(FolderLabel(folder, "http://site/", "index.html"),
              "[Click for a Corvala web folder]");
}

TEST_F(HostingFolderTest, TheStoredRowIsSplitAtTheFirstBarOfEachColumn) {
    db.runStatement(
        "INSERT INTO lastsession (LASTDIRECTORY,LASTFILE) "
        "VALUES('My-Site|42|x','1234|http://h.example/scripts/')");
    const HostingFolder folder = LoadHostingFolder(db);
    EXPECT_TRUE(folder.exists());
    EXPECT_EQ(folder.folderName, "My-Site");
    EXPECT_EQ(folder.folderId, "42|x");
    EXPECT_EQ(folder.password, "1234");
    EXPECT_EQ(folder.scriptAddress, "http://h.example/scripts/");
    EXPECT_EQ(FolderLabel(folder, "http://site/", "about.html"), "http://site/My-Site/about.html");
}

TEST_F(HostingFolderTest, AColumnWithoutABarIsAllName) {
    db.runStatement("INSERT INTO lastsession VALUES('Solo','9999')");
    const HostingFolder folder = LoadHostingFolder(db);
    EXPECT_EQ(folder.folderName, "Solo");
    EXPECT_EQ(folder.folderId, "");
    EXPECT_EQ(folder.password, "9999");
    EXPECT_EQ(folder.scriptAddress, "");
}
