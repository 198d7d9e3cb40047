#include "store/store_access.h"

#include "platform/prompts.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"

namespace {

constexpr const char* kDbErrorCaption = "db error";

// Failures of the database file as a whole (it cannot be opened, written, locked, full or
// damaged): once one happens, no later statement of the same save can succeed.
bool FailsTheWholeStore(int code) {
    switch (code & 0xFF) {
        case 3:   // SQLITE_PERM
        case 5:   // SQLITE_BUSY
        case 6:   // SQLITE_LOCKED
        case 8:   // SQLITE_READONLY
        case 10:  // SQLITE_IOERR
        case 11:  // SQLITE_CORRUPT
        case 13:  // SQLITE_FULL
        case 14:  // SQLITE_CANTOPEN
        case 26:  // SQLITE_NOTADB
            return true;
        default:
            return false;
    }
}

}  // namespace

StoreAccess::StoreAccess(SqliteDatabase& db, Prompts& prompts) : db_(db), prompts_(prompts) {}

void StoreAccess::report(const SqliteException& failure) {
    if (saving_ && FailsTheWholeStore(failure.code())) {
        // Told once, when the save ends.
        if (!storeFailure_) {
            storeFailure_ = failure.message();
        }
        return;
    }
    prompts_.messageBox(failure.message(), kDbErrorCaption, MessageButtons::Ok, MessageIcon::None);
}

bool StoreAccess::runReported(const std::string& sql, const Binder& bind) {
    if (storeFailure_) {
        return false;
    }
    try {
        SqliteStatement statement = db_.prepareExplained(sql);
        bind(statement);
        statement.runStatement();
        return true;
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
}

bool StoreAccess::readRows(const std::string& sql, const Binder& bind, const RowReader& read) {
    if (storeFailure_) {
        return false;
    }
    try {
        SqliteStatement statement = db_.prepareExplained(sql);
        bind(statement);
        for (SqliteCursor rows = statement.runQuery(); !rows.atEnd(); rows.advance()) {
            read(rows);
        }
        return true;
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
}

bool StoreAccess::insertEach(const std::string& sql, std::size_t count,
                             const std::function<void(SqliteStatement&, std::size_t)>& bind) {
    if (count == 0) {
        return true;
    }
    std::optional<SqliteStatement> statement;
    try {
        statement = db_.prepareExplained(sql);
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
    bool allStored = true;
    for (std::size_t i = 0; i < count && !saveBrokenOff(); ++i) {
        try {
            bind(*statement, i);
            statement->runStatement();
        } catch (const SqliteException& failure) {
            report(failure);
            allStored = false;
        }
    }
    return allStored;
}

bool StoreAccess::tableExists(const char* countQuery) {
    bool exists = false;
    readRows(
        countQuery, [](SqliteStatement&) {},
        [&](const SqliteCursor& row) { exists = row.intValue(0) > 0; });
    return exists;
}

void StoreAccess::startSave() {
    saving_ = true;
    storeFailure_.reset();
}

bool StoreAccess::saveBrokenOff() const {
    return storeFailure_ || (inTransaction_ && !db_.inTransaction());
}

std::optional<std::string> StoreAccess::endSave() {
    saving_ = false;
    inTransaction_ = false;
    std::optional<std::string> failure = std::move(storeFailure_);
    storeFailure_.reset();
    return failure;
}
