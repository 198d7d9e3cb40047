#pragma once

#include <optional>
#include <string>

// The desktop's keyring (the Secret Service), where remembered passwords are kept when one
// answers; without it they stay in the page store, readable only by the user.
class PasswordVault {
  public:
    virtual ~PasswordVault() = default;
    // Whether a keyring answers now.
    virtual bool available() = 0;
    virtual bool store(const std::string& key, const std::string& password) = 0;
    // Nothing when the keyring holds no password for the key or cannot be read.
    virtual std::optional<std::string> read(const std::string& key) = 0;
    virtual void forget(const std::string& key) = 0;
};

// The names the keyring keeps a publishing target's secret under, read by the command line and
// stored by the Publish window alike: a Git repository's token, a bucket's keys.
std::string GitTokenKeyringName(const std::string& repositoryUrl);
std::string BucketKeyringName(const std::string& endpoint, const std::string& bucket);
