#include "files/file_operation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class FileOperationTest : public ::testing::Test {
  protected:
    std::string make(const std::string& relative, const std::string& content = "x") {
        const std::string path = folder / relative;
        fs::create_directories(fs::path(path).parent_path());
        WriteFile(path, content);
        return path;
    }
    std::string makeFolder(const std::string& relative) {
        fs::create_directories(folder / relative);
        return folder / relative;
    }
    void makeReadOnly(const std::string& path) {
        fs::permissions(path,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    bool exists(const std::string& relative) { return fs::exists(folder / relative); }

    TempFolder folder;
    FakePrompts prompts;
    FileOperation files{prompts};
};

}  // namespace

TEST_F(FileOperationTest, CopyNamesFollowTheCopyOfSequence) {
    EXPECT_EQ(files.MakeCopyName("/d/a.txt"), "/d/Copy of a.txt");
    EXPECT_EQ(files.MakeCopyName("/d/Copy of a.txt"), "/d/Copy (1) of a.txt");
    EXPECT_EQ(files.MakeCopyName("/d/Copy (1) of a.txt"), "/d/Copy (2) of a.txt");
    EXPECT_EQ(files.MakeCopyName("/d/Copy (41) of a.b.txt"), "/d/Copy (42) of a.b.txt");
    // Any name with "Copy " loses its first eight characters.
    EXPECT_EQ(files.MakeCopyName("/d/My Copy notes.txt"), "/d/Copy (1) of notes.txt");
    EXPECT_EQ(files.MakeCopyName("/d/Copy (x.txt"), "/d/Copy of Copy (x.txt");
    EXPECT_EQ(files.MakeCopyName("/d/Copy (5)"), "/d/Copy (6) of ");
    EXPECT_EQ(files.MakeCopyName("noext"), "Copy of noext");
}

TEST_F(FileOperationTest, CopyIntoAFolderNeverOverwrites) {
    const std::string source = make("src/a.txt", "new");
    const std::string target = makeFolder("dst");
    make("dst/a.txt", "old");
    make("dst/Copy of a.txt", "older");
    ASSERT_TRUE(files.Copy(source, target));
    EXPECT_EQ(ReadFile(folder / "dst/a.txt"), "old");
    EXPECT_EQ(ReadFile(folder / "dst/Copy of a.txt"), "older");
    EXPECT_EQ(ReadFile(folder / "dst/Copy (1) of a.txt"), "new");
    // File onto an existing file takes the next free name too.
    ASSERT_TRUE(files.Copy(source, folder / "dst/a.txt"));
    EXPECT_EQ(ReadFile(folder / "dst/Copy (2) of a.txt"), "new");
}

TEST_F(FileOperationTest, OverwriteReplacesButNotAReadOnlyTarget) {
    const std::string source = make("a.txt", "new");
    const std::string target = make("b.txt", "old");
    files.setOverwrite(true);
    ASSERT_TRUE(files.Copy(source, target));
    EXPECT_EQ(ReadFile(target), "new");
    makeReadOnly(target);
    WriteFile(source, "newer");
    EXPECT_FALSE(files.Copy(source, target));
    EXPECT_EQ(files.lastErrorText(), "Permission denied");
    EXPECT_NE(files.lastErrorCode(), 0);
}

TEST_F(FileOperationTest, CopyReportsMissingPathsAndWrongOperations) {
    EXPECT_EQ(files.lastErrorText(), "No error");
    const std::string file = make("f.txt");
    const std::string dir = makeFolder("d");
    EXPECT_FALSE(files.Copy(folder / "none.txt", dir));
    EXPECT_EQ(files.lastErrorText(), folder / "none.txt" + " not found");
    EXPECT_FALSE(files.Copy(file, folder / "nowhere"));
    EXPECT_EQ(files.lastErrorText(), folder / "nowhere" + " not found");
    EXPECT_FALSE(files.Copy(dir, file));
    EXPECT_EQ(files.lastErrorText(), "Wrong operation");
}

TEST_F(FileOperationTest, FolderCopyTakesTheWholeTree) {
    make("site/index.html", "i");
    make("site/pics/a.jpg", "a");
    make("site/pics/deep/b.gif", "b");
    makeFolder("site/empty");
    const std::string target = makeFolder("backup");
    ASSERT_TRUE(files.Copy(folder / "site", target));
    EXPECT_EQ(ReadFile(folder / "backup/site/index.html"), "i");
    EXPECT_EQ(ReadFile(folder / "backup/site/pics/deep/b.gif"), "b");
    EXPECT_TRUE(fs::is_directory(folder / "backup/site/empty"));
    // A second copy merges: existing files get copy names, folders are reused.
    ASSERT_TRUE(files.Copy(folder / "site/", target + "/"));
    EXPECT_EQ(ReadFile(folder / "backup/site/pics/Copy of a.jpg"), "a");
}

