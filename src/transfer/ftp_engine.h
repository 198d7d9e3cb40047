#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "transfer/certificate_pins.h"
#include "transfer/ftp_listing.h"
#include "transfer/ftp_tls.h"
#include "transfer/known_hosts.h"
#include "transfer/ssh_login.h"
#include "transfer/transfer_log.h"

class CurlRequest;

// The uploader's file transfer layer: one connection to one server, a current server folder
// and a local folder, listings, binary transfers stepped by a driver loop, and conftp.log. It
// speaks FTP with TLS (explicit, AUTH TLS), plain FTP only where allowed, or SFTP when the
// server is given as "sftp://host[:port]". The pieces live beside it: libcurl's handles
// (CurlRequest), the commands (remote_commands), certificate pins, known hosts, the log and
// the names that cross (server_names). Its definitions are split by job: ftp_engine.cpp (the
// login, requests, folders and commands), ftp_engine_listing.cpp (listings and the SFTP
// set-aside sweep) and ftp_engine_transfers.cpp (the stepped transfers). Calls that can fail
// give a negative code: libcurl's, negated, or one of the codes below; FtpErrorMeaning
// (transfer_errors) says what each means.
class FtpEngine {
  public:
    // A certificate that does not verify: the handshake ended before anything of the login.
    static constexpr int kUnverifiedCertificate = -60;
    // A server whose key differs from the one the user accepted.
    static constexpr int kChangedCertificate = -90;
    // A server that offers no TLS where it is required.
    static constexpr int kNoTls = -64;
    // An SFTP server whose host key known_hosts does not hold: used only after the user agreed.
    static constexpr int kUnknownHostKey = -1001;
    // An SFTP server whose host key differs from the one known_hosts holds for it.
    static constexpr int kChangedHostKey = -1002;
    // A server that offers no TLS, where plain FTP was not allowed: nothing of the login went.
    static constexpr int kPlainServer = -1003;
    // A server known to speak TLS that refuses it now: nothing of the login went.
    static constexpr int kTlsRefusedNow = -1004;
    // A name with a line break or NUL, or a listed name that is no plain file name.
    static constexpr int kBadName = -1005;
    // A transfer where nothing moved for the stall limit.
    static constexpr int kStalled = -28;
    // A download onto a local symbolic link that leads out of the local folder.
    static constexpr int kLocalLink = -1006;

    explicit FtpEngine(std::string logPath);
    ~FtpEngine();
    FtpEngine(const FtpEngine&) = delete;
    FtpEngine& operator=(const FtpEngine&) = delete;

    int ftpeAttach();
    // Called between the steps of every request: keeps the window lively while a server is
    // awaited, and false ends the request (a Cancel).
    void waitWith(std::function<bool()> goesOn);
    // A line of the program's own in the log.
    void ftpeLog(const std::string& text) { log_.line(text); }
    // Logs in; the server may be "host", "host:port", "ftp://host[:port]" or
    // "sftp://host[:port]" (a user and password in it are taken out of the address).
    int ftpeConnect(const std::string& server, const std::string& user,
                    const std::string& password);
    // The server's key, pinned ("sha256//..."), is taken from now on although its certificate
    // does not verify; another key fails with kChangedCertificate.
    void acceptCertificate(const std::string& pinnedKey) { tls_.pin(pinnedKey); }
    // The key the FTP server shows, read in a handshake that is broken off before anything of
    // the login is sent. Nothing when it cannot be read.
    std::optional<PeerKey> ftpePeerKey();
    // Only encrypted connections, for the login and the files; a server without TLS is refused.
    void requireTls(bool required) { tls_.require(required); }
    // The server spoke TLS before: a connection it will not encrypt is refused (kTlsRefusedNow).
    void knownToSpeakTls(bool known) { tls_.knownToSpeakIt(known); }
    // A server without TLS may be logged in to in clear; otherwise it is refused (kPlainServer)
    // before the user name is sent.
    void allowPlain(bool allowed) { tls_.allowPlain(allowed); }
    // The login went over TLS.
    bool usesTls() const { return tls_.inUse(); }
    // The server took TLS for the login but refused it for the files, which travel in clear.
    bool filesInClear() const { return tls_.inUse() && !tls_.forFiles(); }
    bool secureShell() const { return secureShell_; }
    // The host key the SFTP server showed at the last login.
    const std::optional<SshHostKey>& ftpeHostKey() const { return ssh_.hostKey(); }
    // Adds the host key the server showed to known_hosts, so that the next login takes it.
    bool trustHostKey() { return ssh_.trustHostKey(log_); }

