#pragma once

#include <optional>

#include "platform/password_vault.h"

// The Secret Service keyring through QtKeychain, under the service name "Quillora". Each call
// waits for the keyring's answer; it needs a running Qt application.
class KeychainVault : public PasswordVault {
  public:
    bool available() override;
    bool store(const std::string& key, const std::string& password) override;
    std::optional<std::string> read(const std::string& key) override;
    void forget(const std::string& key) override;

  private:
    // Asked of the keyring once: each ask is a round trip over D-Bus.
    std::optional<bool> available_;
};
