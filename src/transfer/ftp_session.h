#pragma once

#include <memory>
#include <string>

#include "transfer/ftp_listing.h"
#include "transfer/ftp_panes.h"

class FtpEngine;
class SentRecord;
class PasswordVault;
class Prompts;

// The uploader's work on one FTP server and one local folder: logging in, browsing, making and
// deleting server entries, and moving files between the panes. Every outcome is a message.
// Split by job: ftp_session.cpp (the login and the server pane), ftp_session_transfers.cpp,
// ftp_session_local.cpp (the local pane) and ftp_session_login.cpp (the remembered login).
class FtpSession {
  public:
    // The login is remembered in the page store of the working folder; the engine's log goes
    // there too.
    // Remembered passwords go to the keyring when one answers (the vault may be none).
    FtpSession(std::string workingFolder, std::string localFolder, Prompts& prompts,
               PasswordVault* vault = nullptr);
    ~FtpSession();

    FtpPanes& panes() { return panes_; }

    void connect();
    // False when the folder could not be listed (the failure told).
    bool refreshServerList();
    void openServerFolder();
    void serverFolderUp();
    void makeServerFolder();
    void deleteServerItems();
    void uploadFiles();
    void downloadFiles();
    // New session: the login fields and the server pane are emptied.
    void disconnect();
    // The window closes: the connection ends and the login is stored or forgotten.
    void close();
    // How long a transfer may go without moving a byte before it fails (30 s unless set).
    void setStallLimit(long seconds) { stallSeconds_ = seconds; }

    void browseLocalFolder();
    void openLocalFolder();
    void localFolderUp();
    void fillLocalList();

    void loadLogin();
    void saveLogin();
    // Where a remembered password is kept, in a sentence for the login window.
    std::string passwordPlace();

  private:
    // False, after the message, when there is no connection.
    bool connected();
    void showError(int code);
    // Moves the transfer started last; the notice shows how much of the expected size moved.
    enum class Driven { Done, Failed, Cancelled };
    Driven callTheDriver(char kind, long long expected);
    // After uploads from a site folder: the pages deleted from it that the server folder holds
    // as this program sent them are removed there, each told first.
    void removeDeletedPages(SentRecord& record);
    // The name of the record of what was sent to the server folder shown.
    std::string sentRecordTarget() const;
    // After uploads: the files the server confirmed but its listing does not hold whole.
    void tellNotHeldWhole(const std::vector<SentFile>& sent);
    // Once a session: the files travel in clear although the login was encrypted.
    void tellClearFiles();
    void tellChangedHostKey(const std::string& server);
    // A broken or cancelled upload left its part file on the server.
    void tellLeftPartFile();
    // The address the engine logs in to, in the protocol's scheme.
    std::string engineAddress() const;
    void showServerEntries();
    void endEngine();

    // Keeps the page store readable by the user alone while it holds a password.
    void keepStorePrivate();

    std::string workingFolder_;
    Prompts& prompts_;
    PasswordVault* vault_;
    // The keyring name of the login loaded, so that forgetting it clears the keyring too.
    std::string loadedKeyringName_;
    // The login loaded keeps its password in a keyring that did not answer.
    bool keyringUnread_ = false;
    FtpPanes panes_;
    std::unique_ptr<FtpEngine> engine_;
    long stallSeconds_ = 30;
    bool toldClearFiles_ = false;
    std::string accountRoot_;
    // The login of the connection that is open (see LoginOf).
    std::string connectedTo_;
};
