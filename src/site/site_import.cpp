#include <algorithm>
#include <filesystem>
#include <map>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "files/font_match.h"
#include "page/site_items.h"
#include "site/picture_copies.h"
#include "site/published_page.h"
#include "site/site_archive.h"
#include "site/site_archive_format.h"
#include "site/stored_pages.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"

namespace fs = std::filesystem;

namespace {

// Pictures brought from elsewhere live here, a folder per content.
constexpr const char* kImportedFolder = "imported";
constexpr std::size_t kHashFolderLength = 16;

// The picture list pointed at the pictures' new places; a picture the file did not hold is
// left out with its link, description and place, and its name added to `left`.
void MovePictures(PageRecord& page, const std::map<std::string, std::string>& moved,
                  std::vector<std::string>& left) {
    page.links.resize(std::max(page.links.size(), page.pictures.size()));
    std::vector<std::string> records = SplitFields(page.stylesData, "|");
    for (std::size_t i = page.pictures.size(); i-- > 0;) {
        std::string& entry = page.pictures[i];
        const std::size_t tilde = entry.find('~');
        if (tilde == std::string::npos) {
            continue;
        }
        const std::string name = entry.substr(0, tilde + 1);
        const auto found = moved.find(entry.substr(tilde + 1));
        if (found != moved.end()) {
            entry = name + found->second;
            continue;
        }
        left.push_back(FileNameOf(entry.substr(tilde + 1)) + " (" + page.fileName + ")");
        page.pictures.erase(page.pictures.begin() + static_cast<std::ptrdiff_t>(i));
        page.links.erase(page.links.begin() + static_cast<std::ptrdiff_t>(i));
        page.pictureDescriptions.erase(name);
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [&](const std::string& record) {
                                         return RecordIdIn(record) == "d" + name;
                                     }),
                      records.end());
    }
    page.stylesData = JoinFields(records, "|");
}

}  // namespace

bool SiteArchive::bringFiles(const std::string& workingFolder,
                             std::map<std::string, std::string>& moved,
                             std::vector<std::string>& kept, SiteArchiveResult& result) const {
    std::error_code error;
    for (const File& file : files_) {
        const bool picture = file.kind == kSiteFilePicture;
        // A picture's folder is named by the content read here, whatever the file claimed.
        const std::string folder = picture ? JoinPath(JoinPath(workingFolder, kImportedFolder),
                                                      file.hash.substr(0, kHashFolderLength))
                                   : file.kind == kSiteFileFont
                                       ? JoinPath(workingFolder, kOwnFontsFolder)
                                       : JoinPath(workingFolder, "backgrounds");
        const std::string target = JoinPath(folder, file.name);
        const std::optional<std::string> there = ReadTextFile(target);
        if (!there) {
            fs::create_directories(folder, error);
            if (!WriteTextFile(target, file.bytes)) {
                result.message = "The picture " + target + " could not be written.";
                return false;
            }
        } else if (*there != file.bytes) {
            // Only a background or a font can differ: a picture's folder is named by its
            // content.
            kept.push_back(file.name);
        }
        ++result.files;
        if (picture) {
            moved[file.original] = target;
        }
    }
    return true;
}

std::optional<PageRecord> SiteArchive::takeDesign(const std::string& workingFolder,
                                                  std::string& refusal) const {
    if (designs_.size() != 1) {
        refusal = "The file holds " + std::to_string(designs_.size()) +
                  " designs where one was expected.";
        return std::nullopt;
    }
    std::map<std::string, std::string> moved;
    std::vector<std::string> kept;
    std::vector<std::string> left;
    SiteArchiveResult brought;
    if (!bringFiles(workingFolder, moved, kept, brought)) {
        refusal = brought.message;
        return std::nullopt;
    }
    PageRecord design = designs_.front();
    MovePictures(design, moved, left);
    return design;
}

SiteArchiveResult SiteArchive::importInto(PageStore& store, Prompts& prompts,
                                          const std::string& workingFolder,
                                          const std::string& siteFolder) {
    SiteArchiveResult result;
    std::map<std::string, std::string> moved;
    std::vector<std::string> kept;
    std::vector<std::string> left;
    std::error_code error;
    if (!bringFiles(workingFolder, moved, kept, result)) {
        return result;
    }
    try {
        if (shared_) {
            PageRecord shared = *shared_;
            MovePictures(shared, moved, left);
            AsStored(shared, siteFolder, kSiteItemsFile);
            store.savePage(shared);
        }
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            PageRecord page = designs_[i];
            MovePictures(page, moved, left);
            AsStored(page, siteFolder, pages_[i]);
            if (store.savePage(page)) {
                ++result.pages;
            }
        }
        store.siteOptions().save(siteFolder, options_);
    } catch (const SqliteException& failure) {
        result.message = "The site could not be imported whole: " + failure.message();
        return result;
    }
    fs::create_directories(siteFolder, error);
    SiteCopies copies(workingFolder, siteFolder);
    for (const auto& [copy, original] : copies_) {
        const auto found = moved.find(original);
        if (found != moved.end()) {
            copies.placeAs(copy, found->second);
        }
    }
    PagePublisher publisher(workingFolder, prompts);
    publisher.setUpFor(store, siteFolder);
    const StoredPagesWritten written = WriteStoredPages(store, publisher, siteFolder);
    result.done = result.pages == pages_.size() && written.failed.empty();
    result.message = Counted(result.pages, "page", "pages") + " and " +
                     Counted(result.files, "picture", "pictures") + " imported into " + siteFolder +
                     "; " + Counted(written.written, "page", "pages") + " written.";
    for (const std::string& name : written.failed) {
        result.message += "\nNot written: " + name;
    }
    for (const std::string& name : kept) {
        result.message += "\nbackgrounds/" + name +
                          " is another picture in this working folder; it was kept, so pages "
                          "showing it look as they do here.";
    }
    for (const std::string& name : left) {
        result.message += "\nNot in the file, so left out: " + name;
    }
    return result;
}
