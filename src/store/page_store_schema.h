#pragma once

class SqliteDatabase;

// Creates whatever is missing of the page store: the page table, its child tables, the hosting
// folder table (empty) and the FTP login table with its one row. Existing tables and rows are
// left as they are, so a database from an earlier version keeps its layout. Raises
// SqliteException.
void CreatePageStore(SqliteDatabase& db);
