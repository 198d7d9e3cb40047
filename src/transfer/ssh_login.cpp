#include "transfer/ssh_login.h"

#include <cstdlib>
#include <filesystem>

#include "transfer/transfer_log.h"

int SshLogin::CheckHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                           void* login) {
    auto* self = static_cast<SshLogin*>(login);
    if (found != nullptr && found->key != nullptr && found->len > 0) {
        self->hostKey_ = SshHostKey{std::string(found->key, found->len)};
    }
    if (match == CURLKHMATCH_OK) {
        return CURLKHSTAT_FINE;
    }
    // libssh2 calls a host it knows with a key of another type missing: it has changed.
    const bool changed = match == CURLKHMATCH_MISMATCH ||
                         KnownHostsName(self->knownHosts_, self->host_, self->port_);
    self->problem_ = changed ? self->changed_ : self->unknown_;
    return CURLKHSTAT_REJECT;
}

void SshLogin::begin(const std::string& address) {
    host_.clear();
    port_ = 22;
    hostKey_.reset();
    CURLU* url = curl_url();
    if (curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK) {
        char* host = nullptr;
        char* port = nullptr;
        if (curl_url_get(url, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
            host_ = host;
            // known_hosts names an IPv6 address without its brackets.
            if (host_.size() > 2 && host_.front() == '[') {
                host_ = host_.substr(1, host_.size() - 2);
            }
        }
        if (curl_url_get(url, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK) {
            port_ = std::atol(port);
        }
        curl_free(host);
        curl_free(port);
    }
    curl_url_cleanup(url);
    knownHosts_ = KnownHostsPath();
    keyFile_ = UserKeyFile().value_or(std::string());
    std::error_code error;
    publicKeyFile_ = !keyFile_.empty() && std::filesystem::is_regular_file(keyFile_ + ".pub", error)
                         ? keyFile_ + ".pub"
                         : std::string();
}

void SshLogin::prepare(CURL* easy, bool withPassword) {
    problem_ = 0;
    // Without known_hosts libssh2 takes any key type, so that a known host's key of another
    // type is seen, and refused as changed.
    curl_easy_setopt(easy, CURLOPT_SSH_KNOWNHOSTS, anyKeyType_ ? "/dev/null" : knownHosts_.c_str());
    curl_easy_setopt(easy, CURLOPT_SSH_KEYFUNCTION, CheckHostKey);
    curl_easy_setopt(easy, CURLOPT_SSH_KEYDATA, this);
    // The agent, the user's key, then the password: what the server takes first wins.
    long ways = CURLSSH_AUTH_AGENT;
    if (!keyFile_.empty()) {
        ways |= CURLSSH_AUTH_PUBLICKEY;
        curl_easy_setopt(easy, CURLOPT_SSH_PRIVATE_KEYFILE, keyFile_.c_str());
        if (!publicKeyFile_.empty()) {
            curl_easy_setopt(easy, CURLOPT_SSH_PUBLIC_KEYFILE, publicKeyFile_.c_str());
        }
    }
    if (withPassword) {
        ways |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
    }
    curl_easy_setopt(easy, CURLOPT_SSH_AUTH_TYPES, ways);
}

bool SshLogin::mayHaveChangedKeyType() const {
    return !hostKey_ && KnownHostsName(knownHosts_, host_, port_);
}

bool SshLogin::trustHostKey(TransferLog& log) {
    if (!hostKey_ || host_.empty() || hostKey_->type().empty()) {
        return false;
    }
    const bool added = AddKnownHost(knownHosts_, KnownHostsLine(host_, port_, *hostKey_));
    log.line(added ? "--> Host key " + hostKey_->fingerprint() + " of " + host_ +
                         " added to the known hosts"
                   : "--> The known hosts file " + knownHosts_ + " cannot be written");
    return added;
}
