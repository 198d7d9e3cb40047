#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "support/failure_of.h"
#include "support/temp_folder.h"

namespace {

class ResultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.open(folder / "results.db");
        db.runStatement(
            "create table items (ID integer, WORD varchar(20), PRICE real, DATA blob);"
            "insert into items values (1, 'one', 1.5, x'00FF10');"
            "insert into items values (NULL, NULL, NULL, NULL);"
            "insert into items values (3, '3rd', 2.25, 'abc');");
    }
    TempFolder folder;
    SqliteDatabase db;
};

const std::string kNullMachine = "DBLAYER_ERROR[1000]: Null Virtual Machine pointer";
const std::string kBadName = "DBLAYER_ERROR[1000]: Invalid field name requested";
const std::string kBadIndex = "DBLAYER_ERROR[1000]: Invalid field index requested";

}  // namespace

TEST_F(ResultsTest, CursorWalksRowsWithTypedAccess) {
    SqliteCursor rows = db.runQuery("select ID, WORD, PRICE, DATA from items order by rowid");
    ASSERT_EQ(rows.columnCount(), 4);
    EXPECT_EQ(rows.columnName(1), "WORD");
    EXPECT_EQ(rows.columnDeclaredType(1), "varchar(20)");
    EXPECT_EQ(rows.columnType(0), SQLITE_INTEGER);
    EXPECT_EQ(rows.intValue("ID"), 1);
    EXPECT_EQ(rows.text(1), "one");
    EXPECT_DOUBLE_EQ(rows.realValue(2), 1.5);
    EXPECT_EQ(rows.blobValue("DATA"), std::string("\x00\xFF\x10", 3));
    EXPECT_FALSE(rows.isNull(0));

    rows.advance();
    EXPECT_TRUE(rows.isNull("ID"));
    EXPECT_EQ(rows.intValue("ID", -5), -5);
    EXPECT_DOUBLE_EQ(rows.realValue("PRICE", 9.5), 9.5);
    EXPECT_EQ(rows.textValue("WORD", "(none)"), "(none)");
    EXPECT_EQ(rows.textValue("WORD"), "");
    EXPECT_EQ(rows.blobValue(3), "");
    EXPECT_EQ(FailureOf([&] { rows.text("WORD"); }), "DBLAYER_ERROR[1000]: Null text value");

    rows.advance();
    EXPECT_EQ(rows.textValue(1), "3rd");
    EXPECT_FALSE(rows.atEnd());
    rows.advance();
    EXPECT_TRUE(rows.atEnd());
    rows.advance();
    EXPECT_TRUE(rows.atEnd());
}

TEST_F(ResultsTest, CursorColumnLookupIsExact) {
    SqliteCursor rows = db.runQuery("select ID as ID, WORD from items");
    EXPECT_EQ(FailureOf([&] { rows.intValue("id"); }), kBadName);
    EXPECT_EQ(FailureOf([&] { rows.intValue(static_cast<const char*>(nullptr)); }), kBadName);
    EXPECT_EQ(FailureOf([&] { rows.textValue("NOPE"); }), kBadName);
    EXPECT_EQ(FailureOf([&] { rows.intValue(2); }), kBadIndex);
    EXPECT_EQ(FailureOf([&] { rows.columnName(-1); }), kBadIndex);
    // The first of two equal names wins.
    SqliteCursor twice = db.runQuery("select 'a' as X, 'b' as X");
    EXPECT_EQ(twice.textValue("X"), "a");
}

TEST_F(ResultsTest, EmptyQueryGivesACursorAtEnd) {
    SqliteCursor rows = db.runQuery("select * from items where ID = 99");
    EXPECT_TRUE(rows.atEnd());
    EXPECT_EQ(rows.columnCount(), 4);
}

TEST_F(ResultsTest, MovedOrReleasedCursorRefusesEveryOperation) {
    SqliteCursor rows = db.runQuery("select ID from items");
    SqliteCursor taken = std::move(rows);
    EXPECT_EQ(FailureOf([&] { rows.atEnd(); }), kNullMachine);
    EXPECT_EQ(FailureOf([&] { rows.intValue(0); }), kNullMachine);
    EXPECT_EQ(FailureOf([&] { rows.advance(); }), kNullMachine);
    EXPECT_EQ(FailureOf([&] { rows.columnCount(); }), kNullMachine);
    EXPECT_EQ(taken.intValue(0), 1);
    taken.release();
    EXPECT_EQ(FailureOf([&] { taken.textValue(0); }), kNullMachine);
    EXPECT_NO_THROW(taken.release());
    SqliteCursor none;
    EXPECT_EQ(FailureOf([&] { none.isNull(0); }), kNullMachine);
}

