#include "store/db/sqlite_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_format.h"
#include "support/failure_of.h"
#include "support/temp_folder.h"

namespace {

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.open(folder / "test.db");
        db.runStatement("create table pages (ID integer primary key, NAME text, SIZE integer)");
    }
    TempFolder folder;
    SqliteDatabase db;
};

}  // namespace

TEST(SqliteException, MessageIsNameCodeAndDetail) {
    EXPECT_EQ(SqliteException(1, "no such table: x").message(),
              "SQLITE_ERROR[1]: no such table: x");
    EXPECT_EQ(SqliteException(1000, "Database not open").message(),
              "DBLAYER_ERROR[1000]: Database not open");
    EXPECT_EQ(SqliteException(101, nullptr, false).message(), "SQLITE_DONE[101]: ");
    EXPECT_EQ(SqliteException(26, "x").message(), "UNKNOWN_ERROR[26]: x");
    EXPECT_EQ(SqliteException(-1, "").message(), "UNKNOWN_ERROR[-1]: ");
    EXPECT_STREQ(SqliteCodeName(0), "SQLITE_OK");
    EXPECT_STREQ(SqliteCodeName(14), "SQLITE_CANTOPEN");
    EXPECT_STREQ(SqliteCodeName(25), "SQLITE_RANGE");
    EXPECT_STREQ(SqliteCodeName(100), "SQLITE_ROW");

    // A detail allocated by SQLite is taken over and released.
    char* owned = sqlite3_mprintf("%s", "disk I/O error");
    const SqliteException copied = SqliteException(10, owned, true);
    EXPECT_EQ(copied.message(), "SQLITE_IOERR[10]: disk I/O error");
    EXPECT_STREQ(copied.what(), "SQLITE_IOERR[10]: disk I/O error");
}

TEST(SqliteDatabaseClosed, EveryOperationSaysDatabaseNotOpen) {
    SqliteDatabase db;
    const std::string expected = "DBLAYER_ERROR[1000]: Database not open";
    EXPECT_EQ(FailureOf([&] { db.runStatement("select 1"); }), expected);
    EXPECT_EQ(FailureOf([&] { db.runQuery("select 1"); }), expected);
    EXPECT_EQ(FailureOf([&] { db.runScalar("select 1"); }), expected);
    EXPECT_EQ(FailureOf([&] { db.loadTable("select 1"); }), expected);
    EXPECT_EQ(FailureOf([&] { db.prepare("select 1"); }), expected);
    EXPECT_EQ(FailureOf([&] { db.hasTable("x"); }), expected);
    EXPECT_EQ(db.lastInsertRowId(), 0);
    db.close();
    db.close();
    EXPECT_FALSE(db.isOpen());

    SqliteDatabase moved;
    TempFolder folder;
    moved.open(folder / "m.db");
    SqliteDatabase taker(std::move(moved));
    EXPECT_EQ(FailureOf([&] { moved.runScalar("select 1"); }), expected);
    EXPECT_EQ(taker.runScalar("select 7"), 7);
}

TEST(SqliteDatabaseOpen, FailureCarriesTheCodeAndText) {
    SqliteDatabase db;
    EXPECT_EQ(FailureOf([&] { db.open("/no/such/folder/x.db"); }),
              "SQLITE_CANTOPEN[14]: unable to open database file");
    EXPECT_FALSE(db.isOpen());
}

TEST(SqliteDatabaseOpen, BusyTimeoutIsAppliedOnEveryOpen) {
    TempFolder folder;
    const std::string path = folder / "busy.db";
    SqliteDatabase holder;
    holder.open(path);
    holder.runStatement("create table t (x)");
    holder.runStatement("begin exclusive");

    SqliteDatabase waiter;
    EXPECT_EQ(waiter.busyTimeout(), 60000);
    waiter.setBusyTimeout(0);
    waiter.open(path);
    // With no wait the lock is reported at once.
    EXPECT_EQ(FailureOf([&] { waiter.runStatement("insert into t values (1)"); }),
              "SQLITE_BUSY[5]: database is locked");
    waiter.close();
    waiter.setBusyTimeout(150);
    waiter.open(path);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(FailureOf([&] { waiter.runStatement("insert into t values (1)"); }),
              "SQLITE_BUSY[5]: database is locked");
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    holder.runStatement("commit");
    EXPECT_EQ(waiter.runStatement("insert into t values (1)"), 1);
}

