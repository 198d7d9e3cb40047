#include "store/page_renames.h"

#include <chrono>
#include <ctime>

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/deleted_page_store.h"
#include "store/store_access.h"

namespace {

constexpr const char* kRenamesTable =
    "CREATE TABLE IF NOT EXISTS renamedpages (DIRECTORY TEXT, OLDNAME TEXT, NEWNAME TEXT, "
    "RENAMED INTEGER)";
constexpr const char* kHasRenamesTable =
    "select count(*) from sqlite_master where type = 'table' and name = 'renamedpages'";

}  // namespace

bool PageRenames::remember(const std::string& folder, const std::string& oldName,
                           const std::string& newName) {
    if (oldName == newName) {
        return true;
    }
    const long long now = static_cast<long long>(std::time(nullptr));
    const long long nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    SqliteDatabase& db = access_.db();
    try {
        SqliteTransaction transaction(db);
        db.runStatement(kRenamesTable);
        SqliteStatement rename = db.prepare(
            "insert into renamedpages (DIRECTORY,OLDNAME,NEWNAME,RENAMED) VALUES(?1,?2,?3,?4)");
        rename.bindText(1, folder);
        rename.bindText(2, oldName);
        rename.bindText(3, newName);
        rename.bindInt64(4, nowMs);
        rename.runStatement();
        // The old name is gone from the folder as a deleted page is: every target learns of it.
        MarkPageDeleted(db, folder, oldName, now);
        transaction.commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return false;
    }
    return true;
}

std::vector<PageRename> PageRenames::of(const std::string& folder) {
    std::vector<PageRename> renames;
    if (!access_.tableExists(kHasRenamesTable)) {
        return renames;
    }
    access_.readRows(
        "select OLDNAME,NEWNAME,RENAMED from renamedpages where DIRECTORY = ?1 "
        "order by RENAMED, rowid",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            renames.push_back(
                {row.textValue(0), row.textValue(1), std::stoll(row.textValue(2, "0"))});
        });
    return renames;
}
