#include "files/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>

#include "common/paths.h"

namespace {

constexpr const char* kLockFile = ".quillora.lock";

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

FolderLock::~FolderLock() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

std::optional<FolderLock> FolderLock::Take(const std::string& folder, Refusal* refusal) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = JoinPath(folder, kLockFile);
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        if (refusal != nullptr) {
            refusal->unwritable = std::strerror(errno);
        }
        return std::nullopt;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (refusal != nullptr) {
            char text[32] = {};
            const ssize_t length = pread(descriptor, text, sizeof text - 1, 0);
            refusal->holder = length > 0 ? std::strtol(text, nullptr, 10) : 0;
        }
        close(descriptor);
        return std::nullopt;
    }
    // The holder's process id, for the message the next program shows; the lock holds
    // without it.
    const std::string pid = std::to_string(getpid()) + "\n";
    [[maybe_unused]] const bool told =
        ftruncate(descriptor, 0) == 0 &&
        pwrite(descriptor, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
    return FolderLock(descriptor);
}

std::string LockRefusalReason(const FolderLock::Refusal& refusal) {
    if (!refusal.unwritable.empty()) {
        return "the folder cannot be written (" + refusal.unwritable + ")";
    }
    return "held by another Quillora" + (refusal.holder > 0
                                             ? " (process " + std::to_string(refusal.holder) + ")"
                                             : std::string());
}

std::optional<FolderLock> LockForWriting(const std::string& workingFolder, std::ostream& err) {
    FolderLock::Refusal refusal;
    std::optional<FolderLock> lock = FolderLock::Take(workingFolder, &refusal);
    if (!lock) {
        err << "the working folder " << workingFolder
            << " cannot be written now: " << LockRefusalReason(refusal)
            << (refusal.unwritable.empty() ? "; close Quillora there first" : "") << "\n";
    }
    return lock;
}
