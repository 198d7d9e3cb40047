#include "store/ftp_login_store.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"
#include "store/table_columns.h"

namespace {

constexpr const char* kNoServer = "NOSERVER";

// The columns later versions added, as a select list ("NULL" where a store lacks one).
std::string LaterColumns(SqliteDatabase& db) {
    return std::string(HasColumn(db, "ftplogin", "PROTOCOL") ? ",PROTOCOL" : ",NULL") +
           (HasColumn(db, "ftplogin", "KEYRING") ? ",KEYRING" : ",NULL");
}

StoredFtpLogin ReadLogin(SqliteCursor& row) {
    StoredFtpLogin login;
    if (!row.atEnd() && row.textValue(0).find(kNoServer) == std::string::npos) {
        login.remembered = true;
        login.server = row.textValue(0);
        login.user = row.textValue(1);
        login.password = row.textValue(2);
        login.protocol = row.textValue(3);
        login.inKeyring = row.intValue(4) == 1;
    }
    return login;
}

}  // namespace

StoredFtpLogin LoadFtpLogin(SqliteDatabase& db) {
    SqliteCursor row =
        db.runQuery("SELECT SERVERNAME,USERNAME,PASSWORD" + LaterColumns(db) + " FROM ftplogin ");
    return ReadLogin(row);
}

void SaveFtpLogin(SqliteDatabase& db, const StoredFtpLogin& login) {
    for (const char* column : {"PROTOCOL TEXT", "KEYRING INTEGER"}) {
        const std::string name = std::string(column).substr(0, std::string(column).find(' '));
        if (!HasColumn(db, "ftplogin", name)) {
            db.runStatement("ALTER TABLE ftplogin ADD COLUMN " + std::string(column));
        }
    }
    SqliteStatement update = db.prepare(
        "UPDATE ftplogin SET SERVERNAME = ?1,USERNAME = ?2,PASSWORD = ?3,PROTOCOL = ?4,"
        "KEYRING = ?5");
    update.bindText(1, login.remembered ? login.server : kNoServer);
    update.bindText(2, login.remembered ? login.user : "0");
    update.bindText(3, login.remembered ? login.password : "0");
    update.bindText(4, login.remembered ? login.protocol : "ftp");
    update.bindInt(5, login.remembered && login.inKeyring ? 1 : 0);
    update.runStatement();
}

StoredFtpLogin RememberedFtpLogin(SqliteDatabase& db, const std::string& user,
                                  const std::string& server, const std::string& serverWithScheme) {
    SqliteStatement lookup = db.prepare("SELECT SERVERNAME,USERNAME,PASSWORD" + LaterColumns(db) +
                                        " FROM ftplogin WHERE (SERVERNAME = ?1 OR SERVERNAME = "
                                        "?3) AND USERNAME = ?2");
    lookup.bindText(1, server);
    lookup.bindText(2, user);
    lookup.bindText(3, serverWithScheme);
    SqliteCursor row = lookup.runQuery();
    return ReadLogin(row);
}

std::string KeyringName(const StoredFtpLogin& login) {
    return "ftp login " + login.user + "@" + login.server;
}
