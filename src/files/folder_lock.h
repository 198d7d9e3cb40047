#pragma once

#include <optional>
#include <ostream>
#include <string>

// One program writes a working folder at a time: two designers on one folder hand each other's
// shared items back as they were and lose work. The lock is an advisory lock (flock) on a file
// in the folder, so a program that ended without a word (killed, crashed) leaves none behind:
// its file is there but unlocked, and is taken over.
class FolderLock {
  public:
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&&) = delete;
    ~FolderLock();

    // The folder's lock for this program; nothing when another program holds it, with that
    // program's process id when it is known, or when the lock file cannot be made, with why.
    struct Refusal {
        long holder = 0;
        std::string unwritable;
    };
    static std::optional<FolderLock> Take(const std::string& folder, Refusal* refusal = nullptr);

  private:
    explicit FolderLock(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
};

// The working folder's lock for a command line program; nothing, with the reason told, when it
// cannot be had.
std::optional<FolderLock> LockForWriting(const std::string& workingFolder, std::ostream& err);

// Why the folder's lock could not be taken, in words for the user: "held by Quillora (process
// 123)", or "the folder cannot be written (Read-only file system)".
std::string LockRefusalReason(const FolderLock::Refusal& refusal);
