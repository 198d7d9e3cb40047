#include <ctime>

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

// Every table holding rows of a page by its ID, the later ones only where the store has them.
constexpr const char* kPageTables[] = {"rtftexts",       "pageimages", "pagetexts",
                                       "textproperties", "pageextras", "phonechoices"};

}  // namespace

bool PageStore::deletePage(const std::string& folder, const std::string& fileName) {
    const std::string id = pageIdOf(folder, fileName);
    try {
        SqliteTransaction transaction(db_);
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
        db_.runStatement(kDeletedTable);
        SqliteStatement forget = db_.prepare(kForgetDeletion);
        forget.bindText(1, folder);
        forget.bindText(2, fileName);
        forget.runStatement();
        SqliteStatement mark =
            db_.prepare("insert into deletedpages (DIRECTORY,FILENAME,DELETED) VALUES(?1,?2,?3)");
        mark.bindText(1, folder);
        mark.bindText(2, fileName);
        mark.bindInt64(3, static_cast<long long>(std::time(nullptr)));
        mark.runStatement();
        transaction.commit();
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
    siteItems_.clear();
    return true;
}

std::vector<std::pair<std::string, long long>> PageStore::deletedPages(const std::string& folder) {
    std::vector<std::pair<std::string, long long>> names;
    if (!tableExists(kHasDeletedTable)) {
        return names;
    }
    readRows(
        "select FILENAME,DELETED from deletedpages where DIRECTORY = ?1 order by DELETED",
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
