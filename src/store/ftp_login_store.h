#pragma once

#include <string>

class SqliteDatabase;

// The uploader's remembered login: the one ftplogin row of the page store. SERVERNAME
// "NOSERVER" means none is remembered. The protocol is a PROTOCOL column that the first save
// adds to stores older than it; a row without it reads as "ftp".
struct StoredFtpLogin {
    bool remembered = false;
    std::string server;
    std::string user;
    std::string password;
    std::string protocol;
};

// Raise SqliteException like every store call.
StoredFtpLogin LoadFtpLogin(SqliteDatabase& db);
// Stores the login, or forgets it when it is not remembered.
void SaveFtpLogin(SqliteDatabase& db, const StoredFtpLogin& login);
// The remembered password of a user on a server written any of the given ways; empty when none.
std::string RememberedFtpPassword(SqliteDatabase& db, const std::string& user,
                                  const std::string& server, const std::string& serverWithScheme);
