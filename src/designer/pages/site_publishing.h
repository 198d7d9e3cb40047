#pragma once

#include <string>

class HostingSession;
class PageCatalog;
class Prompts;

// File > Publish: the site folder's targets (the hosting service, an FTP or SFTP folder, a Git
// branch, a bucket), remembered for each site folder; the one chosen gets the folder's pages
// as quillora-publish sends them, the notice showing each step with its Cancel. A password,
// token or key typed for a target goes to the keyring and serves the next publish to it.
class SitePublishing {
  public:
    SitePublishing(HostingSession& session, PageCatalog& catalog, Prompts& prompts);

    void publish();

  private:
    HostingSession& session_;
    PageCatalog& catalog_;
    Prompts& prompts_;
};

// The name of a target's secret in the keyring.
std::string PublishSecretName(const std::string& target);
// The name quillora-publish reads a Git token ("git:URL") or a bucket's key pair
// ("s3:ENDPOINT/BUCKET") by; empty for other targets, whose passwords it reads elsewhere.
std::string CommandLineSecretName(const std::string& target);
