#include "site/picture_copies.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "common/hex_text.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "page/page_names.h"

namespace fs = std::filesystem;

namespace {

// The record's file name for a site folder: FNV-1a of its path, stable from run to run.
std::string RecordName(const std::string& siteFolder) {
    unsigned long long hash = 1469598103934665603ULL;
    for (const unsigned char c : siteFolder) {
        hash = (hash ^ c) * 1099511628211ULL;
    }
    std::string name;
    for (int shift = 56; shift >= 0; shift -= 8) {
        AppendHexByte(name, static_cast<unsigned char>(hash >> shift));
    }
    return name + ".txt";
}

// Whether two files hold the same bytes; their sizes are compared before anything is read.
bool SameBytes(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto size = fs::file_size(a, error);
    if (error || fs::file_size(b, error) != size || error) {
        return false;
    }
    return ReadTextFile(a) == ReadTextFile(b);
}

}  // namespace

SiteCopies::SiteCopies(const std::string& workingFolder, std::string siteFolder)
    : siteFolder_(std::move(siteFolder)),
      recordPath_(JoinPath(JoinPath(workingFolder, "copies"), RecordName(siteFolder_))) {
    // "name|picture" a line; the first line names the site folder.
    const std::vector<std::string> lines =
        ReadTextLines(recordPath_).value_or(std::vector<std::string>());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t bar = lines[i].find('|');
        if (bar != std::string::npos) {
            made_[lines[i].substr(0, bar)] = lines[i].substr(bar + 1);
        }
    }
}

bool SiteCopies::isCopyOf(const std::string& candidate, const std::string& picture) {
    const auto made = made_.find(FileNameOf(candidate));
    if (made != made_.end() && made->second == picture) {
        return true;
    }
    return SameBytes(candidate, picture);
}

const std::string& SiteCopies::nameOf(const std::string& picture, Naming naming) {
    const auto known = names_.find(picture);
    if (known != names_.end()) {
        return known->second;
    }
    // The names pages always had: problem characters replaced only where a name holds one.
    const std::string name = FileNameOf(picture);
    const std::string lower = WithLowerCaseExtensions(name);
    const std::string wanted =
        JoinPath(siteFolder_, naming == Naming::Kept       ? name
                              : HasProblemCharacters(name) ? CleanPageName(lower)
                                                           : lower);
    const std::string chosen = NumberedVariant(wanted, [&](const std::string& candidate) {
        std::error_code error;
        return !fs::exists(candidate, error) || fs::equivalent(candidate, picture, error) ||
               isCopyOf(candidate, picture);
    });
    return names_[picture] = FileNameOf(chosen);
}

bool SiteCopies::copy(const std::string& picture, Naming naming) {
    if (copied_.count(picture) != 0) {
        return true;
    }
    const std::string& name = nameOf(picture, naming);
    const std::string target = JoinPath(siteFolder_, name);
    std::error_code error;
    // The name is free, holds these bytes, or holds an older copy of this picture.
    if (!fs::equivalent(target, picture, error) && !SameBytes(target, picture)) {
        const std::optional<std::string> bytes = ReadTextFile(picture);
        if (!bytes || !WriteTextFile(target, *bytes)) {
            return false;
        }
    }
    copied_.insert(picture);
    if (made_[name] != picture) {
        made_[name] = picture;
        writeRecord();
    }
    return true;
}

bool SiteCopies::placeAs(const std::string& name, const std::string& picture) {
    const std::string target = JoinPath(siteFolder_, name);
    if (!SameBytes(target, picture)) {
        const std::optional<std::string> bytes = ReadTextFile(picture);
        if (!bytes || !WriteTextFile(target, *bytes)) {
            return false;
        }
    }
    made_[name] = picture;
    writeRecord();
    return true;
}

void SiteCopies::writeRecord() {
    std::string record = siteFolder_ + "\n";
    for (const auto& [copy, source] : made_) {
        record += copy + "|" + source + "\n";
    }
    std::error_code error;
    fs::create_directories(fs::path(recordPath_).parent_path(), error);
    WriteTextFile(recordPath_, record);
}

std::vector<std::string> SiteCopies::removeUnreferenced(const std::vector<std::string>& texts) {
    std::vector<std::string> removed;
    for (auto made = made_.begin(); made != made_.end();) {
        const std::string& name = made->first;
        // Every way a page may write the name: as it is, in either quote, percent-encoded.
        const std::string forms[] = {name, HtmlAttribute(name, '"'), HtmlAttribute(name, '\''),
                                     PercentEncoded(name)};
        const bool referred = std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
            return std::any_of(std::begin(forms), std::end(forms), [&](const std::string& form) {
                return text.find(form) != std::string::npos;
            });
        });
        const std::string path = JoinPath(siteFolder_, name);
        std::error_code error;
        if (referred || copied_.count(made->second) != 0 || !SameBytes(path, made->second) ||
            !fs::remove(path, error)) {
            ++made;
            continue;
        }
        removed.push_back(name);
        names_.erase(made->second);
        made = made_.erase(made);
    }
    if (!removed.empty()) {
        writeRecord();
    }
    return removed;
}

std::string WithLowerCaseExtensions(std::string path) {
    for (const char* extension : {".jpg", ".gif", ".bmp", ".png"}) {
        const std::string wanted = extension;
        for (std::size_t at = 0; at + wanted.size() <= path.size(); ++at) {
            if (EqualIgnoringCase(std::string_view(path).substr(at, wanted.size()), wanted)) {
                path.replace(at, wanted.size(), wanted);
            }
        }
    }
    return path;
}