TEST_F(ResultsTest, StepFailureEndsTheCursorWithTheError) {
    db.runStatement("create table big (x)");
    db.runStatement("insert into big values (1), (2)");
    // abs() of the smallest integer overflows on the second row.
    db.runStatement("insert into big values (-9223372036854775808)");
    SqliteCursor rows = db.runQuery("select abs(x) from big order by rowid");
    rows.advance();
    EXPECT_EQ(FailureOf([&] { rows.advance(); }), "SQLITE_ERROR[1]: integer overflow");
    EXPECT_EQ(FailureOf([&] { rows.intValue(0); }), kNullMachine);

    // A cursor of a prepared statement hands the failure back without finalising it.
    SqliteStatement statement = db.prepare("select abs(x) from big order by rowid");
    {
        SqliteCursor borrowed = statement.runQuery();
        borrowed.advance();
        EXPECT_EQ(FailureOf([&] { borrowed.advance(); }), "SQLITE_ERROR[1]: integer overflow");
    }
    statement.rewind();
    EXPECT_EQ(statement.runQuery().intValue(0), 1);
}

TEST_F(ResultsTest, TableGivesRowsByIndexAndName) {
    SqliteResultTable table = db.loadTable("select ID, WORD, PRICE from items order by rowid");
    ASSERT_EQ(table.rowCount(), 3);
    ASSERT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.columnName(2), "PRICE");
    EXPECT_EQ(table.intValue("ID"), 1);
    EXPECT_EQ(table.textValue(1), "one");
    EXPECT_DOUBLE_EQ(table.realValue("PRICE"), 1.5);
    table.selectRow(1);
    EXPECT_TRUE(table.isNull("WORD"));
    EXPECT_EQ(table.intValue(0, 77), 77);
    EXPECT_DOUBLE_EQ(table.realValue(2, 0.5), 0.5);
    EXPECT_EQ(table.textValue("WORD", "-"), "-");
    table.selectRow(2);
    EXPECT_EQ(table.intValue("WORD"), 3);  // leading integer of "3rd"
    EXPECT_DOUBLE_EQ(table.realValue(2), 2.25);

    EXPECT_EQ(FailureOf([&] { table.selectRow(3); }),
              "DBLAYER_ERROR[1000]: Invalid row index requested");
    EXPECT_EQ(FailureOf([&] { table.selectRow(-1); }),
              "DBLAYER_ERROR[1000]: Invalid row index requested");
    EXPECT_EQ(FailureOf([&] { table.textValue("word"); }), kBadName);
    EXPECT_EQ(FailureOf([&] { table.textValue(3); }), kBadIndex);
    EXPECT_EQ(FailureOf([&] { table.columnName(3); }), kBadIndex);
}

TEST_F(ResultsTest, EmptyOrMovedTableIsRefusedNotRead) {
    SqliteResultTable empty = db.loadTable("select ID from items where ID = 42");
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_EQ(
        FailureOf([&] { empty.intValue(0); }),
        empty.columnCount() == 0 ? kBadIndex : "DBLAYER_ERROR[1000]: Invalid row index requested");

    SqliteResultTable table = db.loadTable("select ID from items");
    SqliteResultTable taken = std::move(table);
    const std::string nullResults = "DBLAYER_ERROR[1000]: Null Results pointer";
    EXPECT_EQ(FailureOf([&] { table.rowCount(); }), nullResults);
    EXPECT_EQ(FailureOf([&] { table.textValue(0); }), nullResults);
    EXPECT_EQ(FailureOf([&] { table.selectRow(0); }), nullResults);
    EXPECT_EQ(taken.rowCount(), 3);
    EXPECT_EQ(FailureOf([&] { db.loadTable("select * from nowhere"); }),
              "SQLITE_ERROR[1]: no such table: nowhere");
}
