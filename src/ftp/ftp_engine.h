#pragma once

#include <cstdio>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ftp/ftp_listing.h"

// The FTP client layer of the uploader, on libcurl: one connection to one server, a current
// server folder and a local folder, listings, binary transfers stepped by a driver loop, and a
// log of the conversation in conftp.log. TLS (explicit, AUTH TLS) is asked for and used when the
// server offers it. Calls that can fail give a negative code (libcurl's, negated).
class FtpEngine {
  public:
    // A server whose certificate does not verify: it is used only after the user agreed.
    static constexpr int kUnverifiedCertificate = -60;
    // A server whose key differs from the one the user accepted.
    static constexpr int kChangedCertificate = -90;
    // A server that offers no TLS where it is required.
    static constexpr int kNoTls = -64;

    explicit FtpEngine(std::string logPath);
    ~FtpEngine();
    FtpEngine(const FtpEngine&) = delete;
    FtpEngine& operator=(const FtpEngine&) = delete;

    int ftpeAttach();
    // A line of the program's own in the log.
    void ftpeLog(const std::string& text);
    // Logs in; the server may be "host", "host:port" or "ftp://host[:port]".
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
