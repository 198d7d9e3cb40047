#include "store/deleted_page_store.h"

#include <ctime>

#include "page/design_text.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_versions.h"
#include "store/store_access.h"

namespace {

// Pages the user deleted, by folder and file name.
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
constexpr const char* kAsideFolder = "deleted page ";

}  // namespace

void MarkPageDeleted(SqliteDatabase& db, const std::string& folder, const std::string& fileName,
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

DeletedPageStore::DeletedPageStore(StoreAccess& access, PageVersions& versions)
    : access_(access), versions_(versions) {}

void DeletedPageStore::keepAside(const std::string& folder, const std::string& fileName,
                                 const PageRecord& design, const std::string& menuPlaces,
                                 long long when) {
    SqliteDatabase& db = access_.db();
    db.runStatement(kDesignsTable);
    SqliteStatement aside = db.prepare(
        "insert into deleteddesigns (DIRECTORY,FILENAME,DELETED,DESIGN,MENUS) "
        "VALUES(?1,?2,?3,?4,?5)");
    aside.bindText(1, folder);
    aside.bindText(2, fileName);
    aside.bindInt64(3, when);
    aside.bindText(4, DesignText(design));
    aside.bindText(5, menuPlaces);
    aside.runStatement();
    versions_.move(folder, fileName, kAsideFolder + std::to_string(db.lastInsertRowId()));
}

std::vector<DeletedDesign> DeletedPageStore::designs(const std::string& folder) {
    std::vector<DeletedDesign> designs;
    if (!access_.tableExists(kHasDesignsTable)) {
        return designs;
    }
    const long long oldest =
        static_cast<long long>(std::time(nullptr)) - PageVersions::kKeptSeconds;
    SqliteDatabase& db = access_.db();
    try {
        SqliteTransaction transaction(db);
        SqliteStatement gone = db.prepare(
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
            db.prepare("delete from deleteddesigns where DIRECTORY = ?1 AND DELETED < ?2");
        forget.bindText(1, folder);
        forget.bindInt64(2, oldest);
        forget.runStatement();
        transaction.commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
    }
    access_.readRows(
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

std::optional<TakenDesign> DeletedPageStore::take(long long id) {
    if (!access_.tableExists(kHasDesignsTable)) {
        return std::nullopt;
    }
    SqliteDatabase& db = access_.db();
    try {
        SqliteTransaction transaction(db);
        SqliteStatement read =
            db.prepare("select DIRECTORY,FILENAME,DESIGN,MENUS from deleteddesigns where ID = ?1");
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
        SqliteStatement forget = db.prepare("delete from deleteddesigns where ID = ?1");
        forget.bindInt64(1, id);
        forget.runStatement();
        transaction.commit();
        return TakenDesign{std::move(*design), menus};
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return std::nullopt;
    }
}

std::vector<std::pair<std::string, long long>> DeletedPageStore::pages(const std::string& folder) {
    std::vector<std::pair<std::string, long long>> names;
    if (!access_.tableExists(kHasDeletedTable)) {
        return names;
    }
    access_.readRows(
        "select FILENAME,DELETED from deletedpages where DIRECTORY = ?1 order by DELETED, rowid",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            names.emplace_back(row.textValue(0), std::stoll(row.textValue(1, "0")));
        });
    return names;
}

bool DeletedPageStore::forget(const std::string& folder, const std::string& fileName) {
    if (!access_.tableExists(kHasDeletedTable)) {
        return true;
    }
    return access_.runReported(kForgetDeletion, [&](SqliteStatement& statement) {
        statement.bindText(1, folder);
        statement.bindText(2, fileName);
    });
}
