#include <chrono>
#include <ctime>

#include "page/design_text.h"
#include "page/site_items.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_store.h"

namespace {

// Pages the user deleted, by folder and file name, so that every upload target still holding
// one learns of it and no stored design brings it back.
constexpr const char* kDeletedTable =
    "CREATE TABLE IF NOT EXISTS deletedpages (DIRECTORY TEXT, FILENAME TEXT, DELETED INTEGER)";
constexpr const char* kHasDeletedTable =
    "select count(*) from sqlite_master where type = 'table' and name = 'deletedpages'";
constexpr const char* kForgetDeletion =
    "delete from deletedpages where DIRECTORY = ?1 AND FILENAME = ?2";

// Deleted pages' designs, with where the menus had them; their versions are kept under the
// folder name kAsideFolder followed by the row's ID, which no real folder can have.
constexpr const char* kDesignsTable =
    "CREATE TABLE IF NOT EXISTS deleteddesigns (ID INTEGER PRIMARY KEY, DIRECTORY TEXT, "
    "FILENAME TEXT, DELETED INTEGER, DESIGN TEXT, MENUS TEXT)";
constexpr const char* kHasDesignsTable =
    "select count(*) from sqlite_master where type = 'table' and name = 'deleteddesigns'";
// Renames of a folder's pages, for the links of versions saved before them.
constexpr const char* kRenamesTable =
    "CREATE TABLE IF NOT EXISTS renamedpages (DIRECTORY TEXT, OLDNAME TEXT, NEWNAME TEXT, "
    "RENAMED INTEGER)";
constexpr const char* kHasRenamesTable =
    "select count(*) from sqlite_master where type = 'table' and name = 'renamedpages'";
constexpr const char* kAsideFolder = "deleted page ";

// Every table holding rows of a page by its ID, the later ones only where the store has them.
constexpr const char* kPageTables[] = {"rtftexts",       "pageimages", "pagetexts",
                                       "textproperties", "pageextras", "phonechoices"};

// The page remembered as deleted then, once; inside the caller's transaction.
void MarkDeleted(SqliteDatabase& db, const std::string& folder, const std::string& fileName,
                 long long when) {
    db.runStatement(kDeletedTable);
    SqliteStatement forget = db.prepare(kForgetDeletion);
    forget.bindText(1, folder);
    forget.bindText(2, fileName);
    forget.runStatement();
    SqliteStatement mark =
        db.prepare("insert into deletedpages (DIRECTORY,FILENAME,DELETED) VALUES(?1,?2,?3)");
    mark.bindText(1, folder);
    mark.bindText(2, fileName);
    mark.bindInt64(3, when);
    mark.runStatement();
}

}  // namespace

bool PageStore::deletePage(const std::string& folder, const std::string& fileName,
                           const std::string& menuPlaces) {
    try {
        SqliteTransaction transaction(db_);
        putAside(folder, fileName, menuPlaces);
        transaction.commit();
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
    siteItems_.clear();
    return true;
}

void PageStore::putAside(const std::string& folder, const std::string& fileName,
                         const std::string& menuPlaces) {
    const std::string id = pageIdOf(folder, fileName);
    PageRecord design;
    const bool kept = !id.empty() && loadPage(design, folder, fileName);
    SplitSiteItems(design);
    const long long now = static_cast<long long>(std::time(nullptr));
    if (kept) {
        db_.runStatement(kDesignsTable);
        SqliteStatement aside = db_.prepare(
            "insert into deleteddesigns (DIRECTORY,FILENAME,DELETED,DESIGN,MENUS) "
            "VALUES(?1,?2,?3,?4,?5)");
        aside.bindText(1, folder);
        aside.bindText(2, fileName);
        aside.bindInt64(3, now);
        aside.bindText(4, DesignText(design));
        aside.bindText(5, menuPlaces);
        aside.runStatement();
        versions_.move(folder, fileName, kAsideFolder + std::to_string(db_.lastInsertRowId()));
    }
    for (const char* table : kPageTables) {
        if (id.empty() || db_.runScalar("select count(*) from sqlite_master where type = "
                                        "'table' and name = '" +
                                        std::string(table) + "'") == 0) {
            continue;
        }
        SqliteStatement rows =
            db_.prepare(std::string("delete from ") + table + " where PROJECTID = ?1");
        rows.bindInt64(1, std::stoll(id));
        rows.runStatement();
    }
    versions_.remove(folder, fileName);
    SqliteStatement row =
        db_.prepare("delete from quillprojects where DIRECTORY = ?1 AND FILENAME = ?2");
    row.bindText(1, folder);
    row.bindText(2, fileName);
    row.runStatement();
    MarkDeleted(db_, folder, fileName, now);
}

std::vector<std::pair<std::string, long long>> PageStore::deletedPages(const std::string& folder) {
    std::vector<std::pair<std::string, long long>> names;
    if (!tableExists(kHasDeletedTable)) {
        return names;
    }
    readRows(
        "select FILENAME,DELETED from deletedpages where DIRECTORY = ?1 order by DELETED, rowid",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            names.emplace_back(row.textValue(0), std::stoll(row.textValue(1, "0")));
        });
    return names;
}

