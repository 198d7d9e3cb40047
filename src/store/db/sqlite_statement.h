#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "store/db/sqlite_cursor.h"

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement with parameters bound by 1-based position. Move-only: the moved-from
// statement refuses every operation with "Null Virtual Machine pointer". Once its database is
// closed it refuses to run with "Database not open".
class SqliteStatement {
  public:
    SqliteStatement() = default;
    // databaseOpen, when given, is cleared when the database is closed.
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement,
                    std::shared_ptr<const bool> databaseOpen = nullptr);
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    virtual ~SqliteStatement();

    // Runs a statement that returns no rows; the number of changed rows.
    int runStatement();
    // The cursor borrows the statement: it must not outlive this object.
    SqliteCursor runQuery();

    void bindText(int parameter, const std::string& text);
    void bindInt(int parameter, int value);
    void bindInt64(int parameter, long long value);
    void bindReal(int parameter, double value);
    void bindBlob(int parameter, const void* bytes, std::size_t length);
    void bindNull(int parameter);

    void rewind();
    void release();

  private:
    void checkDatabase() const;
    void checkStatement() const;
    [[noreturn]] void resetAndThrow();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    std::shared_ptr<const bool> databaseOpen_;
};
