#pragma once

#include <cstdio>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ftp/ftp_listing.h"
#include "ftp/ssh_host_keys.h"

// The file transfer layer of the uploader, on libcurl: one connection to one server, a current
// server folder and a local folder, listings, binary transfers stepped by a driver loop, and a
// log of the conversation in conftp.log. It speaks FTP, with TLS (explicit, AUTH TLS) asked for
// and used when the server offers it, or SFTP when the server is given as "sftp://host[:port]":
// the host key is checked against the user's known_hosts, and the login offers the password,
// the user's key (~/.ssh/id_ed25519 or id_rsa) and the SSH agent. Calls that can fail give a
// negative code (libcurl's, negated).
class FtpEngine {
  public:
    // A server whose certificate does not verify: it is used only after the user agreed.
    static constexpr int kUnverifiedCertificate = -60;
    // A server whose key differs from the one the user accepted.
    static constexpr int kChangedCertificate = -90;
    // A server that offers no TLS where it is required.
    static constexpr int kNoTls = -64;
    // An SFTP server whose host key known_hosts does not hold: used only after the user agreed.
    static constexpr int kUnknownHostKey = -1001;
    // An SFTP server whose host key differs from the one known_hosts holds for it.
    static constexpr int kChangedHostKey = -1002;

    explicit FtpEngine(std::string logPath);
    ~FtpEngine();
    FtpEngine(const FtpEngine&) = delete;
    FtpEngine& operator=(const FtpEngine&) = delete;

    int ftpeAttach();
    // A line of the program's own in the log.
    void ftpeLog(const std::string& text);
    // Logs in; the server may be "host", "host:port", "ftp://host[:port]" or
    // "sftp://host[:port]".
    int ftpeConnect(const std::string& server, const std::string& user,
                    const std::string& password);
    // The server's key, pinned ("sha256//..."), is taken from now on although its certificate
    // does not verify; another key fails with kChangedCertificate.
    void acceptCertificate(const std::string& pinnedKey) {
        verifyPeer_ = false;
        pinnedKey_ = pinnedKey;
    }
    // The key the server shows, read without verifying it: the pin and the fingerprint the user
    // is shown ("SHA256:ab:cd:..."). Nothing when it cannot be read.
    struct PeerKey {
        std::string pin;
        std::string fingerprint;
    };
    std::optional<PeerKey> ftpePeerKey();
    // Only encrypted connections, for the login and the files; a server without TLS is refused.
    void requireTls(bool required) { requireTls_ = required; }
    // The server took TLS for the login but refused it for the files, which travel in clear.
    bool filesInClear() const { return usesTls_ && !dataTls_; }
    bool secureShell() const { return secureShell_; }
    // The host key the SFTP server showed at the last login.
    const std::optional<SshHostKey>& ftpeHostKey() const { return hostKey_; }
    // Adds the host key the server showed to known_hosts, so that the next login takes it.
    bool trustHostKey();

    std::string ftpeGetServerDir() const { return serverDir_; }
    int ftpeSetServerDir(const std::string& path);
    void ftpeSetLocalDir(const std::string& folder) { localDir_ = folder; }
    // Reads the current server folder: positive when it has entries, 0 when empty.
    int ftpeGetList();
    const std::vector<FtpEntry>& entries() const { return entries_; }
    void ftpeSetMode(char mode) { binary_ = mode == 'B'; }
    static long long ftpeGetLocalFSize(const std::string& path);
    // Transfers between the local folder and the current server folder; the driver moves them.
    // An upload goes to a temporary name (".name.part") and is renamed when whole; a download
    // goes to ".name.part" in the local folder and replaces the file only when whole.
    int ftpePutFile(const std::string& name);
    int ftpeGetFile(const std::string& name);
    // Positive while the transfer goes on, 0 when it is done, negative when it failed.
    int ftpeDriver();
    // Ends the transfer under way and takes away what it wrote.
    void ftpeAbort();
    // The SHA-256 (hexadecimal) of what the last upload sent, once the server confirmed it.
    const std::string& ftpeSentDigest() const { return sentDigest_; }
    // A transfer fails when no byte moves for this many seconds (30 unless set).
    void setStallLimit(long seconds) { stallSeconds_ = seconds; }
    // The name a file travels under before it is whole.
    static std::string PartName(const std::string& name);
    // 10: bytes received by the transfer; 12: bytes sent.
    long long ftpeGetInteger(int which) const;
    int ftpeMakeServerDir(const std::string& name);
    int ftpeDelFile(const std::string& name);
    int ftpeDelServerDir(const std::string& name);
    // The size of a server file of the current folder; negative when it has none.
    long long ftpeFileLength(const std::string& name);
    void ftpeClose();
    void ftpeRelease();

  private:
    struct Handles;
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Sets up the handle for one request on the address.
    void prepare(const std::string& url);
    // The SFTP parts of a request: the host key check and the ways to log in.
    void prepareSecureShell();
    // The host and port of an SFTP address, as known_hosts names them.
    void readHostAndPort();
    // Runs the prepared request to its end.
    int perform();
    // Waits for the sockets at most the given milliseconds, sooner when libcurl's timers say so.
    void waitForSockets(long most);
    // The outcome of the request that ended (the given one unless libcurl tells another); the
    // handle leaves the multi stack.
    int finish(int result);
    // Opens the local file of a transfer and prepares the request for its server name.
    bool openLocalFile(const std::string& path, const std::string& serverName, const char* mode);
    int startPut(const std::string& name, bool underTemporaryName);
    // Finishes the transfer the driver saw end: a whole download takes its name, a refused
    // rename sends the file again under its own name.
    int completeTransfer(int result);
    int command(const std::string& text);
    // A command on an entry of the current server folder, in the protocol's words.
    int entryCommand(const char* ftpVerb, const char* sftpVerb, const std::string& name);
    // An entry of the current server folder as an SFTP command names it: the whole path, quoted.
    std::string quotedServerPath(const std::string& name) const;
    int listOnce();
    std::string folderUrl(const std::string& path) const;
    std::string fileUrl(const std::string& name) const;
    void logLine(const std::string& text);

    std::string logPath_;
    std::ofstream log_;
    // Bytes in the log file; past 1 MB it is moved aside to conftp.log.1.
    std::size_t logged_ = 0;
    std::unique_ptr<Handles> handles_;
    std::string base_;
    bool secureShell_ = false;
    // The host and port the SFTP server's known_hosts line names.
    std::string host_;
    long port_ = 22;
    std::optional<SshHostKey> hostKey_;
    // The user's known_hosts and keys (empty when there is none), as found at the login.
    std::string knownHosts_;
    std::string keyFile_;
    std::string publicKeyFile_;
    int hostKeyProblem_ = 0;
    std::string user_;
    std::string password_;
    std::string serverDir_;
    std::string localDir_;
    std::vector<FtpEntry> entries_;
    std::string body_;
    bool binary_ = true;
    bool verifyPeer_ = true;
    std::string pinnedKey_;
    bool requireTls_ = false;
    bool usesTls_ = false;
    bool dataTls_ = true;
    bool freshConnection_ = false;
    bool authSent_ = false;
    // The local file of the transfer under way; none between transfers.
    std::unique_ptr<std::FILE, FileCloser> file_;
    struct Transfer {
        bool upload = false;
        std::string name;
        bool underTemporaryName = false;
    };
    std::optional<Transfer> transfer_;
    long stallSeconds_ = 30;
    std::string sentDigest_;
    std::future<std::string> hashing_;
};

// What a failure code of the engine means to the user, in one sentence; empty for a code
// without a plain meaning.
std::string FtpErrorMeaning(int code);
