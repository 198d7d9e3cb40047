#include "store/server_trust_store.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"

ServerTrust LoadServerTrust(SqliteDatabase& db, const std::string& server) {
    ServerTrust trust;
    if (!db.hasTable("ftptrust")) {
        return trust;
    }
    SqliteStatement lookup = db.prepare("SELECT PIN,TLS,PLAIN FROM ftptrust WHERE SERVER = ?1");
    lookup.bindText(1, server);
    SqliteCursor row = lookup.runQuery();
    if (!row.atEnd()) {
        trust.pin = row.textValue(0);
        trust.speaksTls = row.textValue(1) == "1";
        trust.plainAccepted = row.textValue(2) == "1";
    }
    return trust;
}

void SaveServerTrust(SqliteDatabase& db, const std::string& server, const ServerTrust& trust) {
    db.runStatement(
        "CREATE TABLE IF NOT EXISTS ftptrust (SERVER TEXT PRIMARY KEY, PIN TEXT, TLS INTEGER, "
        "PLAIN INTEGER)");
    SqliteStatement save =
        db.prepare("INSERT OR REPLACE INTO ftptrust (SERVER,PIN,TLS,PLAIN) VALUES (?1,?2,?3,?4)");
    save.bindText(1, server);
    save.bindText(2, trust.pin);
    save.bindInt(3, trust.speaksTls ? 1 : 0);
    save.bindInt(4, trust.plainAccepted ? 1 : 0);
    save.runStatement();
}
