#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

#include "transfer/known_hosts.h"

class TransferLog;

// What an SFTP login needs beside libcurl: the host and port as known_hosts names them, the
// check of the server's host key against the user's known_hosts, and the ways to log in (the
// agent, the user's key, the password).
class SshLogin {
  public:
    // The codes a refused host key leaves (the engine's kUnknownHostKey and kChangedHostKey).
    SshLogin(int unknownCode, int changedCode) : unknown_(unknownCode), changed_(changedCode) {}

    // A new login to the address: its host and port, and the user's SSH folder, read once.
    void begin(const std::string& address);
    // The host key check and the ways to log in, for one request.
    void prepare(CURL* easy, bool withPassword);
    // The code the host key check left for the request that failed; 0 when it took the key.
    int problem() const { return problem_; }
    // A failed login showed no key although known_hosts names the host: libssh2 asked only for
    // the key type known there, which the server may no longer have.
    bool mayHaveChangedKeyType() const;
    // The next requests take any key type, so that the key is seen (and refused as changed).
    void acceptAnyKeyType(bool any) { anyKeyType_ = any; }
    const std::optional<SshHostKey>& hostKey() const { return hostKey_; }
    // Adds the key the server showed to known_hosts; the log tells how it went.
    bool trustHostKey(TransferLog& log);

  private:
    static int CheckHostKey(CURL*, const curl_khkey* known, const curl_khkey* found,
                            curl_khmatch match, void* login);

    int unknown_;
    int changed_;
    std::string host_;
    long port_ = 22;
    std::optional<SshHostKey> hostKey_;
    std::string knownHosts_;
    std::string keyFile_;
    std::string publicKeyFile_;
    int problem_ = 0;
    bool anyKeyType_ = false;
};
