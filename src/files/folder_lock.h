#pragma once

#include <optional>
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

    // The folder's lock for this program; nothing when another program holds it (or the lock
    // file cannot be made), with that program's process id when it is known.
    struct Refusal {
        long holder = 0;
    };
    static std::optional<FolderLock> Take(const std::string& folder, Refusal* refusal = nullptr);

  private:
    explicit FolderLock(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
};
