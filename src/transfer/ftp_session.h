#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FtpEngine;
class PasswordVault;
class Prompts;

// How the uploader reaches the server: FTP with TLS when the server offers it, FTP that refuses
// a server which does not encrypt the login and the files, or SFTP (SSH).
enum class TransferProtocol { Ftp, FtpTlsRequired, Sftp };

// The protocol's name in the remembered login ("ftp", "ftp-tls", "sftp"); a name it does not
// know, or none (a login remembered before protocols were), reads as FTP.
std::string ProtocolName(TransferProtocol protocol);
TransferProtocol ProtocolNamed(const std::string& name);

// What the uploader window shows: the login, the server pane and the local pane. The window
// copies its controls into this before an operation and shows it again afterwards.
struct FtpPanes {
    std::string server;
    std::string user;
    std::string password;
    bool remember = false;
    // A scheme typed in the server field ("sftp://", "ftp://") chooses the protocol.
    TransferProtocol protocol = TransferProtocol::Ftp;
    bool connected = false;
    // The current server folder.
    std::string serverFolder;
    // Entries as the lists show them, sorted; folders as "name  [FOLDER]".
    std::vector<std::string> serverEntries;
    std::vector<std::size_t> serverSelection;
    std::optional<std::size_t> serverCaret;
    std::string localFolder;
    std::vector<std::string> localEntries;
    std::vector<std::size_t> localSelection;
    std::optional<std::size_t> localCaret;
};

// The uploader's work on one FTP server and one local folder: logging in, browsing, making and
// deleting server entries, and moving files between the panes. Every outcome is a message.
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
    void refreshServerList();
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
    bool callTheDriver(char kind, long long expected);
    class Questions;
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
    FtpPanes panes_;
    std::unique_ptr<FtpEngine> engine_;
    long stallSeconds_ = 30;
    bool toldClearFiles_ = false;
    std::string accountRoot_;
};

// The folder above: everything before the last separator ("/a/b" gives "/a"); the root of the
// file system stays where it is, and the parent of a top folder is the root.
std::string LocalFolderAbove(const std::string& folder);
// The server folder above, by the server's "/": "/a/b" gives "/a", "/a" gives "/".
std::string ServerFolderAbove(const std::string& folder);
