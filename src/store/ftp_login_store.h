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
    // Empty when the password is kept in the desktop's keyring.
    std::string password;
    std::string protocol;
    // The password is in the keyring (a KEYRING column that the first save adds).
    bool inKeyring = false;
};

// Raise SqliteException like every store call.
StoredFtpLogin LoadFtpLogin(SqliteDatabase& db);
// Stores the login, or forgets it when it is not remembered.
void SaveFtpLogin(SqliteDatabase& db, const StoredFtpLogin& login);
// The remembered login of a user on a server written any of the given ways; not remembered when
// there is none.
StoredFtpLogin RememberedFtpLogin(SqliteDatabase& db, const std::string& user,
                                  const std::string& server, const std::string& serverWithScheme);
// The name a remembered password has in the keyring.
std::string KeyringName(const StoredFtpLogin& login);
