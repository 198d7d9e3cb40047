#include "site/upload_files.h"

#include <algorithm>
#include <filesystem>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "files/folder_listing.h"
#include "files/sent_record.h"
#include "page/site_languages.h"
#include "site/site_files.h"
#include "site/site_fonts.h"

namespace {

void AddOnce(std::vector<std::string>& files, const std::string& file) {
    if (std::find(files.begin(), files.end(), file) == files.end()) {
        files.push_back(file);
    }
}

}  // namespace

std::vector<std::string> PictureReferenceForms(const std::string& picture) {
    std::vector<std::string> forms{HtmlAttribute(picture, '"')};
    const std::string encoded = PercentEncoded(picture);
    if (encoded != forms.front()) {
        forms.push_back(encoded);
    }
    return forms;
}

std::vector<std::string> UsedPictures(const std::string& pictures, const std::string& page) {
    std::vector<std::string> used;
    if (pictures.empty()) {
        return used;
    }
    for (const std::string& name : SplitFields(pictures, "|")) {
        const std::vector<std::string> forms = PictureReferenceForms(name);
        if (std::any_of(forms.begin(), forms.end(), [&](const std::string& form) {
                return page.find(form) != std::string::npos;
            })) {
            AddOnce(used, name);
        }
    }
    return used;
}

std::vector<std::string> FilesToSend(const std::string& siteFolder,
                                     const std::vector<std::string>& pageFiles,
                                     const std::vector<std::string>& languages) {
    std::vector<std::string> files;
    for (const std::string& page : pageFiles) {
        AddOnce(files, page);
    }
    std::error_code error;
    for (std::size_t i = 1; i < languages.size(); ++i) {
        for (const std::string& page : pageFiles) {
            const std::string version = languages[i] + "/" + page;
            if (std::filesystem::is_regular_file(JoinPath(siteFolder, version), error)) {
                AddOnce(files, version);
            }
        }
    }
    const std::string pictures = ListPictures(JoinPath(siteFolder, "*.*"));
    std::vector<std::string> fonts;
    for (const auto& entry : std::filesystem::directory_iterator(siteFolder, error)) {
        if (IsTravellingFontName(entry.path().filename().string())) {
            fonts.push_back(entry.path().filename().string());
        }
    }
    std::sort(fonts.begin(), fonts.end());
    for (const std::string& page : pageFiles) {
        const std::string text = ReadTextFile(JoinPath(siteFolder, page)).value_or(std::string());
        for (const std::string& picture : UsedPictures(pictures, text)) {
            AddOnce(files, picture);
        }
        for (const std::string& font : fonts) {
            if (text.find("'" + font + "'") != std::string::npos) {
                AddOnce(files, font);
            }
        }
    }
    for (const char* siteFile : {kSitemapFile, kRobotsFile}) {
        if (std::filesystem::is_regular_file(JoinPath(siteFolder, siteFile), error)) {
            AddOnce(files, siteFile);
        }
    }
    return files;
}

std::vector<std::string> PagesToRemove(
    const std::vector<std::pair<std::string, long long>>& deleted, const SentRecord& record) {
    std::vector<std::string> names;
    // Only what this program sent there and has not removed since: a file of that name that
    // someone else put there (or put back) is theirs.
    for (const auto& [name, when] : deleted) {
        if (record.sentHash(name)) {
            names.push_back(name);
        }
    }
    // Its versions in the languages' folders ("fr/about.html") leave with it.
    for (const std::string& sent : record.names()) {
        const std::size_t slash = sent.find('/');
        if (slash == std::string::npos || !IsLanguageTag(sent.substr(0, slash))) {
            continue;
        }
        const std::string page = sent.substr(slash + 1);
        if (std::any_of(deleted.begin(), deleted.end(),
                        [&](const auto& entry) { return entry.first == page; })) {
            names.push_back(sent);
        }
    }
    return names;
}

std::string RemovalNotice(const std::string& page) {
    return page +
           " is no longer a page of the site (deleted or renamed), so it is removed from "
           "the server.";
}
