#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_store.h"

namespace {

// Where each site folder is published, as the command line names a target after --upload.
constexpr const char* kTargetsTable =
    "CREATE TABLE IF NOT EXISTS publishtargets (DIRECTORY TEXT, POSITION INTEGER, TARGET TEXT)";
constexpr const char* kHasTargets =
    "select count(*) from sqlite_master where type = 'table' and name = 'publishtargets'";

}  // namespace

std::vector<std::string> PageStore::publishTargets(const std::string& folder) {
    std::vector<std::string> targets;
    if (!tableExists(kHasTargets)) {
        return targets;
    }
    readRows(
        "select TARGET from publishtargets where DIRECTORY = ?1 order by POSITION",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) { targets.push_back(row.textValue(0)); });
    return targets;
}

bool PageStore::setPublishTargets(const std::string& folder,
                                  const std::vector<std::string>& targets) {
    try {
        SqliteTransaction transaction(db_);
        db_.runStatement(kTargetsTable);
        SqliteStatement clear = db_.prepare("delete from publishtargets where DIRECTORY = ?1");
        clear.bindText(1, folder);
        clear.runStatement();
        SqliteStatement add =
            db_.prepare("insert into publishtargets (DIRECTORY,POSITION,TARGET) VALUES(?1,?2,?3)");
        for (std::size_t i = 0; i < targets.size(); ++i) {
            add.bindText(1, folder);
            add.bindInt64(2, static_cast<long long>(i));
            add.bindText(3, targets[i]);
            add.runStatement();
        }
        transaction.commit();
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
    return true;
}
