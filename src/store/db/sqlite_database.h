#pragma once

#include <memory>
#include <string>

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_result_table.h"
#include "store/db/sqlite_statement.h"

struct sqlite3;

// One connection to one database file, owned by one window or dialog. Every failure arrives
// as SqliteException; operations on a closed connection give "Database not open".
class SqliteDatabase {
  public:
    static constexpr int kDefaultBusyTimeoutMs = 60000;

    SqliteDatabase() = default;
    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    virtual ~SqliteDatabase();

    void open(const std::string& path);
    // For readers that must never change the file; a missing file is refused.
    void openReadOnly(const std::string& path);
    // For a file from someone else, read only: SQLite's defensive mode, no trust in the
    // schema's functions, views and triggers refused, and every statement stopped once it has
    // run about `steps` virtual machine instructions (an endless query becomes a failure).
    void openUntrusted(const std::string& path, long long steps);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs SQL that returns no rows; the number of rows changed.
    int runStatement(const std::string& sql);
    SqliteCursor runQuery(const std::string& sql);
    // The first column of the first row read as a leading integer.
    int runScalar(const std::string& sql);
    SqliteResultTable loadTable(const std::string& sql);
    SqliteStatement prepare(const std::string& sql);
    // As prepare, but the failure carries SQLite's reason, for callers that show it to the user.
    SqliteStatement prepareExplained(const std::string& sql);
    bool hasTable(const std::string& name);

    long long lastInsertRowId() const;
    // Rows this connection has changed since it opened.
    long long totalChanges() const;
    // True while a transaction is open; SQLite ends one by itself after some failures.
    bool inTransaction() const;
    // SQLite's own text for the last failure on this connection.
    std::string errorMessage() const;
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return busyTimeoutMs_; }

  private:
    void openWithFlags(const std::string& path, int flags);
    void checkDatabase() const;
    // A compiled statement, or null for text that holds none (blank, a comment).
    sqlite3_stmt* compile(const std::string& sql);

    sqlite3* db_ = nullptr;
    // Shared with the statements of this connection, which refuse to run once it is closed.
    std::shared_ptr<bool> open_;
    // What an untrusted file's statements may still run, in thousands of instructions; read
    // by SQLite's progress handler, so it stays where it is when the connection moves.
    std::unique_ptr<long long> budget_;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
};
