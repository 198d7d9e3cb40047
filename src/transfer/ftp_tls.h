#pragma once

#include <curl/curl.h>

#include <string>

// FTP's TLS rule for each request of a login: demanded unless plain FTP was agreed for a server
// never seen to speak TLS, demanded for good once it spoke it, for the login only where the
// server refuses it for the files; and the certificate check (verified, or pinned to the key
// the user accepted).
class FtpTls {
  public:
    void require(bool required) { required_ = required; }
    void knownToSpeakIt(bool known) { known_ = known; }
    void allowPlain(bool allowed) { allowPlain_ = allowed; }
    void pin(const std::string& key) { pinnedKey_ = key; }
    const std::string& pinnedKey() const { return pinnedKey_; }
    bool required() const { return required_; }

    // A new login: nothing agreed yet.
    void beginLogin() {
        inUse_ = false;
        forFiles_ = true;
        protRefused_ = false;
    }
    // The login went encrypted, the files go in clear from now on.
    void filesInClear() { forFiles_ = false; }
    bool inUse() const { return inUse_; }
    bool forFiles() const { return forFiles_; }
    // The server refused PROT P on the encrypted control connection: the one answer that lets
    // the files go in clear (unless TLS is required). No other failure may.
    bool protectionRefused() const { return inUse_ && protRefused_; }
    // Once spoken (or pinned), TLS is never given up.
    bool known() const { return inUse_ || known_ || !pinnedKey_.empty(); }

    // What the request demands and how it checks the certificate: verified, or pinned.
    void prepare(CURL* easy) const;
    // The conversation tells whether the server took AUTH.
    void sawCommand(const std::string& line);
    void sawReply(const std::string& line);

  private:
    bool required_ = false;
    bool known_ = false;
    bool allowPlain_ = false;
    std::string pinnedKey_;
    bool inUse_ = false;
    bool forFiles_ = true;
    bool authSent_ = false;
    bool protSent_ = false;
    bool protRefused_ = false;
};
