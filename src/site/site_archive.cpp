#include "site/site_archive.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "files/content_hash.h"
#include "page/page_record.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "platform/console_prompts.h"
#include "site/picture_copies.h"
#include "site/published_page.h"
#include "site/stored_pages.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

// "QSIT": what tells an exported site from any other SQLite file.
constexpr int kApplicationId = 0x51534954;
constexpr const char* kFormat = "quillora-site";
constexpr int kVersion = 1;
constexpr const char* kExtension = ".qsite";
constexpr const char* kTables =
    "CREATE TABLE siteexport (NAME TEXT PRIMARY KEY, VALUE TEXT);"
    "CREATE TABLE sitefiles (ID INTEGER PRIMARY KEY, KIND TEXT, ORIGINAL TEXT, NAME TEXT, "
    "HASH TEXT, DATA BLOB);"
    "CREATE TABLE sitecopies (COPY TEXT, ORIGINAL TEXT);";
constexpr const char* kPicture = "picture";
constexpr const char* kBackground = "background";
// Pictures brought from elsewhere live here, a folder per content.
constexpr const char* kImportedFolder = "imported";

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

// The picture list pointed at the pictures' new places.
void MovePictures(PageRecord& page, const std::map<std::string, std::string>& moved) {
    for (std::string& entry : page.pictures) {
        const std::size_t tilde = entry.find('~');
        if (tilde == std::string::npos) {
            continue;
        }
        const auto found = moved.find(entry.substr(tilde + 1));
        if (found != moved.end()) {
            entry = entry.substr(0, tilde + 1) + found->second;
        }
    }
}

// The record as the folder keeps it: its own items, under its folder and name.
void AsStored(PageRecord& page, const std::string& folder, const std::string& name) {
    if (name != kSiteItemsFile) {
        SplitSiteItems(page);
    }
    page.siteItemsShown = false;
    page.siteItemsKnown.clear();
    page.sitePages.clear();
    page.directory = folder;
    page.fileName = name;
}

void SetInfo(SqliteDatabase& db, const std::string& name, const std::string& value) {
    SqliteStatement row = db.prepare("insert into siteexport (NAME,VALUE) VALUES(?1,?2)");
    row.bindText(1, name);
    row.bindText(2, value);
    row.runStatement();
}