TEST_F(DatabaseTest, StatementsReportChangedRowsAndErrors) {
    EXPECT_EQ(db.runStatement("insert into pages (NAME, SIZE) values ('a', 1)"), 1);
    EXPECT_EQ(db.lastInsertRowId(), 1);
    EXPECT_EQ(db.runStatement("insert into pages (NAME, SIZE) values ('b', 2)"), 1);
    EXPECT_EQ(db.runStatement("update pages set SIZE = 5"), 2);
    EXPECT_EQ(FailureOf([&] { db.runStatement("insert into nowhere values (1)"); }),
              "SQLITE_ERROR[1]: no such table: nowhere");
    db.runStatement("create unique index byname on pages(NAME)");
    EXPECT_EQ(FailureOf([&] { db.runStatement("insert into pages (NAME) values ('a')"); }),
              "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: pages.NAME");
}

TEST_F(DatabaseTest, SyntaxErrorInAQueryGivesTheCodeAndNothingMore) {
    EXPECT_EQ(FailureOf([&] { db.runQuery("selec * from pages"); }), "SQLITE_ERROR[1]: ");
    EXPECT_EQ(FailureOf([&] { db.prepare("select * from nowhere"); }), "SQLITE_ERROR[1]: ");
    // Text without a statement is refused rather than taken for an empty result.
    for (const char* nothing : {"", "   ", "-- only a comment"}) {
        const std::string refused = "DBLAYER_ERROR[1000]: Null Virtual Machine pointer";
        EXPECT_EQ(FailureOf([&] { db.runQuery(nothing); }), refused) << nothing;
        EXPECT_EQ(FailureOf([&] { db.runScalar(nothing); }), refused) << nothing;
    }
}

TEST_F(DatabaseTest, ScalarQueries) {
    EXPECT_EQ(db.runScalar("select count(*) from pages"), 0);
    EXPECT_EQ(FailureOf([&] { db.runScalar("select SIZE from pages"); }),
              "DBLAYER_ERROR[1000]: Invalid scalar query");
    db.runStatement("insert into pages (NAME, SIZE) values ('12abc', NULL)");
    EXPECT_EQ(db.runScalar("select NAME from pages"), 12);
    EXPECT_EQ(db.runScalar("select SIZE from pages"), 0);
    EXPECT_EQ(db.runScalar("select 'none'"), 0);
}

TEST_F(DatabaseTest, HasTableQuotesTheName) {
    EXPECT_TRUE(db.hasTable("pages"));
    EXPECT_FALSE(db.hasTable("Pages2"));
    EXPECT_FALSE(db.hasTable("x' or '1'='1"));
    const std::string longName(300, 'n');
    EXPECT_FALSE(db.hasTable(longName));
    db.runStatement("create table \"" + longName + "\" (x)");
    EXPECT_TRUE(db.hasTable(longName));
    db.runStatement("create table \"it's\" (x)");
    EXPECT_TRUE(db.hasTable("it's"));
}

TEST_F(DatabaseTest, FormatQuotesValuesTheWaySqliteReadsThem) {
    SqliteFormat sql;
    const std::string name = "O'Brien";
    EXPECT_EQ(sql.format("insert into pages (NAME, SIZE) values (%Q, %d)", name, 3),
              "insert into pages (NAME, SIZE) values ('O''Brien', 3)");
    db.runStatement(sql.text());
    EXPECT_EQ(sql.format("select %Q, '%q', %s", nullptr, "a'b", "raw"), "select NULL, 'a''b', raw");
    EXPECT_EQ(db.runScalar(sql.format("select SIZE from pages where NAME = %Q", name)), 3);
}

