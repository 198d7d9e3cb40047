#pragma once

#include <string>

class SqliteDatabase;

// What the program learned of an FTP server's security, kept per server ("host:port") in an
// ftptrust table made on first use; the uploader window and quillora-publish share it.
struct ServerTrust {
    // The certificate key the user accepted although it does not verify ("sha256//...").
    std::string pin;
    // The server spoke TLS: a later connection without it is refused.
    bool speaksTls = false;
    // The user agreed to plain FTP with this server.
    bool plainAccepted = false;
};

// Raise SqliteException like every store call; a store without the table knows nothing.
ServerTrust LoadServerTrust(SqliteDatabase& db, const std::string& server);
void SaveServerTrust(SqliteDatabase& db, const std::string& server, const ServerTrust& trust);
