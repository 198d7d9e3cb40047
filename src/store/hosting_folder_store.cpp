#include "store/hosting_folder_store.h"

#include "platform/password_vault.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
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

// The row's password field when the keyring holds the password (folder passwords are digits).
constexpr const char* kInKeyring = "KEYRING";

std::string KeyringName(const HostingFolder& folder) {
    return "hosting folder " + folder.folderId;
}

// The keyring takes the password; false when there is none or it refuses.
bool KeepInKeyring(const HostingFolder& folder, PasswordVault* vault) {
    return vault != nullptr && vault->available() &&
           vault->store(KeyringName(folder), folder.password);
}

void UpdatePasswordField(SqliteDatabase& db, const HostingFolder& folder,
                         const std::string& field) {
    SqliteStatement update = db.prepare("UPDATE lastsession SET LASTFILE = ?1");
    update.bindText(1, field + "|" + folder.scriptAddress);
    update.runStatement();
}

}  // namespace

HostingFolder LoadHostingFolder(SqliteDatabase& db, PasswordVault* vault) {
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
    if (folder.password == kInKeyring) {
        folder.password = vault != nullptr
                              ? vault->read(KeyringName(folder)).value_or(std::string())
                              : std::string();
    } else if (folder.exists() && KeepInKeyring(folder, vault)) {
        try {
            UpdatePasswordField(db, folder, kInKeyring);
        } catch (const SqliteException&) {
            // A store opened only for reading keeps the password in its row for now.
        }
    }
    return folder;
}

void SaveNewHostingFolder(SqliteDatabase& db, const HostingFolder& folder, PasswordVault* vault) {
    SqliteStatement insert =
        db.prepare("INSERT INTO lastsession (LASTDIRECTORY,LASTFILE) VALUES(?1,?2)");
    insert.bindText(1, folder.folderName + "|" + folder.folderId);
    insert.bindText(2, (KeepInKeyring(folder, vault) ? std::string(kInKeyring) : folder.password) +
                           "|" + folder.scriptAddress);
    insert.runStatement();
}

void SaveFolderNameChange(SqliteDatabase& db, const HostingFolder& folder) {
    SqliteStatement update = db.prepare("UPDATE lastsession SET LASTDIRECTORY = ?1");
    update.bindText(1, folder.folderName + "|" + folder.folderId);
    update.runStatement();
}
