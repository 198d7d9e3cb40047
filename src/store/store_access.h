#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class Prompts;
class SqliteCursor;
class SqliteDatabase;
class SqliteException;
class SqliteStatement;

// The page store's statements as each of its parts runs them: a failure reaches the user as
// "db error" and the caller goes on. During a page's save a failure of the whole file (read-only,
// locked, full, gone) is held and told once, when the save ends.
class StoreAccess {
  public:
    StoreAccess(SqliteDatabase& db, Prompts& prompts);

    SqliteDatabase& db() { return db_; }
    Prompts& prompts() { return prompts_; }

    // Binds the parameters of a statement before it runs.
    using Binder = std::function<void(SqliteStatement&)>;
    using RowReader = std::function<void(const SqliteCursor&)>;

    // Shows the failure as the user sees every database failure.
    void report(const SqliteException& failure);
    bool runReported(const std::string& sql, const Binder& bind);
    // Runs the query and hands each row over; false (reported) when it fails.
    bool readRows(const std::string& sql, const Binder& bind, const RowReader& read);
    // The insert runs once per entry with the entry's values bound; a statement that cannot
    // be compiled is reported once for the whole list.
    bool insertEach(const std::string& sql, std::size_t count,
                    const std::function<void(SqliteStatement&, std::size_t)>& bind);
    // Whether the count query (of sqlite_master) finds its table.
    bool tableExists(const char* countQuery);

    // A save begins: failures of the whole file are held from now on.
    void startSave();
    // Whether the save's statements run inside its transaction.
    void saveInTransaction(bool inTransaction) { inTransaction_ = inTransaction; }
    // SQLite rolled the save's transaction back by itself (a full disk, say): going on would
    // store the rest of the page without its beginning.
    bool saveBrokenOff() const;
    bool storeFailed() const { return storeFailure_.has_value(); }
    // The save is over; the reason it could store nothing, if one came.
    std::optional<std::string> endSave();

  private:
    SqliteDatabase& db_;
    Prompts& prompts_;
    bool saving_ = false;
    bool inTransaction_ = false;
    std::optional<std::string> storeFailure_;
};
