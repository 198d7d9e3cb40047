#include "files/file_operation.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "common/number_text.h"
#include "common/paths.h"
#include "platform/prompts.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNotFound = FileOperation::kNotFound;
constexpr int kFile = FileOperation::kFile;
constexpr int kFolder = FileOperation::kFolder;

bool IsReadOnly(const fs::file_status& status) {
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool ClearReadOnly(const std::string& path) {
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
    return !error;
}

std::size_t SeparatorCount(const std::string& path) {
    return static_cast<std::size_t>(std::count_if(path.begin(), path.end(), IsPathSeparator));
}

// Folder entries in a fixed order, read before anything is changed so that a copy into the
// folder being read does not walk into itself.
std::vector<fs::path> FolderEntries(const std::string& folder, std::error_code& error) {
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        entries.push_back(it->path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// A folder copied or moved into the folder that already holds it.
bool SitsDirectlyIn(const std::string& source, const std::string& target) {
    return PathsEqual(ParentFolderOf(WithoutTrailingSeparator(source)),
                      WithoutTrailingSeparator(target));
}

bool IsInside(const std::string& path, const std::string& folder) {
    const std::string withSeparator = JoinPath(WithoutTrailingSeparator(folder), "");
    return PathsEqual(WithoutTrailingSeparator(path), WithoutTrailingSeparator(folder)) ||
           (path.size() > withSeparator.size() &&
            PathsEqual(std::string_view(path).substr(0, withSeparator.size()), withSeparator));
}

}  // namespace

FileOperation::FileOperation(Prompts& prompts) : prompts_(prompts) {}

bool FileOperation::fail(std::string text, int code) {
    lastErrorText_ = std::move(text);
    lastErrorCode_ = code;
    return false;
}

bool FileOperation::failWithSystemError(const std::error_code& error) {
    return fail(error.message(), error.value());
}

int FileOperation::CheckPath(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return kNotFound;
    }
    if (error) {
        return -1;
    }
    return status.type() == fs::file_type::directory ? kFolder : kFile;
}

bool FileOperation::Exists(const std::string& path) const {
    if (CheckPath(path) != kFile) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    return file.is_open();
}

std::string FileOperation::MakeCopyName(const std::string& path) const {
    const PathParts parts = SplitPath(path);
    const std::string& name = parts.name;
    std::string newName;
    if (name.find("Copy ") == std::string::npos) {
        newName = "Copy of " + name + parts.extension;
    } else if (name.find('(') == std::string::npos) {
        newName = "Copy (1) of " + (name.size() > 8 ? name.substr(8) : "") + parts.extension;
    } else if (name.find(')') == std::string::npos) {
        newName = "Copy of " + name + parts.extension;
    } else {
        const long long number = LeadingInt(name.substr(name.find('(') + 1));
        const std::size_t restAt = name.find(')') + 5;
        const std::string rest = restAt < name.size() ? name.substr(restAt) : "";
        newName = "Copy (" + std::to_string(number + 1) + ") of " + rest + parts.extension;
    }
    return parts.drive + parts.folder + newName;
}

bool FileOperation::Copy(const std::string& source, const std::string& target) {
    aborted_ = false;
    const bool copied = copyPath(source, target, false);
    depthLimit_ = -1;
    return copied;
}

bool FileOperation::Move(const std::string& source, const std::string& target) {
    aborted_ = false;
    if (CheckPath(source) == kFolder) {
        // Moving a folder where it already is would end by deleting it; moving it into its
        // own subtree would delete the copy with the source.
        if (SitsDirectlyIn(source, target)) {
            return true;
        }
        if (IsInside(target, source)) {
            return fail("Wrong operation", EINVAL);
        }
    }
    const bool ask = askReadOnly_;
    askReadOnly_ = false;
    bool moved = copyPath(source, target, true);
    depthLimit_ = -1;
    // The source is deleted only once everything is safely copied.
    if (moved && CheckPath(source) != kNotFound) {
        moved = deletePath(source);
    }
    askReadOnly_ = ask;
    return moved;
}

bool FileOperation::Rename(const std::string& oldPath, const std::string& newPath) {
    aborted_ = false;
    // Renaming never replaces an existing file.
    if (CheckPath(newPath) != kNotFound) {
        return failWithSystemError(std::make_error_code(std::errc::file_exists));
    }
    std::error_code error;
    fs::rename(oldPath, newPath, error);
    return error ? failWithSystemError(error) : true;
}

bool FileOperation::Delete(const std::string& path) {
    aborted_ = false;
    return deletePath(path);
}

bool FileOperation::copyPath(const std::string& source, const std::string& target,
                             bool deleteAfterwards) {
    const int sourceKind = CheckPath(source);
    const int targetKind = CheckPath(target);
    if (sourceKind == kFolder && SitsDirectlyIn(source, target)) {
        return true;
    }
    if (IsInside(target, source)) {
        depthLimit_ = static_cast<int>(SeparatorCount(WithoutTrailingSeparator(target))) -
                      static_cast<int>(SeparatorCount(WithoutTrailingSeparator(source)));
    }
    if (sourceKind <= kNotFound) {
        return fail(source + " not found", ENOENT);
    }
    if (targetKind <= kNotFound) {
        return fail(target + " not found", ENOENT);
    }
    if (sourceKind == kFolder && targetKind == kFile) {
        return fail("Wrong operation", EINVAL);
    }
    if (sourceKind == kFile) {
        return copyFile(source,
                        targetKind == kFolder ? JoinPath(target, FileNameOf(source)) : target,
                        deleteAfterwards);
    }
    const std::string copyFolder = JoinPath(target, FileNameOf(WithoutTrailingSeparator(source)));
    std::error_code error;
    fs::create_directory(copyFolder, error);
    if (error) {
        return failWithSystemError(error);
    }
    return copyFolderContents(source, copyFolder, deleteAfterwards);
}

bool FileOperation::copyFolderContents(const std::string& source, const std::string& target,
                                       bool deleteAfterwards) {
    std::error_code error;
    const std::vector<fs::path> entries = FolderEntries(source, error);
    if (error) {
        return failWithSystemError(error);
    }
    for (const fs::path& entry : entries) {
        const std::string from = entry.string();
        const std::string to = JoinPath(target, entry.filename().string());
        if (CheckPath(from) != kFolder) {
            if (!copyFile(from, to, deleteAfterwards)) {
                return false;
            }
            continue;
        }
        if (depthLimit_ == 0) {
            continue;
        }
        fs::create_directory(to, error);
        if (error) {
            return failWithSystemError(error);
        }
        const int limit = depthLimit_;
        if (depthLimit_ > 0) {
            --depthLimit_;
        }
        const bool copied = copyFolderContents(from, to, deleteAfterwards);
        depthLimit_ = limit;
        if (!copied) {
            return false;
        }
    }
    return true;
}

bool FileOperation::copyFile(const std::string& source, std::string target, bool deleteAfterwards) {
    std::error_code error;
    if (!overwrite_) {
        while (Exists(target)) {
            target = MakeCopyName(target);
        }
        fs::copy_file(source, target, fs::copy_options::none, error);
    } else {
        // A read-only target is protected even from a user the system lets write anyway.
        const fs::file_status status = fs::status(target, error);
        if (!error && fs::exists(status) && IsReadOnly(status)) {
            return failWithSystemError(std::make_error_code(std::errc::permission_denied));
        }
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    }
    if (error) {
        return failWithSystemError(error);
    }
    return deleteAfterwards ? deletePath(source) : true;
}

bool FileOperation::deletePath(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::directory) {
        const std::vector<fs::path> entries = FolderEntries(path, error);
        if (error) {
            return failWithSystemError(error);
        }
        for (const fs::path& entry : entries) {
            if (!deletePath(entry.string())) {
                return false;
            }
        }
        fs::remove(path, error);
        return error && !aborted_ ? failWithSystemError(error) : true;
    }
    switch (checkReadOnly(path)) {
        case DeleteAnswer::Cancelled:
            return false;
        case DeleteAnswer::NotAllowed:
            aborted_ = true;
            return true;
        case DeleteAnswer::Allowed:
            break;
    }
    if (!fs::remove(path, error) && !error) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    return error ? failWithSystemError(error) : true;
}

FileOperation::DeleteAnswer FileOperation::checkReadOnly(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::not_found) {
        // Nothing to ask about; the delete itself reports the missing file.
        return DeleteAnswer::Allowed;
    }
    if (error) {
        return DeleteAnswer::NotAllowed;
    }
    if (status.type() == fs::file_type::symlink || !IsReadOnly(status)) {
        return DeleteAnswer::Allowed;
    }
    if (!askReadOnly_) {
        return ClearReadOnly(path) ? DeleteAnswer::Allowed : DeleteAnswer::NotAllowed;
    }
    const MessageAnswer answer =
        prompts_.messageBox(FileNameOf(path) + " is read olny. Do you want delete it?", "Warning",
                            MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Yes) {
        return ClearReadOnly(path) ? DeleteAnswer::Allowed : DeleteAnswer::NotAllowed;
    }
    if (answer == MessageAnswer::No) {
        return DeleteAnswer::NotAllowed;
    }
    aborted_ = true;
    fail("Operation cancelled", 0);
    return DeleteAnswer::Cancelled;
}