    std::string ftpeGetServerDir() const { return serverDir_; }
    int ftpeSetServerDir(const std::string& path);
    void ftpeSetLocalDir(const std::string& folder) { localDir_ = folder; }
    // Reads the current server folder: positive when it has entries, 0 when empty. Entries
    // whose names are no plain file names are left out; an old SFTP file left aside by a
    // broken upload is put back first.
    int ftpeGetList();
    const std::vector<FtpEntry>& entries() const { return entries_; }
    void ftpeSetMode(char mode) { binary_ = mode == 'B'; }
    static long long ftpeGetLocalFSize(const std::string& path);
    // Transfers between the local folder and the current server folder; the driver moves them.
    // An upload goes to a temporary name (".name.part") and is renamed when whole; a download
    // goes to ".name.part" inside the local folder and replaces the file only when whole.
    int ftpePutFile(const std::string& name);
    int ftpeGetFile(const std::string& name);
    // Positive while the transfer goes on, 0 when it is done, negative when it failed. A failed
    // upload's part file is removed from the server.
    int ftpeDriver();
    // Ends the transfer under way and takes away what it wrote.
    void ftpeAbort();
    // The part file a failed or cancelled upload could not remove from the server; empty when
    // none was left.
    const std::string& leftPartFile() const { return leftPart_; }
    // The content hash (XXH3-128) of what the last upload sent, once the server confirmed it;
    // worked out beside the sending only when asked for (a record of what was sent needs it).
    void hashSentContent(bool wanted) { hashSent_ = wanted; }
    const std::string& ftpeSentDigest() const { return sentDigest_; }
    // A transfer fails when no byte moves for this many seconds (30 unless set), whatever its
    // size, waiting for the server's answer included.
    void setStallLimit(long seconds) { stallSeconds_ = seconds; }
    // The server's own refusal (a 4xx or 5xx reply) in the last request that failed, such as
    // "451 Disk full."; empty when it gave none (a broken connection, SFTP).
    const std::string& serverRefusal() const { return refusal_; }
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
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    struct Transfer {
        bool upload = false;
        std::string name;
        bool underTemporaryName = false;
    };

    int logIn();
    // Sets up the handle for one request on the address.
    void prepare(const std::string& url);
    int perform();
    // The outcome of the request libcurl reports, in the engine's codes.
    int outcome(int curlCode) const;
    bool openLocalFile(const std::string& path, const std::string& serverName, const char* mode);
    int startPut(const std::string& name, bool underTemporaryName);
    // Finishes the transfer the driver saw end: a whole download takes its name, a refused
    // rename sends the file again under its own name, a failed upload's part file goes.
    int completeTransfer(int result);
    // Takes a broken upload's part file away, on the same or a fresh connection.
    void removePartFile(const std::string& name);
    void removePart(const std::string& name);
    // Puts an SFTP file's old copy back under its name when the new one never took it.
    void restoreSetAside(const std::string& name, bool nameIsThere);
    // Commands in the current server folder: FTP runs them after changing into it.
    int commands(const std::vector<std::string>& texts);
    int entryCommand(const char* ftpVerb, const char* sftpVerb, const std::string& name);
    int listOnce();
    void sweepSetAside();
    std::string folderUrl(const std::string& path) const;
    std::string fileUrl(const std::string& name) const;
    // The bytes moved by the transfer under way, both ways.
    long long movedBytes() const;
    // The conversation with the server goes to the log; it also tells whether TLS was agreed.
    static int Debug(CURL*, curl_infotype kind, char* data, size_t size, void* engine);

    TransferLog log_;
    std::unique_ptr<CurlRequest> request_;
    std::string base_;
    bool secureShell_ = false;
    SshLogin ssh_{kUnknownHostKey, kChangedHostKey};
    FtpTls tls_;
    std::string user_;
    std::string password_;
    std::string serverDir_;
    std::string localDir_;
    std::vector<FtpEntry> entries_;
    std::string body_;
    bool binary_ = true;
    std::optional<PeerKey> probedKey_;
    bool freshConnection_ = false;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::optional<Transfer> transfer_;
    long stallSeconds_ = 30;
    long long lastMoved_ = 0;
    std::chrono::steady_clock::time_point lastMove_;
    bool hashSent_ = false;
    std::string sentDigest_;
    std::string leftPart_;
    std::string refusal_;
    std::future<std::string> hashing_;
    std::function<bool()> goesOn_;
};
