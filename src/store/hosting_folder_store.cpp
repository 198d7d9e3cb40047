#include "store/hosting_folder_store.h"

#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"

namespace {

struct Halves {
    std::string before;
    std::string after;
};

// The text split at its first "|"; all of it before when there is none.
Halves SplitAtFirstBar(const std::string& text) {
    const std::size_t bar = text.find('|');
    if (bar == std::string::npos) {
        return {text, std::string()};
    }
    return {text.substr(0, bar), text.substr(bar + 1)};
}

}  // namespace

HostingFolder LoadHostingFolder(SqliteDatabase& db) {
    HostingFolder folder;
    SqliteCursor rows = db.runQuery("SELECT LASTDIRECTORY,LASTFILE FROM lastsession ");
    if (rows.atEnd()) {
        return folder;
    }
    const Halves directory = SplitAtFirstBar(rows.textValue(0));
    const Halves file = SplitAtFirstBar(rows.textValue(1));
    folder.folderName = directory.before;
    folder.folderId = directory.after;
    folder.password = file.before;
    folder.scriptAddress = file.after;
    return folder;
}

void SaveNewHostingFolder(SqliteDatabase& db, const HostingFolder& folder) {
    SqliteStatement insert =
        db.prepare("INSERT INTO lastsession (LASTDIRECTORY,LASTFILE) VALUES(?1,?2)");
    insert.bindText(1, folder.folderName + "|" + folder.folderId);
    insert.bindText(2, folder.password + "|" + folder.scriptAddress);
    insert.runStatement();
}

void SaveFolderNameChange(SqliteDatabase& db, const HostingFolder& folder) {
    SqliteStatement update = db.prepare("UPDATE lastsession SET LASTDIRECTORY = ?1");
    update.bindText(1, folder.folderName + "|" + folder.folderId);
    update.runStatement();
}
