#include "store/ftp_login_store.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"

namespace {

constexpr const char* kNoServer = "NOSERVER";

bool HasProtocolColumn(SqliteDatabase& db) {
    return db.runScalar(
               "SELECT count(*) FROM pragma_table_info('ftplogin') WHERE name = "
               "'PROTOCOL'") > 0;
}

}  // namespace

StoredFtpLogin LoadFtpLogin(SqliteDatabase& db) {
    const bool hasProtocol = HasProtocolColumn(db);
    SqliteCursor row =
        db.runQuery(hasProtocol ? "SELECT SERVERNAME,USERNAME,PASSWORD,PROTOCOL FROM ftplogin "
                                : "SELECT SERVERNAME,USERNAME,PASSWORD FROM ftplogin ");
    StoredFtpLogin login;
    if (!row.atEnd() && row.textValue(0).find(kNoServer) == std::string::npos) {
        login.remembered = true;
        login.server = row.textValue(0);
        login.user = row.textValue(1);
        login.password = row.textValue(2);
        login.protocol = hasProtocol ? row.textValue(3) : std::string();
    }
    return login;
}

void SaveFtpLogin(SqliteDatabase& db, const StoredFtpLogin& login) {
    if (!HasProtocolColumn(db)) {
        db.runStatement("ALTER TABLE ftplogin ADD COLUMN PROTOCOL TEXT");
    }
    SqliteStatement update =
        db.prepare("UPDATE ftplogin SET SERVERNAME = ?1,USERNAME = ?2,PASSWORD = ?3,PROTOCOL = ?4");
    update.bindText(1, login.remembered ? login.server : kNoServer);
    update.bindText(2, login.remembered ? login.user : "0");
    update.bindText(3, login.remembered ? login.password : "0");
    update.bindText(4, login.remembered ? login.protocol : "ftp");
    update.runStatement();
}

std::string RememberedFtpPassword(SqliteDatabase& db, const std::string& user,
                                  const std::string& server, const std::string& serverWithScheme) {
    SqliteStatement lookup = db.prepare(
        "SELECT PASSWORD FROM ftplogin WHERE (SERVERNAME = ?1 OR SERVERNAME = ?3) "
        "AND USERNAME = ?2");
    lookup.bindText(1, server);
    lookup.bindText(2, user);
    lookup.bindText(3, serverWithScheme);
    SqliteCursor row = lookup.runQuery();
    return row.atEnd() ? std::string() : row.textValue(0);
}
