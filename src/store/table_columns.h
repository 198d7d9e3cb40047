#pragma once

#include <string>

class SqliteDatabase;

// Whether an older store's table already has a column that later versions added.
bool HasColumn(SqliteDatabase& db, const std::string& table, const std::string& column);
