#include "files/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/paths.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

TEST(FolderListing, EmptyFolderAndOneFile) {
    TempFolder folder;
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "*.*")), "");
    EXPECT_TRUE(LocalListEntries(folder.path()).empty());
    WriteFile(folder / "x", "");
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "*.*")), "x");
    EXPECT_EQ(LocalListEntries(folder.path()), std::vector<std::string>{"x"});
}

TEST(FolderListing, FoldersAreMarkedAndOrderIgnoresCase) {
    TempFolder folder;
    WriteFile(folder / "b.html", "");
    WriteFile(folder / "A.txt", "");
    fs::create_directory(folder / "pics");
    fs::create_directory(folder / "Zed");
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "*.*")),
              "A.txt|b.html|pics  [FOLDER]|Zed  [FOLDER]");
    EXPECT_EQ(LocalListEntries(folder.path()),
              (std::vector<std::string>{"A.txt", "b.html", "pics  [FOLDER]", "Zed  [FOLDER]"}));
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "*.html")), "b.html");
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "?.t*")), "A.txt");
    EXPECT_EQ(ListFolder(JoinPath(folder.path(), "no/such/*.*")), "");
}

TEST(FolderListing, PicturesByLowerCasedNameAndOncePerMatchingTest) {
    TempFolder folder;
    for (const char* name : {"photo.JPG", "logo.gif", "notes.txt", "scan.jpeg", "odd.jpg.gif",
                             "Icon.BMP", "shot.PNG"}) {
        WriteFile(folder / name, "");
    }
    fs::create_directory(folder / "folder.gif");
    EXPECT_EQ(ListPictures(JoinPath(folder.path(), "*.*")),
              "Icon.BMP|logo.gif|odd.jpg.gif|odd.jpg.gif|photo.JPG|scan.jpeg|shot.PNG");
    EXPECT_EQ(ListPictures(JoinPath(folder.path(), "n*")), "");
}
