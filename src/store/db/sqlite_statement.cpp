#include "store/db/sqlite_statement.h"

#include <sqlite3.h>

#include <climits>
#include <utility>

#include "store/db/sqlite_exception.h"

SqliteStatement::SqliteStatement(sqlite3* db, sqlite3_stmt* statement,
                                 std::shared_ptr<const bool> databaseOpen)
    : db_(db), statement_(statement), databaseOpen_(std::move(databaseOpen)) {}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      statement_(std::exchange(other.statement_, nullptr)),
      databaseOpen_(std::move(other.databaseOpen_)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        try {
            release();
        } catch (const SqliteException&) {
        }
        db_ = std::exchange(other.db_, nullptr);
        statement_ = std::exchange(other.statement_, nullptr);
        databaseOpen_ = std::move(other.databaseOpen_);
    }
    return *this;
}

SqliteStatement::~SqliteStatement() {
    try {
        release();
    } catch (const SqliteException&) {
    }
}

void SqliteStatement::checkDatabase() const {
    if (db_ == nullptr || (databaseOpen_ && !*databaseOpen_)) {
        throw SqliteException(SqliteException::kLayerError, "Database not open");
    }
}

void SqliteStatement::checkStatement() const {
    if (statement_ == nullptr) {
        throw SqliteException(SqliteException::kLayerError, "Null Virtual Machine pointer");
    }
}

void SqliteStatement::resetAndThrow() {
    const int code = sqlite3_reset(statement_);
    throw SqliteException(code, sqlite3_errmsg(db_));
}

int SqliteStatement::runStatement() {
    checkDatabase();
    checkStatement();
    if (sqlite3_step(statement_) != SQLITE_DONE) {
        resetAndThrow();
    }
    const int changes = sqlite3_changes(db_);
    const int result = sqlite3_reset(statement_);
    if (result != SQLITE_OK) {
        throw SqliteException(result, sqlite3_errmsg(db_));
    }
    return changes;
}

SqliteCursor SqliteStatement::runQuery() {
    checkDatabase();
    checkStatement();
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_DONE) {
        return SqliteCursor(db_, statement_, true, false);
    }
    if (result == SQLITE_ROW) {
        return SqliteCursor(db_, statement_, false, false);
    }
    resetAndThrow();
}

void SqliteStatement::bindText(int parameter, const std::string& text) {
    checkStatement();
    // Texts beyond SQLite's int length cannot be bound in one piece.
    const int result = text.size() > static_cast<std::size_t>(INT_MAX)
                           ? SQLITE_TOOBIG
                           : sqlite3_bind_text(statement_, parameter, text.c_str(),
                                               static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding string param");
    }
}

void SqliteStatement::bindInt(int parameter, int value) {
    checkStatement();
    const int result = sqlite3_bind_int(statement_, parameter, value);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding int param");
    }
}

void SqliteStatement::bindInt64(int parameter, long long value) {
    checkStatement();
    const int result = sqlite3_bind_int64(statement_, parameter, value);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding int param");
    }
}

void SqliteStatement::bindReal(int parameter, double value) {
    checkStatement();
    const int result = sqlite3_bind_double(statement_, parameter, value);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding double param");
    }
}

void SqliteStatement::bindBlob(int parameter, const void* bytes, std::size_t length) {
    checkStatement();
    const int result = length > static_cast<std::size_t>(INT_MAX)
                           ? SQLITE_TOOBIG
                           : sqlite3_bind_blob(statement_, parameter, bytes,
                                               static_cast<int>(length), SQLITE_TRANSIENT);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding blob param");
    }
}

void SqliteStatement::bindNull(int parameter) {
    checkStatement();
    const int result = sqlite3_bind_null(statement_, parameter);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "Error binding NULL param");
    }
}

void SqliteStatement::rewind() {
    if (statement_ != nullptr) {
        const int result = sqlite3_reset(statement_);
        if (result != SQLITE_OK) {
            throw SqliteException(result, sqlite3_errmsg(db_));
        }
    }
}

void SqliteStatement::release() {
    sqlite3_stmt* statement = std::exchange(statement_, nullptr);
    if (statement != nullptr) {
        const int result = sqlite3_finalize(statement);
        if (result != SQLITE_OK) {
            throw SqliteException(result, sqlite3_errmsg(db_));
        }
    }
}
