#include "store/publish_target_store.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/store_access.h"

namespace {

// Where each site folder is published, as the command line names a target after --upload.
constexpr const char* kTargetsTable =
    "CREATE TABLE IF NOT EXISTS publishtargets (DIRECTORY TEXT, POSITION INTEGER, TARGET TEXT)";
constexpr const char* kHasTargets =
    "select count(*) from sqlite_master where type = 'table' and name = 'publishtargets'";

}  // namespace

std::vector<std::string> PublishTargetStore::load(const std::string& folder) {
    std::vector<std::string> targets;
    if (!access_.tableExists(kHasTargets)) {
        return targets;
    }
    access_.readRows(
        "select TARGET from publishtargets where DIRECTORY = ?1 order by POSITION",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) { targets.push_back(row.textValue(0)); });
    return targets;
}

bool PublishTargetStore::save(const std::string& folder, const std::vector<std::string>& targets) {
    SqliteDatabase& db = access_.db();
    try {
        SqliteTransaction transaction(db);
        db.runStatement(kTargetsTable);
        SqliteStatement clear = db.prepare("delete from publishtargets where DIRECTORY = ?1");
        clear.bindText(1, folder);
        clear.runStatement();
        SqliteStatement add =
            db.prepare("insert into publishtargets (DIRECTORY,POSITION,TARGET) VALUES(?1,?2,?3)");
        for (std::size_t i = 0; i < targets.size(); ++i) {
            add.bindText(1, folder);
            add.bindInt64(2, static_cast<long long>(i));
            add.bindText(3, targets[i]);
            add.runStatement();
        }
        transaction.commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return false;
    }
    return true;
}
