#include "store/db/sqlite_transaction.h"

#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
    db_.runStatement("BEGIN");
}

SqliteTransaction::~SqliteTransaction() {
    if (open_) {
        try {
            db_.runStatement("ROLLBACK");
        } catch (const SqliteException&) {
            // SQLite may have rolled back already (after a full disk, say); nothing is left.
        }
    }
}

void SqliteTransaction::commit() {
    db_.runStatement("COMMIT");
    open_ = false;
}
