#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "hosting/hosting_addresses.h"
#include "hosting/hosting_commands.h"

class Browser;
class HostingSession;
class Prompts;
class Shell;
class SqliteDatabase;

// The user's folder at the hosting service: the agreement, registering and renaming the folder,
// viewing the current page online, uploading it with its pictures, and deleting uploaded files.
class HostingOperations : public HostingCommands {
  public:
    struct Ports {
        Browser& browser;
        Prompts& prompts;
        Shell& shell;
    };

    HostingOperations(HostingSession& session, SqliteDatabase& db, const Ports& ports,
                      HostingAddresses addresses);

    bool acceptHostingAgreement() override;
    void siteOptions() override;
    void uploadPage() override;
    void deleteServerPages() override;

    // The folder commands: the servlet's reply, or "NO_CONNECT" after the connection message.
    std::string registerFolder(const std::string& name);
    std::string renameFolder(const std::string& name);

  private:
    void registrationLoop();
    void renameLoop();
    // Asks for a folder name until the servlet takes it: the cleaned name and the reply, or
    // nothing when the user cancelled or the service cannot be reached.
    std::optional<std::pair<std::string, std::string>> askForName(std::string prompt,
                                                                  bool register_);
    void viewOnline();
    // The controls page shows the folder's address for the current page.
    void refreshFolderLabel();
    // Runs a statement on the stored record; a failure is shown as "db error".
    template <typename Statement>
    void store(Statement&& statement);
    std::string reachServlet(const std::string& url);

    HostingSession& session_;
    SqliteDatabase& db_;
    Ports ports_;
    HostingAddresses addresses_;
};

// A new folder's password: twelve decimal digits from the system's random source.
std::string MakeFolderPassword();

// The agreement text of the hosting service, as one run of text.
std::string HostingAgreementText();
