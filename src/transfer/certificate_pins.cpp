#include "transfer/certificate_pins.h"
#include "common/hex_text.h"

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cctype>

namespace {

std::optional<PeerKey> KeyOf(X509* certificate) {
    unsigned char* der = nullptr;
    const int length = i2d_PUBKEY(X509_get0_pubkey(certificate), &der);
    if (length <= 0) {
        return std::nullopt;
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(der, static_cast<std::size_t>(length), digest, &size, EVP_sha256(), nullptr);
    OPENSSL_free(der);
    unsigned char encoded[4 * EVP_MAX_MD_SIZE];
    EVP_EncodeBlock(encoded, digest, static_cast<int>(size));
    PeerKey key{"sha256//" + std::string(reinterpret_cast<char*>(encoded)), "SHA256"};
    for (unsigned int i = 0; i < size; ++i) {
        key.fingerprint += ':';
        AppendHexByte(key.fingerprint, digest[i], true);
    }
    return key;
}

// Where the handshake's SSL_CTX keeps the place for the key.
int PlaceIndex() {
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

int KeepAndRefuse(int, X509_STORE_CTX* store) {
    if (X509_STORE_CTX_get_error_depth(store) > 0) {
        return 1;
    }
    auto* ssl =
        static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* shown = ssl == nullptr ? nullptr
                                 : static_cast<std::optional<PeerKey>*>(
                                       SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), PlaceIndex()));
    if (shown != nullptr) {
        *shown = KeyOf(X509_STORE_CTX_get_current_cert(store));
    }
    return 0;
}

CURLcode InstallProbe(CURL*, void* context, void* place) {
    auto* ssl = static_cast<SSL_CTX*>(context);
    SSL_CTX_set_ex_data(ssl, PlaceIndex(), place);
    SSL_CTX_set_verify(ssl, SSL_VERIFY_PEER, KeepAndRefuse);
    return CURLE_OK;
}

std::string Plain(const std::string& fingerprint) {
    std::string plain;
    for (const char c : fingerprint) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    // "SHA256:" leaves "A256" behind: the digest is the last 64 digits.
    return plain.size() > 64 ? plain.substr(plain.size() - 64) : plain;
}

}  // namespace

void ProbeCertificate(CURL* easy, std::optional<PeerKey>* shown) {
    shown->reset();
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, InstallProbe);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, shown);
}

bool SameFingerprint(const std::string& a, const std::string& b) {
    return Plain(a).size() == 64 && Plain(a) == Plain(b);
}
