#include "files/folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

// One program a working folder: a second one, in this process or another, is refused with the
// holder's process id; a holder that was killed leaves a lock the next program takes over.
TEST(FolderLock, OneProgramAFolderAndAKilledHolderLeavesNoLock) {
    TempFolder folder;
    {
        std::optional<FolderLock> first = FolderLock::Take(folder.path());
        ASSERT_TRUE(first);
        FolderLock::Refusal refusal;
        EXPECT_FALSE(FolderLock::Take(folder.path(), &refusal));
        EXPECT_EQ(refusal.holder, static_cast<long>(getpid()));
    }
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const std::optional<FolderLock> lock = FolderLock::Take(folder.path());
        const char taken = lock ? 'y' : 'n';
        [[maybe_unused]] const ssize_t told = write(ready[1], &taken, 1);
        pause();
        _exit(0);
    }
    char taken = 0;
    ASSERT_EQ(read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');
    FolderLock::Refusal refusal;
    EXPECT_FALSE(FolderLock::Take(folder.path(), &refusal));
    EXPECT_EQ(refusal.holder, static_cast<long>(holder));
    kill(holder, SIGKILL);
    ASSERT_EQ(waitpid(holder, nullptr, 0), holder);
    EXPECT_TRUE(FolderLock::Take(folder.path()));
    close(ready[0]);
    close(ready[1]);
}
