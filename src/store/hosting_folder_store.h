#pragma once

#include "page/hosting_folder.h"

class SqliteDatabase;

// The stored record, or the record of no folder when none is stored. Raises SqliteException.
HostingFolder LoadHostingFolder(SqliteDatabase& db);
// Stores the folder just registered: one row, the name and id in LASTDIRECTORY, the password
// and script address in LASTFILE, each pair joined by "|". Raises SqliteException.
void SaveNewHostingFolder(SqliteDatabase& db, const HostingFolder& folder);
// Stores the folder's new name. Raises SqliteException.
void SaveFolderNameChange(SqliteDatabase& db, const HostingFolder& folder);
