#include "store/db/sqlite_database.h"

#include <sqlite3.h>

#include <utility>

#include "common/number_text.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_format.h"

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      open_(std::move(other.open_)),
      budget_(std::move(other.budget_)),
      busyTimeoutMs_(other.busyTimeoutMs_) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        open_ = std::move(other.open_);
        budget_ = std::move(other.budget_);
        busyTimeoutMs_ = other.busyTimeoutMs_;
    }
    return *this;
}

SqliteDatabase::~SqliteDatabase() {
    close();
}

void SqliteDatabase::open(const std::string& path) {
    openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

void SqliteDatabase::openReadOnly(const std::string& path) {
    openWithFlags(path, SQLITE_OPEN_READONLY);
}

namespace {

constexpr int kInstructionsPerCall = 1000;

// Stops the statement once the budget is spent.
int SpendBudget(void* budget) {
    long long& left = *static_cast<long long*>(budget);
    return --left < 0 ? 1 : 0;
}

}  // namespace

void SqliteDatabase::openUntrusted(const std::string& path, long long steps) {
    openWithFlags(path, SQLITE_OPEN_READONLY);
    int unused = 0;
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, &unused);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &unused);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &unused);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &unused);
    budget_ = std::make_unique<long long>(steps / kInstructionsPerCall + 1);
    sqlite3_progress_handler(db_, kInstructionsPerCall, SpendBudget, budget_.get());
}

void SqliteDatabase::openWithFlags(const std::string& path, int flags) {
    close();
    sqlite3* db = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (result != SQLITE_OK) {
        const SqliteException failure(result, db != nullptr ? sqlite3_errmsg(db) : "");
        sqlite3_close(db);
        throw failure;
    }
    db_ = db;
    open_ = std::make_shared<bool>(true);
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
}

void SqliteDatabase::close() {
    // The _v2 form keeps the connection alive for statements and cursors that still exist,
    // so closing never leaves them pointing at freed memory.
    if (db_ != nullptr) {
        sqlite3_close_v2(std::exchange(db_, nullptr));
    }
    if (open_) {
        *open_ = false;
        open_.reset();
    }
}

void SqliteDatabase::checkDatabase() const {
    if (db_ == nullptr) {
        throw SqliteException(SqliteException::kLayerError, "Database not open");
    }
}

int SqliteDatabase::runStatement(const std::string& sql) {
    checkDatabase();
    char* error = nullptr;
    const int result = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    if (result != SQLITE_OK) {
        throw SqliteException(result, error, true);
    }
    return sqlite3_changes(db_);
}

SqliteCursor SqliteDatabase::runQuery(const std::string& sql) {
    sqlite3_stmt* statement = compile(sql);
    if (statement == nullptr) {
        // Text without a statement (blank or a comment): a cursor over nothing would pass
        // for an empty result.
        throw SqliteException(SqliteException::kLayerError, "Null Virtual Machine pointer");
    }
    const int result = sqlite3_step(statement);
    if (result == SQLITE_DONE || result == SQLITE_ROW) {
        return SqliteCursor(db_, statement, result == SQLITE_DONE, true);
    }
    const int code = sqlite3_finalize(statement);
    throw SqliteException(code, sqlite3_errmsg(db_));
}

int SqliteDatabase::runScalar(const std::string& sql) {
    SqliteCursor cursor = runQuery(sql);
    if (cursor.atEnd() || cursor.columnCount() < 1) {
        throw SqliteException(SqliteException::kLayerError, "Invalid scalar query");
    }
    return LeadingInt(cursor.textValue(0));
}

SqliteResultTable SqliteDatabase::loadTable(const std::string& sql) {
    checkDatabase();
    char** results = nullptr;
    int rows = 0;
    int columns = 0;
    char* error = nullptr;
    const int result = sqlite3_get_table(db_, sql.c_str(), &results, &rows, &columns, &error);
    if (result != SQLITE_OK) {
        sqlite3_free_table(results);
        throw SqliteException(result, error, true);
    }
    return SqliteResultTable(results, rows, columns);
}

sqlite3_stmt* SqliteDatabase::compile(const std::string& sql) {
    checkDatabase();
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
    if (result != SQLITE_OK) {
        throw SqliteException(result, "");
    }
    return statement;
}

SqliteStatement SqliteDatabase::prepare(const std::string& sql) {
    return SqliteStatement(db_, compile(sql), open_);
}

SqliteStatement SqliteDatabase::prepareExplained(const std::string& sql) {
    try {
        return prepare(sql);
    } catch (const SqliteException& failure) {
        throw SqliteException(failure.code(), errorMessage());
    }
}

bool SqliteDatabase::hasTable(const std::string& name) {
    checkDatabase();
    SqliteFormat sql;
    return runScalar(sql.format("select count(*) from sqlite_master where type='table' and name=%Q",
                                name)) > 0;
}

bool SqliteDatabase::inTransaction() const {
    return db_ != nullptr && sqlite3_get_autocommit(db_) == 0;
}

std::string SqliteDatabase::errorMessage() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : "Database not open";
}

long long SqliteDatabase::lastInsertRowId() const {
    return db_ != nullptr ? sqlite3_last_insert_rowid(db_) : 0;
}

long long SqliteDatabase::totalChanges() const {
    return db_ == nullptr ? 0 : static_cast<long long>(sqlite3_total_changes64(db_));
}

void SqliteDatabase::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (db_ != nullptr) {
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
    }
}
