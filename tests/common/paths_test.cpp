#include "common/paths.h"

#include <gtest/gtest.h>

TEST(Paths, JoinUsesOneSeparator) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(JoinPath("/home/u", "quillworking"), "/home/u" + sep + "quillworking");
    EXPECT_EQ(JoinPath("/home/u" + sep, "x.html"), "/home/u" + sep + "x.html");
    EXPECT_EQ(JoinPath("", "x"), sep + "x");
}

TEST(Paths, SplitGivesFolderNameAndExtension) {
    const PathParts parts = SplitPath("/site/pages/about.x.html");
    EXPECT_EQ(parts.drive, "");
    EXPECT_EQ(parts.folder, "/site/pages/");
    EXPECT_EQ(parts.name, "about.x");
    EXPECT_EQ(parts.extension, ".html");

    const PathParts bare = SplitPath("notes");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.name, "notes");
    EXPECT_EQ(bare.extension, "");

    // A dot in a folder name is not an extension.
    const PathParts dotted = SplitPath("/a.b/readme");
    EXPECT_EQ(dotted.folder, "/a.b/");
    EXPECT_EQ(dotted.name, "readme");
    EXPECT_EQ(dotted.extension, "");
}

TEST(Paths, NameParentAndTrailingSeparators) {
    EXPECT_EQ(FileNameOf("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(FileNameOf("c.txt"), "c.txt");
    EXPECT_EQ(ParentFolderOf("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(ParentFolderOf("c.txt"), "");
    EXPECT_EQ(WithoutTrailingSeparator("/a/b//"), "/a/b");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
}

#ifndef _WIN32
TEST(Paths, LetterCaseMattersOnThisFileSystem) {
    EXPECT_TRUE(PathsEqual("/a/B", "/a/B"));
    EXPECT_FALSE(PathsEqual("/a/B", "/a/b"));
}
#endif
