#include "files/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_case.h"

namespace fs = std::filesystem;

namespace {

struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") {
        return true;
    }
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<FolderEntry> ReadFolder(const std::string& pattern) {
    std::string folder = ParentFolderOf(pattern);
    if (folder.empty()) {
        // "/*.*" lists the root; a bare "*.*" the current folder.
        folder = !pattern.empty() && IsPathSeparator(pattern[0]) ? std::string(1, kPathSeparator)
                                                                 : std::string(".");
    }
    const std::string filePattern = FileNameOf(pattern);
    std::vector<FolderEntry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (WildcardMatch(filePattern, name)) {
            std::error_code typeError;
            entries.push_back({std::move(name), it->is_directory(typeError)});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return AlphabeticallyBefore(a.name, b.name);
    });
    return entries;
}

std::string WithoutLastBar(std::string listing) {
    if (!listing.empty()) {
        listing.pop_back();
    }
    return listing;
}

}  // namespace

std::string ListFolder(const std::string& pattern) {
    std::string listing;
    for (const FolderEntry& entry : ReadFolder(pattern)) {
        listing += entry.name;
        if (entry.isFolder) {
            listing += kFolderSuffix;
        }
        listing += '|';
    }
    return WithoutLastBar(std::move(listing));
}

std::string ListPictures(const std::string& pattern) {
    // PNG joins the three older types: the designer places PNG pictures too.
    static constexpr std::string_view kPictureMarks[] = {".bmp", ".jpg", ".jpeg",
                                                         ".gif", ".png", ".webp"};
    std::string listing;
    for (const FolderEntry& entry : ReadFolder(pattern)) {
        if (entry.isFolder) {
            continue;
        }
        const std::string lowered = LowerCase(entry.name);
        for (const std::string_view mark : kPictureMarks) {
            if (lowered.find(mark) != std::string::npos) {
                listing += entry.name;
                listing += '|';
            }
        }
    }
    return WithoutLastBar(std::move(listing));
}

std::vector<std::string> LocalListEntries(const std::string& folder) {
    const std::string listing = ListFolder(JoinPath(folder, "*.*"));
    // An empty folder lists nothing, not one blank line.
    return listing.empty() ? std::vector<std::string>() : SplitFields(listing, "|");
}
