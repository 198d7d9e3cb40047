#include "site/site_archive.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "files/content_hash.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "platform/console_prompts.h"
#include "site/picture_copies.h"
#include "site/site_archive_format.h"
#include "site/site_fonts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".qsite";

// The picture files of the page's picture list.
std::vector<std::string> PicturePaths(const PageRecord& page) {
    std::vector<std::string> paths;
    for (const std::string& entry : page.pictures) {
        const std::size_t tilde = entry.find('~');
        if (entry != kDeletedPicture && tilde != std::string::npos && tilde + 1 < entry.size()) {
            paths.push_back(entry.substr(tilde + 1));
        }
    }
    return paths;
}

// Whether the page shows the working folder's background of that name: as its own or its
// container's, or behind a section.
bool UsesBackground(const PageRecord& page, const std::string& name) {
    if (page.backImage == name || page.pageImage == name ||
        Contains(page.stylesData, "backgrounds/" + name)) {
        return true;
    }
    for (const std::string& properties : page.textProperties) {
        if (Contains(properties, "backgrounds/" + name)) {
            return true;
        }
    }
    return false;
}

void SetInfo(SqliteDatabase& db, const std::string& name, const std::string& value) {
    SqliteStatement row = db.prepare("insert into siteexport (NAME,VALUE) VALUES(?1,?2)");
    row.bindText(1, name);
    row.bindText(2, value);
    row.runStatement();
}

void AddFile(SqliteDatabase& db, const char* kind, const std::string& original,
             const std::string& name, const std::string& bytes) {
    SqliteStatement row =
        db.prepare("insert into sitefiles (KIND,ORIGINAL,NAME,HASH,DATA) VALUES(?1,?2,?3,?4,?5)");
    row.bindText(1, kind);
    row.bindText(2, original);
    row.bindText(3, name);
    row.bindText(4, ContentHashOfText(bytes));
    row.bindBlob(5, bytes.data(), bytes.size());
    row.runStatement();
}

}  // namespace

std::size_t PagesHeld(PageStore& store, const std::string& siteFolder) {
    const std::vector<std::string> names = store.pageNames(siteFolder);
    return static_cast<std::size_t>(
        std::count_if(names.begin(), names.end(),
                      [](const std::string& name) { return name != kQuickstartPage; }));
}

std::string SiteArchiveName(const std::string& siteFolder) {
    const std::string name = FileNameOf(WithoutTrailingSeparator(siteFolder));
    return (name.empty() ? std::string("site") : name) + kExtension;
}