std::string Info(SqliteDatabase& db, const std::string& name) {
    SqliteStatement row = db.prepare("select VALUE from siteexport where NAME = ?1");
    row.bindText(1, name);
    SqliteCursor value = row.runQuery();
    return value.atEnd() ? std::string() : value.textValue(0);
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

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
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
    const std::string part = file + ".part";
    std::error_code error;
    fs::remove(part, error);
    std::vector<std::string> missing;
    try {
        SqliteDatabase out;
        out.open(part);
        out.runStatement("PRAGMA application_id = " + std::to_string(kApplicationId));
        out.runStatement("PRAGMA user_version = " + std::to_string(kVersion));
        CreatePageStore(out);
        out.runStatement(kTables);
        std::ostringstream told;
        ConsolePrompts quiet(told);
        PageStore copy(out, quiet);
        copy.keepVersions(false);
        std::vector<PageRecord> pages;
        PageRecord shared;
        if (store.loadPage(shared, siteFolder, kSiteItemsFile)) {
            AsStored(shared, siteFolder, kSiteItemsFile);
            pages.push_back(shared);
        }
        for (const std::string& name : names) {
            PageRecord page;
            if (!store.loadPage(page, siteFolder, name)) {
                result.message = "The design of " + name +
                                 " could not be read; nothing was "
                                 "exported.";
                out.close();
                fs::remove(part, error);
                return result;
            }
            AsStored(page, siteFolder, name);
            pages.push_back(page);
        }
        for (const PageRecord& page : pages) {
            if (!copy.savePage(page)) {
                throw SqliteException(
                    1, "the design of " + page.fileName + " could not be written: " + told.str());
            }
        }
        copy.setSiteOptions(siteFolder, store.siteOptions(siteFolder));

        SqliteTransaction files(out);
        std::set<std::string> pictures;
        for (const PageRecord& page : pages) {
            for (const std::string& path : PicturePaths(page)) {
                pictures.insert(path);
            }
        }
        std::set<std::string> exported;
        for (const std::string& path : pictures) {
            if (const std::optional<std::string> bytes = ReadTextFile(path)) {
                AddFile(out, kPicture, path, FileNameOf(path), *bytes);
                exported.insert(path);
            } else {
                missing.push_back(path);
            }
        }
        const std::string backgrounds = JoinPath(workingFolder, "backgrounds");
        for (const auto& entry : fs::directory_iterator(backgrounds, error)) {
            const std::string name = entry.path().filename().string();
            const bool used = std::any_of(pages.begin(), pages.end(), [&](const PageRecord& page) {
                return UsesBackground(page, name);
            });
            if (used && entry.is_regular_file(error)) {
                if (const std::optional<std::string> bytes = ReadTextFile(entry.path().string())) {
                    AddFile(out, kBackground, entry.path().string(), name, *bytes);
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
        SetInfo(out, "FORMAT", kFormat);
        SetInfo(out, "VERSION", std::to_string(kVersion));
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

SiteArchive::SiteArchive() : db_(std::make_unique<SqliteDatabase>()) {}
SiteArchive::~SiteArchive() = default;

bool SiteArchive::open(const std::string& file, std::string& refusal) {
    const std::string foreign = file + " is not a site exported by Quillora.";
    const std::string damaged = file + " is damaged, so nothing was imported: ";
    if (!fs::is_regular_file(file)) {
        refusal = file + " cannot be found.";
        return false;
    }
    // The database header names its application at byte 68, big-endian; read from the file
    // itself, it tells a damaged export from a foreign file whatever else is broken.
    std::string header(100, '\0');
    {
        std::ifstream in(file, std::ios::binary);
        in.read(header.data(), static_cast<std::streamsize>(header.size()));
    }
    const auto byte = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(header[at]));
    };
    const bool ours = header.compare(0, 16, std::string("SQLite format 3\0", 16)) == 0 &&
                      (byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71)) ==
                          static_cast<std::uint32_t>(kApplicationId);
    if (!ours) {
        refusal = foreign;
        return false;
    }
    try {
        db_->openReadOnly(file);
        if (Info(*db_, "FORMAT") != kFormat) {
            refusal = damaged + "it does not say what it holds.";
            return false;
        }
        if (Info(*db_, "VERSION") != std::to_string(kVersion)) {
            refusal = file + " was exported by a later version of Quillora; update to import it.";
            return false;
        }
        SqliteCursor check = db_->runQuery("PRAGMA quick_check");
        if (check.atEnd() || check.textValue(0) != "ok") {
            refusal = damaged + "its database does not hold together.";
            return false;
        }
        folder_ = Info(*db_, "FOLDER");
        std::ostringstream told;
        ConsolePrompts quiet(told);
        PageStore stored(*db_, quiet);
        for (const std::string& name : stored.pageNames(folder_)) {
            PageRecord page;
            if (!stored.loadPage(page, folder_, name)) {
                refusal = damaged + "the design of " + name + " cannot be read.";
                return false;
            }
            pages_.push_back(name);
        }
        if (pages_.empty() || std::to_string(pages_.size()) != Info(*db_, "PAGES")) {
            refusal = damaged + "pages are missing.";
            return false;
        }
        for (SqliteCursor row = db_->runQuery("select NAME,HASH,DATA from sitefiles"); !row.atEnd();
             row.advance()) {
            if (ContentHashOfText(row.blobValue(2)) != row.textValue(1)) {
                refusal = damaged + "the picture " + row.textValue(0) + " is not whole.";
                return false;
            }
        }
    } catch (const SqliteException& failure) {
        refusal = ours ? damaged + failure.message() : foreign;
        return false;
    }
    return true;
}

SiteArchiveResult SiteArchive::importInto(PageStore& store, Prompts& prompts,
                                          const std::string& workingFolder,
                                          const std::string& siteFolder) {
    SiteArchiveResult result;
    std::map<std::string, std::string> moved;
    std::vector<std::string> kept;
    std::error_code error;
    try {
        for (SqliteCursor row = db_->runQuery("select KIND,ORIGINAL,NAME,HASH,DATA from sitefiles");
             !row.atEnd(); row.advance()) {
            const std::string bytes = row.blobValue(4);
            const std::string name = FileNameOf(row.textValue(2));
            const bool picture = row.textValue(0) == kPicture;
            const std::string folder = picture ? JoinPath(JoinPath(workingFolder, kImportedFolder),
                                                          row.textValue(3).substr(0, 16))
                                               : JoinPath(workingFolder, "backgrounds");
            const std::string target = JoinPath(folder, name);
            const std::optional<std::string> there = ReadTextFile(target);
            if (!there) {
                fs::create_directories(folder, error);
                if (!WriteTextFile(target, bytes)) {
                    result.message = "The picture " + target + " could not be written.";
                    return result;
                }
            } else if (*there != bytes) {
                // Only a background can differ: a picture's folder is named by its content.
                kept.push_back(name);
            }
            ++result.files;
            if (picture) {
                moved[row.textValue(1)] = target;
            }
        }
        std::ostringstream told;
        ConsolePrompts quiet(told);
        PageStore archived(*db_, quiet);
        PageRecord shared;
        if (archived.loadPage(shared, folder_, kSiteItemsFile)) {
            MovePictures(shared, moved);
            AsStored(shared, siteFolder, kSiteItemsFile);
            store.savePage(shared);
        }
        for (const std::string& name : pages_) {
            PageRecord page;
            archived.loadPage(page, folder_, name);
            MovePictures(page, moved);
            AsStored(page, siteFolder, name);
            if (store.savePage(page)) {
                ++result.pages;
            }
        }
        store.setSiteOptions(siteFolder, archived.siteOptions(folder_));
        fs::create_directories(siteFolder, error);
        SiteCopies copies(workingFolder, siteFolder);
        for (SqliteCursor row = db_->runQuery("select COPY,ORIGINAL from sitecopies"); !row.atEnd();
             row.advance()) {
            const auto found = moved.find(row.textValue(1));
            if (found != moved.end()) {
                copies.placeAs(FileNameOf(row.textValue(0)), found->second);
            }
        }
    } catch (const SqliteException& failure) {
        result.message = "The site could not be imported whole: " + failure.message();
        return result;
    }
    PagePublisher publisher(workingFolder, prompts);
    publisher.setSiteOptions(store.siteOptions(siteFolder));
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
    return result;
}
