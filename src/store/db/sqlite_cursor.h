#pragma once

#include <string>

#include "store/db/sqlite_column.h"

struct sqlite3;
struct sqlite3_stmt;

// A forward-only walk over the rows of a query. Move-only: the moved-from cursor holds no
// statement and refuses every operation with "Null Virtual Machine pointer".
class SqliteCursor {
  public:
    SqliteCursor() = default;
    SqliteCursor(sqlite3* db, sqlite3_stmt* statement, bool atEnd, bool ownsStatement);
    SqliteCursor(SqliteCursor&& other) noexcept;
    SqliteCursor& operator=(SqliteCursor&& other) noexcept;
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;
    virtual ~SqliteCursor();

    int columnCount() const;
    bool atEnd() const;
    void advance();

    // The column's text as it stands; a NULL column is refused ("Null text value").
    std::string text(const SqliteColumn& column) const;
    int intValue(const SqliteColumn& column, int valueIfNull = 0) const;
    double realValue(const SqliteColumn& column, double valueIfNull = 0.0) const;
    std::string textValue(const SqliteColumn& column, const std::string& valueIfNull = "") const;
    std::string blobValue(const SqliteColumn& column) const;
    bool isNull(const SqliteColumn& column) const;

    std::string columnName(int index) const;
    std::string columnDeclaredType(int index) const;
    int columnType(int index) const;

    void release();

  private:
    void checkStatement() const;
    int resolve(const SqliteColumn& column) const;
    // The text of a column; a null text is refused with the given detail.
    std::string columnText(int index, const char* nullDetail) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    bool atEnd_ = true;
    int columnCount_ = 0;
    bool ownsStatement_ = false;
};
