#pragma once

#include <string>

#include "transfer/certificate_pins.h"
#include "transfer/known_hosts.h"

class FtpEngine;

// The questions a login may need answered before anything of it is sent; the uploader asks
// the user, quillora-publish answers from its options.
class TrustQuestions {
  public:
    virtual ~TrustQuestions() = default;
    // An FTP server's certificate that does not verify, or another one than was accepted.
    virtual bool trustCertificate(const PeerKey& key, bool changed) = 0;
    // An FTP server that offers no TLS: the password and files would travel unencrypted.
    virtual bool goOnUnencrypted() = 0;
    // An SFTP server's host key that known_hosts does not hold.
    virtual bool trustHostKey(const SshHostKey& key) = 0;
    // The accepted host key could not be added to known_hosts.
    virtual void hostKeyNotKept() = 0;
};

// Where an upload logs in: the server as typed, and the working folder whose page store keeps
// what was learned of its security (accepted certificates, TLS seen, plain FTP agreed).
struct LoginPlace {
    std::string server;
    std::string user;
    std::string password;
    std::string workingFolder;
    bool requireTls = false;
    // Whether the answer to the plain FTP question is the user's own, to be remembered.
    bool rememberPlainAnswer = true;
};

// Logs the engine in, asking what must be asked first: a certificate is shown and pinned only
// after a handshake that sent nothing of the login; a server that spoke TLS before must speak
// it again; plain FTP goes on only once agreed (remembered per server). 0 when logged in; the
// engine's code otherwise (the question's code when the answer was no).
int LogInTrusting(FtpEngine& engine, const LoginPlace& place, TrustQuestions& questions);
