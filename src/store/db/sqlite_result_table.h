#pragma once

#include <string>

#include "store/db/sqlite_column.h"

// A whole query result held in memory, one row selected at a time. Move-only: the moved-from
// table holds no results and refuses every operation with "Null Results pointer".
class SqliteResultTable {
  public:
    SqliteResultTable() = default;
    SqliteResultTable(char** results, int rowCount, int columnCount);
    SqliteResultTable(SqliteResultTable&& other) noexcept;
    SqliteResultTable& operator=(SqliteResultTable&& other) noexcept;
    SqliteResultTable(const SqliteResultTable&) = delete;
    SqliteResultTable& operator=(const SqliteResultTable&) = delete;
    virtual ~SqliteResultTable();

    int columnCount() const;
    int rowCount() const;
    void selectRow(int row);

    int intValue(const SqliteColumn& column, int valueIfNull = 0) const;
    double realValue(const SqliteColumn& column, double valueIfNull = 0.0) const;
    std::string textValue(const SqliteColumn& column, const std::string& valueIfNull = "") const;
    bool isNull(const SqliteColumn& column) const;
    std::string columnName(int index) const;

    void release();

  private:
    void checkResults() const;
    // The entry of the column in the current row; null for SQL NULL.
    const char* entry(const SqliteColumn& column) const;

    char** results_ = nullptr;
    int rowCount_ = 0;
    int columnCount_ = 0;
    int currentRow_ = 0;
};