TEST_F(DatabaseTest, PreparedStatementsBindAndRunAgain) {
    SqliteStatement insert = db.prepare("insert into pages (NAME, SIZE) values (?, ?)");
    insert.bindText(1, "first");
    insert.bindInt(2, 10);
    EXPECT_EQ(insert.runStatement(), 1);
    insert.bindText(1, "second");
    insert.bindNull(2);
    EXPECT_EQ(insert.runStatement(), 1);
    EXPECT_EQ(FailureOf([&] { insert.bindInt(3, 1); }),
              "SQLITE_RANGE[25]: Error binding int param");
    EXPECT_EQ(FailureOf([&] { insert.bindText(9, "x"); }),
              "SQLITE_RANGE[25]: Error binding string param");
    EXPECT_EQ(FailureOf([&] { insert.bindReal(0, 1.0); }),
              "SQLITE_RANGE[25]: Error binding double param");
    EXPECT_EQ(FailureOf([&] { insert.bindBlob(4, "x", 1); }),
              "SQLITE_RANGE[25]: Error binding blob param");
    EXPECT_EQ(FailureOf([&] { insert.bindNull(5); }), "SQLITE_RANGE[25]: Error binding NULL param");

    SqliteStatement select = db.prepare("select NAME, SIZE from pages where SIZE > ? order by ID");
    select.bindReal(1, 5.5);
    {
        SqliteCursor rows = select.runQuery();
        ASSERT_FALSE(rows.atEnd());
        EXPECT_EQ(rows.textValue("NAME"), "first");
        rows.advance();
        EXPECT_TRUE(rows.atEnd());
    }
    select.rewind();
    select.bindInt(1, 100);
    EXPECT_TRUE(select.runQuery().atEnd());

    // A row-returning statement is not a statement that changes data.
    SqliteStatement wrongKind = db.prepare("select 1");
    EXPECT_EQ(FailureOf([&] { wrongKind.runStatement(); }), "SQLITE_OK[0]: not an error");

    SqliteStatement unique = db.prepare("insert into pages (ID) values (1)");
    EXPECT_EQ(FailureOf([&] { unique.runStatement(); }),
              "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: pages.ID");
}

TEST_F(DatabaseTest, MovedOrReleasedStatementsRefuseWork) {
    SqliteStatement first = db.prepare("select 1");
    SqliteStatement second = std::move(first);
    const std::string nullMachine = "DBLAYER_ERROR[1000]: Null Virtual Machine pointer";
    EXPECT_EQ(FailureOf([&] { first.runQuery(); }), "DBLAYER_ERROR[1000]: Database not open");
    EXPECT_EQ(FailureOf([&] { first.bindInt(1, 1); }), nullMachine);
    EXPECT_NO_THROW(first.rewind());
    EXPECT_FALSE(second.runQuery().atEnd());
    second.release();
    EXPECT_EQ(FailureOf([&] { second.runStatement(); }), nullMachine);
    EXPECT_EQ(FailureOf([&] { db.prepare("   ").runStatement(); }), nullMachine);
}

TEST_F(DatabaseTest, ClosingWhileAStatementLivesIsSafe) {
    SqliteStatement select = db.prepare("select 1");
    SqliteCursor rows = db.runQuery("select 2");
    db.close();
    EXPECT_EQ(rows.intValue(0), 2);
    EXPECT_EQ(FailureOf([&] { db.runQuery("select 1"); }),
              "DBLAYER_ERROR[1000]: Database not open");
    EXPECT_EQ(FailureOf([&] { select.runQuery(); }), "DBLAYER_ERROR[1000]: Database not open");
    EXPECT_EQ(FailureOf([&] { select.runStatement(); }), "DBLAYER_ERROR[1000]: Database not open");
    select.release();
}

// Someone else's file: its views and triggers do not run, and a query that would never end is
// stopped by the budget.
TEST_F(DatabaseTest, AnUntrustedFileRunsNoViewNoTriggerAndNoEndlessQuery) {
    db.runStatement(
        "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);"
        "CREATE VIEW v AS SELECT a FROM t;");
    db.close();
    SqliteDatabase untrusted;
    untrusted.openUntrusted(folder / "test.db", 1'000'000);
    EXPECT_EQ(untrusted.runScalar("SELECT a FROM t"), 1);
    EXPECT_THROW(untrusted.runScalar("SELECT a FROM v"), SqliteException);
    EXPECT_THROW(untrusted.runScalar("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                                     "FROM c) SELECT count(*) FROM c"),
                 SqliteException);
    EXPECT_THROW(untrusted.runStatement("INSERT INTO t VALUES (2)"), SqliteException);
}
