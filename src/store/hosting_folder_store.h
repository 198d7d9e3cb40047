#pragma once

#include "page/hosting_folder.h"

class SqliteDatabase;

// The stored record, or the record of no folder when none is stored. Raises SqliteException.
HostingFolder LoadHostingFolder(SqliteDatabase& db);
