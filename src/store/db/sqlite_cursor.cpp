#include "store/db/sqlite_cursor.h"

#include <sqlite3.h>

#include <utility>

#include "store/db/sqlite_exception.h"

SqliteCursor::SqliteCursor(sqlite3* db, sqlite3_stmt* statement, bool atEnd, bool ownsStatement)
    : db_(db),
      statement_(statement),
      atEnd_(atEnd),
      columnCount_(statement != nullptr ? sqlite3_column_count(statement) : 0),
      ownsStatement_(ownsStatement) {}

SqliteCursor::SqliteCursor(SqliteCursor&& other) noexcept
    : db_(other.db_),
      statement_(std::exchange(other.statement_, nullptr)),
      atEnd_(other.atEnd_),
      columnCount_(other.columnCount_),
      ownsStatement_(other.ownsStatement_) {}

SqliteCursor& SqliteCursor::operator=(SqliteCursor&& other) noexcept {
    if (this != &other) {
        try {
            release();
        } catch (const SqliteException&) {
        }
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
        atEnd_ = other.atEnd_;
        columnCount_ = other.columnCount_;
        ownsStatement_ = other.ownsStatement_;
    }
    return *this;
}

SqliteCursor::~SqliteCursor() {
    try {
        release();
    } catch (const SqliteException&) {
    }
}

void SqliteCursor::checkStatement() const {
    if (statement_ == nullptr) {
        throw SqliteException(SqliteException::kLayerError, "Null Virtual Machine pointer");
    }
}

int SqliteCursor::columnCount() const {
    checkStatement();
    return columnCount_;
}

bool SqliteCursor::atEnd() const {
    checkStatement();
    return atEnd_;
}

void SqliteCursor::advance() {
    checkStatement();
    if (atEnd_) {
        // Stepping past the end would silently restart the query.
        return;
    }
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_DONE) {
        atEnd_ = true;
    } else if (result != SQLITE_ROW) {
        // A borrowed statement still belongs to its SqliteStatement: reset it, never finalise.
        const int code = ownsStatement_ ? sqlite3_finalize(statement_) : sqlite3_reset(statement_);
        statement_ = nullptr;
        throw SqliteException(code, sqlite3_errmsg(db_));
    }
}

int SqliteCursor::resolve(const SqliteColumn& column) const {
    checkStatement();
    if (column.byName()) {
        if (column.hasName()) {
            for (int i = 0; i < columnCount_; ++i) {
                const char* name = sqlite3_column_name(statement_, i);
                if (name != nullptr && column.name() == name) {
                    return i;
                }
            }
        }
        throw SqliteException(SqliteException::kLayerError, "Invalid field name requested");
    }
    if (column.index() < 0 || column.index() >= columnCount_) {
        throw SqliteException(SqliteException::kLayerError, "Invalid field index requested");
    }
    return column.index();
}

std::string SqliteCursor::columnText(int index, const char* nullDetail) const {
    const auto* value = sqlite3_column_text(statement_, index);
    if (value == nullptr) {
        throw SqliteException(SqliteException::kLayerError, nullDetail);
    }
    return std::string(reinterpret_cast<const char*>(value),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_, index)));
}

std::string SqliteCursor::text(const SqliteColumn& column) const {
    return columnText(resolve(column), "Null text value");
}

int SqliteCursor::intValue(const SqliteColumn& column, int valueIfNull) const {
    const int index = resolve(column);
    if (sqlite3_column_type(statement_, index) == SQLITE_NULL) {
        return valueIfNull;
    }
    return sqlite3_column_int(statement_, index);
}

double SqliteCursor::realValue(const SqliteColumn& column, double valueIfNull) const {
    const int index = resolve(column);
    if (sqlite3_column_type(statement_, index) == SQLITE_NULL) {
        return valueIfNull;
    }
    return sqlite3_column_double(statement_, index);
}

std::string SqliteCursor::textValue(const SqliteColumn& column,
                                    const std::string& valueIfNull) const {
    const int index = resolve(column);
    if (sqlite3_column_type(statement_, index) == SQLITE_NULL) {
        return valueIfNull;
    }
    // Not NULL yet no text: SQLite ran out of memory converting it.
    return columnText(index, "Cannot allocate memory");
}

std::string SqliteCursor::blobValue(const SqliteColumn& column) const {
    const int index = resolve(column);
    const void* bytes = sqlite3_column_blob(statement_, index);
    const int length = sqlite3_column_bytes(statement_, index);
    if (bytes == nullptr || length <= 0) {
        return std::string();
    }
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

bool SqliteCursor::isNull(const SqliteColumn& column) const {
    const int index = resolve(column);
    return sqlite3_column_type(statement_, index) == SQLITE_NULL;
}

std::string SqliteCursor::columnName(int index) const {
    const int checked = resolve(index);
    const char* name = sqlite3_column_name(statement_, checked);
    return name != nullptr ? name : "";
}

std::string SqliteCursor::columnDeclaredType(int index) const {
    const int checked = resolve(index);
    const char* type = sqlite3_column_decltype(statement_, checked);
    return type != nullptr ? type : "";
}

int SqliteCursor::columnType(int index) const {
    const int checked = resolve(index);
    return sqlite3_column_type(statement_, checked);
}

void SqliteCursor::release() {
    sqlite3_stmt* statement = std::exchange(statement_, nullptr);
    if (statement != nullptr && ownsStatement_) {
        const int result = sqlite3_finalize(statement);
        if (result != SQLITE_OK) {
            throw SqliteException(result, sqlite3_errmsg(db_));
        }
    }
}
