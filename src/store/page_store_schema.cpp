#include "store/page_store_schema.h"

#include "store/db/sqlite_database.h"
#include "store/db/sqlite_transaction.h"

namespace {

constexpr const char* kTables =
    "CREATE TABLE IF NOT EXISTS quillprojects (ID INTEGER PRIMARY KEY, DIRECTORY TEXT, "
    "FILENAME TEXT, PAGETITLE TEXT, BACKIMAGE TEXT, PAGEIMAGE TEXT, BACKCOLOR TEXT, "
    "PAGECOLOR TEXT, PAGECONTAINER TEXT, PAGEWIDTH TEXT, STYLESDATA TEXT, PAGELENGTH TEXT, "
    "ELEMENTCOUNT INTEGER);"
    "CREATE TABLE IF NOT EXISTS pagetexts (PROJECTID INTEGER, TEXTDATA TEXT);"
    "CREATE TABLE IF NOT EXISTS textproperties (PROJECTID INTEGER, PROPERTIESDATA TEXT);"
    "CREATE TABLE IF NOT EXISTS pageimages (PROJECTID INTEGER, IMAGESOURCE TEXT, LINKINFO TEXT);"
    "CREATE TABLE IF NOT EXISTS rtftexts (PROJECTID INTEGER, RTFDATA TEXT);"
    "CREATE TABLE IF NOT EXISTS lastsession (LASTDIRECTORY TEXT, LASTFILE TEXT);"
    "CREATE TABLE IF NOT EXISTS ftplogin (SERVERNAME TEXT, USERNAME TEXT, PASSWORD TEXT);"
    // Child rows are read and replaced by page; without these every load scans all pages.
    "CREATE INDEX IF NOT EXISTS pagetexts_page ON pagetexts (PROJECTID);"
    "CREATE INDEX IF NOT EXISTS textproperties_page ON textproperties (PROJECTID);"
    "CREATE INDEX IF NOT EXISTS pageimages_page ON pageimages (PROJECTID);"
    "CREATE INDEX IF NOT EXISTS rtftexts_page ON rtftexts (PROJECTID);"
    "INSERT INTO ftplogin (SERVERNAME, USERNAME, PASSWORD) "
    "SELECT 'NOSERVER', '0', '0' WHERE NOT EXISTS (SELECT 1 FROM ftplogin);";

}  // namespace

void CreatePageStore(SqliteDatabase& db) {
    SqliteTransaction transaction(db);
    db.runStatement(kTables);
    transaction.commit();
}