TEST_F(FileOperationTest, FolderCopiedIntoItsParentOrItsOwnSubtreeEnds) {
    make("site/a.txt");
    ASSERT_TRUE(files.Copy(folder / "site", folder.path()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    make("site/sub/b.txt");
    make("site/sub/inner/c.txt");
    ASSERT_TRUE(files.Copy(folder / "site", folder / "site/sub"));
    EXPECT_TRUE(exists("site/sub/site/a.txt"));
    EXPECT_TRUE(exists("site/sub/site/sub/b.txt"));
    // The copy goes one level deep, as far as the target lies below the source.
    EXPECT_FALSE(exists("site/sub/site/sub/inner"));
    EXPECT_FALSE(exists("site/sub/site/sub/site"));

    // A sibling whose name starts like the source is not inside it.
    make("site2/x.txt");
    make("site/deep/y.txt");
    ASSERT_TRUE(files.Copy(folder / "site", folder / "site2"));
    EXPECT_TRUE(exists("site2/site/deep/y.txt"));
}

TEST_F(FileOperationTest, RenameMovesButNeverReplaces) {
    const std::string a = make("a.txt", "a");
    const std::string b = make("b.txt", "b");
    EXPECT_FALSE(files.Rename(a, b));
    EXPECT_EQ(files.lastErrorText(), "File exists");
    EXPECT_EQ(ReadFile(b), "b");
    ASSERT_TRUE(files.Rename(a, folder / "c.txt"));
    EXPECT_EQ(ReadFile(folder / "c.txt"), "a");
    EXPECT_FALSE(files.Rename(a, folder / "d.txt"));
    EXPECT_EQ(files.lastErrorText(), "No such file or directory");
}

TEST_F(FileOperationTest, PathTests) {
    const std::string file = make("f.txt");
    EXPECT_EQ(files.CheckPath(file), 1);
    EXPECT_EQ(files.CheckPath(folder.path()), 2);
    EXPECT_EQ(files.CheckPath(folder / "none"), 0);
    EXPECT_EQ(files.CheckPath(file + "/below"), 0);
    EXPECT_TRUE(files.Exists(file));
    EXPECT_FALSE(files.Exists(folder.path()));
    EXPECT_FALSE(files.Exists(folder / "none"));
}

TEST_F(FileOperationTest, DeletingAReadOnlyFileAsksFirst) {
    const std::string kept = make("keep.txt");
    makeReadOnly(kept);
    prompts.answers = {MessageAnswer::No};
    EXPECT_TRUE(files.Delete(kept));
    EXPECT_TRUE(files.aborted());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "keep.txt is read olny. Do you want delete it?");
    EXPECT_EQ(prompts.shown[0].caption, "Warning");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Question);
    EXPECT_TRUE(fs::exists(kept));

    prompts.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(files.Delete(kept));
    EXPECT_FALSE(files.aborted());
    EXPECT_FALSE(fs::exists(kept));

    const std::string quiet = make("quiet.txt");
    makeReadOnly(quiet);
    files.setAskReadOnly(false);
    EXPECT_TRUE(files.Delete(quiet));
    EXPECT_FALSE(fs::exists(quiet));
    EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST_F(FileOperationTest, FolderWithAReadOnlyFileAnsweredNoKeepsThatFileOnly) {
    make("tree/a.txt");
    const std::string locked = make("tree/sub/locked.txt");
    make("tree/sub/z.txt");
    makeReadOnly(locked);
    prompts.answers = {MessageAnswer::No};
    EXPECT_TRUE(files.Delete(folder / "tree"));
    EXPECT_TRUE(files.aborted());
    EXPECT_TRUE(fs::exists(locked));
    EXPECT_FALSE(exists("tree/a.txt"));
    EXPECT_FALSE(exists("tree/sub/z.txt"));
}

TEST_F(FileOperationTest, CancelEndsTheWholeDelete) {
    const std::string locked = make("tree/a.txt");
    make("tree/b.txt");
    makeReadOnly(locked);
    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(files.Delete(folder / "tree"));
    EXPECT_TRUE(files.aborted());
    EXPECT_EQ(files.lastErrorCode(), 0);
    EXPECT_TRUE(fs::exists(locked));
    EXPECT_TRUE(exists("tree/b.txt"));
}

TEST_F(FileOperationTest, DeleteReportsAMissingFile) {
    EXPECT_FALSE(files.Delete(folder / "ghost.txt"));
    EXPECT_EQ(files.lastErrorText(), "No such file or directory");
}

TEST_F(FileOperationTest, MoveCopiesThenRemovesWithoutAsking) {
    make("from/a.txt", "a");
    const std::string locked = make("from/sub/b.txt", "b");
    makeReadOnly(locked);
    const std::string to = makeFolder("to");
    ASSERT_TRUE(files.Move(folder / "from", to));
    EXPECT_EQ(ReadFile(folder / "to/from/a.txt"), "a");
    EXPECT_EQ(ReadFile(folder / "to/from/sub/b.txt"), "b");
    EXPECT_FALSE(exists("from"));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(files.askReadOnly());

    const std::string single = make("one.txt", "1");
    ASSERT_TRUE(files.Move(single, to));
    EXPECT_EQ(ReadFile(folder / "to/one.txt"), "1");
    EXPECT_FALSE(fs::exists(single));
}

TEST_F(FileOperationTest, MoveNeverLosesTheSource) {
    make("site/a.txt", "a");
    make("site/sub/b.txt", "b");
    // Into its own parent: nothing to do.
    EXPECT_TRUE(files.Move(folder / "site", folder.path()));
    EXPECT_TRUE(exists("site/a.txt"));
    // Into its own subtree: refused.
    EXPECT_FALSE(files.Move(folder / "site", folder / "site/sub"));
    EXPECT_EQ(files.lastErrorText(), "Wrong operation");
    EXPECT_TRUE(exists("site/sub/b.txt"));
    // A failed copy keeps the source.
    EXPECT_FALSE(files.Move(folder / "site", folder / "missing"));
    EXPECT_TRUE(exists("site/a.txt"));
}
