#include "transfer/ftp_session.h"

#include <filesystem>

#include "common/paths.h"
#include "page/working_files.h"
#include "platform/password_vault.h"
#include "platform/prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/ftp_login_store.h"
#include "transfer/ftp_panes.h"
#include "transfer/server_login.h"
#include "transfer/server_names.h"

// The uploader's remembered login: kept in the working folder's store, its password in the
// keyring when one answers.

void FtpSession::loadLogin() {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder_, kPageStoreFile));
        StoredFtpLogin login = LoadFtpLogin(db);
        if (!login.remembered) {
            return;
        }
        loadedKeyringName_ = KeyringName(login);
        keyringUnread_ = false;
        if (login.inKeyring) {
            const std::optional<std::string> kept =
                vault_ != nullptr ? vault_->read(loadedKeyringName_) : std::nullopt;
            // A keyring that does not answer now still holds it: the close must not forget it.
            keyringUnread_ = !kept;
            login.password = kept.value_or(std::string());
        } else if (!login.password.empty() && vault_ != nullptr && vault_->available() &&
                   vault_->store(loadedKeyringName_, login.password)) {
            // A password an earlier version kept in the store moves to the keyring.
            StoredFtpLogin moved = login;
            moved.password.clear();
            moved.inKeyring = true;
            SaveFtpLogin(db, moved);
        }
        panes_.remember = true;
        panes_.server = login.server;
        panes_.user = login.user;
        panes_.password = login.password;
        panes_.protocol = ProtocolNamed(login.protocol);
    } catch (const SqliteException& failure) {
        prompts_.messageBox(failure.message(), "db error", MessageButtons::Ok, MessageIcon::None);
    }
}

void FtpSession::saveLogin() {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder_, kPageStoreFile));
        // A login typed into the server field ("sftp://me:pw@host") is kept in its own fields:
        // the server's name never holds a password, nor does the keyring item's name.
        const ServerAddress typed = ParseServerAddress(panes_.server);
        StoredFtpLogin login{
            panes_.remember,
            typed.withoutLogin(),
            panes_.user.empty() ? typed.user : panes_.user,
            panes_.password.empty() ? typed.password.value_or(std::string()) : panes_.password,
            ProtocolName(panes_.protocol),
            false};
        const std::string name = KeyringName(login);
        if (panes_.remember && keyringUnread_ && login.password.empty() &&
            name == loadedKeyringName_) {
            login.inKeyring = true;
            SaveFtpLogin(db, login);
            return;
        }
        if (vault_ != nullptr && !loadedKeyringName_.empty() &&
            (!panes_.remember || loadedKeyringName_ != name)) {
            vault_->forget(loadedKeyringName_);
        }
        if (panes_.remember && !login.password.empty() && vault_ != nullptr &&
            vault_->available() && vault_->store(name, login.password)) {
            login.password.clear();
            login.inKeyring = true;
        }
        SaveFtpLogin(db, login);
        loadedKeyringName_ = panes_.remember ? name : std::string();
        if (panes_.remember && !login.inKeyring) {
            keepStorePrivate();
        }
    } catch (const SqliteException& failure) {
        prompts_.messageBox(failure.message(), "db error", MessageButtons::Ok, MessageIcon::None);
    }
}

void FtpSession::keepStorePrivate() {
    std::error_code error;
    std::filesystem::permissions(
        JoinPath(workingFolder_, kPageStoreFile),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
}

std::string FtpSession::passwordPlace() {
    if (vault_ != nullptr && vault_->available()) {
        return "A remembered password is kept in your desktop's keyring.";
    }
    return "No keyring answers: a remembered password is kept in quilldata.db in " +
           workingFolder_ + ", readable only by you.";
}
