#pragma once

#include "page/hosting_folder.h"

class PasswordVault;
class SqliteDatabase;

// The stored record, or the record of no folder when none is stored. Raises SqliteException.
// With a keyring that answers, the folder's password lives there ("KEYRING" in the row); a
// password an earlier version stored in the row moves there on first use.
HostingFolder LoadHostingFolder(SqliteDatabase& db, PasswordVault* vault = nullptr);
// Stores the folder just registered: one row, the name and id in LASTDIRECTORY, the password
// (or "KEYRING" when the keyring took it) and script address in LASTFILE, each pair joined by
// "|". Raises SqliteException.
void SaveNewHostingFolder(SqliteDatabase& db, const HostingFolder& folder,
                          PasswordVault* vault = nullptr);
// Stores the folder's new name. Raises SqliteException.
void SaveFolderNameChange(SqliteDatabase& db, const HostingFolder& folder);
