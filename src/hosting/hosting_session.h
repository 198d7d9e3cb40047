#pragma once

#include <optional>
#include <string>

struct Workspace;
class PageStore;
class PasswordVault;

// What the hosting commands need of the designer session they serve: its workspace and store,
// the keyring, the controls page's folder label, and the save that writes the page for upload.
class HostingSession {
  public:
    virtual ~HostingSession() = default;

    virtual Workspace& workspace() = 0;
    virtual PageStore& store() = 0;
    // The desktop's keyring for the hosting folder's password; none keeps it in the store.
    virtual PasswordVault* passwordVault() const = 0;
    // The controls page is written again with the hosting folder's label.
    virtual void showFolderLabel(const std::string& label) = 0;
    // Stores the page and writes it for the hosting service: its text, or nothing when no page
    // was written (and then nothing may be uploaded).
    virtual std::optional<std::string> writeUploadPage() = 0;
};
