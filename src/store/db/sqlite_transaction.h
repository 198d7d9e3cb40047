#pragma once

class SqliteDatabase;

// One transaction on a connection: begun on construction, rolled back on destruction unless
// committed, so a failure half-way leaves the database as it was before.
class SqliteTransaction {
  public:
    // Raises SqliteException when the transaction cannot begin.
    explicit SqliteTransaction(SqliteDatabase& db);
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    ~SqliteTransaction();

    // Raises SqliteException when the commit fails; the transaction is then rolled back.
    void commit();

  private:
    SqliteDatabase& db_;
    bool open_ = true;
};
