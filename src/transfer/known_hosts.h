#pragma once

#include <optional>
#include <string>

// What SFTP logins need from the user's SSH folder (~/.ssh): the known hosts, and the key the
// user logs in with. The files are the ones OpenSSH's own client reads and writes, so a host
// accepted here is known to ssh and the other way round.

// A server's host key as it showed it: the key's wire form (its type name comes first in it).
struct SshHostKey {
    std::string blob;

    // The key's type as known_hosts writes it ("ssh-ed25519"); empty for a malformed blob.
    std::string type() const;
    // The fingerprint ssh shows: "SHA256:" and the base64 of the blob's SHA-256, unpadded.
    std::string fingerprint() const;
};

// The user's SSH folder: $HOME/.ssh.
std::string SshFolder();
std::string KnownHostsPath();
// The private key a login offers: id_ed25519, else id_rsa; nothing when the user has neither.
std::optional<std::string> UserKeyFile();

// The known_hosts line for the host and port ("[host]:port" unless the port is 22).
std::string KnownHostsLine(const std::string& host, long port, const SshHostKey& key);
// Adds the line at the top of known_hosts, where libssh2 reads it even when a later line stops
// its reading, keeping every other line that is there (a line for the same host and key type is
// replaced); the file is replaced whole or not at all.
// Makes ~/.ssh (0700) and the file when missing. False when it cannot be written.
bool AddKnownHost(const std::string& knownHostsPath, const std::string& line);
// Whether known_hosts names the host and port at all, with whatever key, in plain or hashed
// form: a host it names that shows a key it does not hold has changed its key.
bool KnownHostsName(const std::string& knownHostsPath, const std::string& host, long port);
// Whether known_hosts holds this key for the host and port.
bool KnownHostsHolds(const std::string& knownHostsPath, const std::string& host, long port,
                     const SshHostKey& key);