bool PageStore::forgetDeletion(const std::string& folder, const std::string& fileName) {
    if (!tableExists(kHasDeletedTable)) {
        return true;
    }
    return runReported(kForgetDeletion, [&](SqliteStatement& statement) {
        statement.bindText(1, folder);
        statement.bindText(2, fileName);
    });
}

std::vector<DeletedDesign> PageStore::deletedDesigns(const std::string& folder) {
    std::vector<DeletedDesign> designs;
    if (!tableExists(kHasDesignsTable)) {
        return designs;
    }
    const long long oldest =
        static_cast<long long>(std::time(nullptr)) - PageVersions::kKeptSeconds;
    try {
        SqliteTransaction transaction(db_);
        SqliteStatement gone = db_.prepare(
            "select ID,FILENAME from deleteddesigns where DIRECTORY = ?1 AND DELETED < ?2");
        gone.bindText(1, folder);
        gone.bindInt64(2, oldest);
        std::vector<std::pair<std::string, std::string>> past;
        for (SqliteCursor row = gone.runQuery(); !row.atEnd(); row.advance()) {
            past.emplace_back(row.textValue(0), row.textValue(1));
        }
        for (const auto& [id, name] : past) {
            versions_.remove(kAsideFolder + id, name);
        }
        SqliteStatement forget =
            db_.prepare("delete from deleteddesigns where DIRECTORY = ?1 AND DELETED < ?2");
        forget.bindText(1, folder);
        forget.bindInt64(2, oldest);
        forget.runStatement();
        transaction.commit();
    } catch (const SqliteException& failure) {
        report(failure);
    }
    readRows(
        "select ID,FILENAME,DELETED,DESIGN from deleteddesigns where DIRECTORY = ?1 "
        "order by DELETED desc, ID desc",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            const std::optional<PageRecord> design = ParseDesignText(row.textValue(3));
            designs.push_back({std::stoll(row.textValue(0)), row.textValue(1),
                               design ? design->pageTitle : std::string(),
                               std::stoll(row.textValue(2, "0"))});
        });
    return designs;
}

std::optional<TakenDesign> PageStore::takeDeletedDesign(long long id) {
    if (!tableExists(kHasDesignsTable)) {
        return std::nullopt;
    }
    try {
        SqliteTransaction transaction(db_);
        SqliteStatement read =
            db_.prepare("select DIRECTORY,FILENAME,DESIGN,MENUS from deleteddesigns where ID = ?1");
        read.bindInt64(1, id);
        SqliteCursor row = read.runQuery();
        if (row.atEnd()) {
            return std::nullopt;
        }
        const std::string folder = row.textValue(0);
        const std::string fileName = row.textValue(1);
        std::optional<PageRecord> design = ParseDesignText(row.textValue(2));
        const std::string menus = row.textValue(3, "");
        if (!design) {
            return std::nullopt;
        }
        design->directory = folder;
        design->fileName = fileName;
        design->id.clear();
        versions_.move(kAsideFolder + std::to_string(id), fileName, folder);
        SqliteStatement forget = db_.prepare("delete from deleteddesigns where ID = ?1");
        forget.bindInt64(1, id);
        forget.runStatement();
        transaction.commit();
        return TakenDesign{std::move(*design), menus};
    } catch (const SqliteException& failure) {
        report(failure);
        return std::nullopt;
    }
}

bool PageStore::rememberRename(const std::string& folder, const std::string& oldName,
                               const std::string& newName) {
    if (oldName == newName) {
        return true;
    }
    const long long now = static_cast<long long>(std::time(nullptr));
    const long long nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    try {
        SqliteTransaction transaction(db_);
        db_.runStatement(kRenamesTable);
        SqliteStatement rename = db_.prepare(
            "insert into renamedpages (DIRECTORY,OLDNAME,NEWNAME,RENAMED) VALUES(?1,?2,?3,?4)");
        rename.bindText(1, folder);
        rename.bindText(2, oldName);
        rename.bindText(3, newName);
        rename.bindInt64(4, nowMs);
        rename.runStatement();
        // The old name is gone from the folder as a deleted page is: every target learns of it.
        MarkDeleted(db_, folder, oldName, now);
        transaction.commit();
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
    return true;
}

std::vector<PageStore::PageRename> PageStore::renames(const std::string& folder) {
    std::vector<PageRename> renames;
    if (!tableExists(kHasRenamesTable)) {
        return renames;
    }
    readRows(
        "select OLDNAME,NEWNAME,RENAMED from renamedpages where DIRECTORY = ?1 "
        "order by RENAMED, rowid",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            renames.push_back(
                {row.textValue(0), row.textValue(1), std::stoll(row.textValue(2, "0"))});
        });
    return renames;
}
