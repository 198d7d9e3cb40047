#pragma once

#include <curl/curl.h>

#include <optional>
#include <string>

// An FTP server's key as the program pins it: the SHA-256 of the certificate's public key, in
// the form libcurl checks ("sha256//" and base64) and as the user reads it
// ("SHA256:AB:CD:...").
struct PeerKey {
    std::string pin;
    std::string fingerprint;
};

// Makes the request's TLS handshake end as soon as the server showed its certificate: the key
// is kept in the given place and the handshake is refused, so that nothing of the login is sent
// to a server the user has not yet trusted. The place must outlive the request.
void ProbeCertificate(CURL* easy, std::optional<PeerKey>* shown);

// Whether two fingerprints name the same key: case, blanks and ":" aside, with or without
// "SHA256:" in front.
bool SameFingerprint(const std::string& a, const std::string& b);
