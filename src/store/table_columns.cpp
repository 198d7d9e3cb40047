#include "store/table_columns.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"

bool HasColumn(SqliteDatabase& db, const std::string& table, const std::string& column) {
    SqliteStatement query =
        db.prepare("SELECT count(*) FROM pragma_table_info(?1) WHERE name = ?2");
    query.bindText(1, table);
    query.bindText(2, column);
    return query.runQuery().intValue(0) > 0;
}
