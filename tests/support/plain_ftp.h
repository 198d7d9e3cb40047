#pragma once

#include <string>

#include "common/paths.h"
#include "store/db/sqlite_database.h"
#include "store/server_trust_store.h"

// The test FTP server speaks no TLS: as if the user had agreed once to plain FTP with it.
inline void AcceptPlainFtp(const std::string& workingFolder, int port) {
    SqliteDatabase db;
    db.open(JoinPath(workingFolder, "quilldata.db"));
    ServerTrust trust;
    trust.plainAccepted = true;
    SaveServerTrust(db, "127.0.0.1:" + std::to_string(port), trust);
}