namespace {

// The folder's shared record (when it has one) and its pages' designs, each as the folder keeps
// it; nothing, with the page that could not be read, when one cannot.
std::optional<std::vector<PageRecord>> StoredDesigns(PageStore& store, const std::string& folder,
                                                     const std::vector<std::string>& names,
                                                     std::string& unread) {
    std::vector<PageRecord> pages;
    PageRecord shared;
    if (store.loadPage(shared, folder, kSiteItemsFile)) {
        AsStored(shared, folder, kSiteItemsFile);
        pages.push_back(shared);
    }
    for (const std::string& name : names) {
        PageRecord page;
        if (!store.loadPage(page, folder, name)) {
            unread = name;
            return std::nullopt;
        }
        AsStored(page, folder, name);
        pages.push_back(page);
    }
    return pages;
}

// The designs and the folder's options into the file's page store.
void WriteDesigns(SqliteDatabase& out, const std::vector<PageRecord>& pages,
                  const std::string& folder, const SiteOptions& options) {
    std::ostringstream told;
    ConsolePrompts quiet(told);
    PageStore copy(out, quiet);
    copy.keepVersions(false);
    for (const PageRecord& page : pages) {
        if (!copy.savePage(page)) {
            throw SqliteException(
                1, "the design of " + page.fileName + " could not be written: " + told.str());
        }
    }
    copy.siteOptions().save(folder, options);
}

// Every picture the designs use, with the backgrounds they show and the names the folder's
// copies of them carry; the pictures not found are named in `missing`.
void AddFiles(SqliteDatabase& out, const std::vector<PageRecord>& pages,
              const std::string& workingFolder, const std::string& siteFolder,
              std::vector<std::string>& missing) {
    std::set<std::string> pictures;
    for (const PageRecord& page : pages) {
        for (const std::string& path : PicturePaths(page)) {
            pictures.insert(path);
        }
    }
    std::set<std::string> exported;
    for (const std::string& path : pictures) {
        if (const std::optional<std::string> bytes = ReadTextFile(path)) {
            AddFile(out, kSiteFilePicture, path, FileNameOf(path), *bytes);
            exported.insert(path);
        } else {
            missing.push_back(path);
        }
    }
    std::error_code error;
    const std::string backgrounds = JoinPath(workingFolder, "backgrounds");
    for (const auto& entry : fs::directory_iterator(backgrounds, error)) {
        const std::string name = entry.path().filename().string();
        const bool used = std::any_of(pages.begin(), pages.end(), [&](const PageRecord& page) {
            return UsesBackground(page, name);
        });
        if (used && entry.is_regular_file(error)) {
            if (const std::optional<std::string> bytes = ReadTextFile(entry.path().string())) {
                AddFile(out, kSiteFileBackground, entry.path().string(), name, *bytes);
            }
        }
    }
    FaceCharacters faces;
    for (const PageRecord& page : pages) {
        AddPageFaces(page, faces);
    }
    std::set<std::string> fonts;
    const std::string ownFonts = JoinPath(workingFolder, kOwnFontsFolder) + kPathSeparator;
    for (const auto& [face, characters] : faces) {
        const std::optional<MatchedFont> matched = MatchFont(face, workingFolder);
        if (matched && StartsWith(matched->path, ownFonts) && fonts.insert(matched->path).second) {
            if (const std::optional<std::string> bytes = ReadTextFile(matched->path)) {
                AddFile(out, kSiteFileFont, matched->path, FileNameOf(matched->path), *bytes);
            }
        }
    }
    const SiteCopies copies(workingFolder, siteFolder);
    for (const auto& [name, picture] : copies.made()) {
        if (exported.count(picture) != 0) {
            SqliteStatement row =
                out.prepare("insert into sitecopies (COPY,ORIGINAL) VALUES(?1,?2)");
            row.bindText(1, name);
            row.bindText(2, picture);
            row.runStatement();
        }
    }
}

}  // namespace

SiteArchiveResult ExportSite(PageStore& store, const std::string& workingFolder,
                             const std::string& siteFolder, const std::string& file) {
    SiteArchiveResult result;
    std::vector<std::string> names;
    for (const std::string& name : store.pageNames(siteFolder)) {
        if (name != kQuickstartPage) {
            names.push_back(name);
        }
    }
    if (names.empty()) {
        result.message = siteFolder + " has no stored pages to export.";
        return result;
    }
    std::string unread;
    const std::optional<std::vector<PageRecord>> pages =
        StoredDesigns(store, siteFolder, names, unread);
    if (!pages) {
        result.message = "The design of " + unread + " could not be read; nothing was exported.";
        return result;
    }
    const std::string part = file + ".part";
    std::error_code error;
    fs::remove(part, error);
    std::vector<std::string> missing;
    try {
        SqliteDatabase out;
        out.open(part);
        out.runStatement("PRAGMA application_id = " + std::to_string(kSiteFileApplicationId));
        out.runStatement("PRAGMA user_version = " + std::to_string(kSiteFileVersion));
        CreatePageStore(out);
        out.runStatement(kSiteFileTables);
        WriteDesigns(out, *pages, siteFolder, store.siteOptions().load(siteFolder));
        SqliteTransaction files(out);
        AddFiles(out, *pages, workingFolder, siteFolder, missing);
        SetInfo(out, "FORMAT", kSiteFileFormat);
        SetInfo(out, "VERSION", std::to_string(kSiteFileVersion));
        SetInfo(out, "FOLDER", siteFolder);
        SetInfo(out, "PAGES", std::to_string(names.size()));
        result.files = static_cast<std::size_t>(out.runScalar("select count(*) from sitefiles"));
        files.commit();
        out.close();
    } catch (const SqliteException& failure) {
        fs::remove(part, error);
        result.message = "The site could not be exported: " + failure.message();
        return result;
    }
    fs::rename(part, file, error);
    if (error) {
        fs::remove(part, error);
        result.message = "The site could not be written to " + file + ".";
        return result;
    }
    result.done = true;
    result.pages = names.size();
    result.message = Counted(names.size(), "page", "pages") + " of " + siteFolder + " and " +
                     Counted(result.files, "picture", "pictures") + " exported to " + file + ".";
    for (const std::string& path : missing) {
        result.message += "\nNot found, so not exported: " + path;
    }
    return result;
}
