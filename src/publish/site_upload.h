#pragma once

#include <atomic>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hosting/hosting_addresses.h"
#include "page/page_record.h"
#include "publish/upload_target.h"

class PasswordVault;
class Prompts;
class SqliteDatabase;

// The pages written, with the site folder they stand in.
struct SitePages {
    std::string siteFolder;
    std::string workingFolder;
    std::vector<PageRecord> pages;
    // The site's languages, the main first: each other one's pages lie in its folder.
    std::vector<std::string> languages;
};

// How the site goes: a dry run lists what would go; forced, every file goes whatever the record
// of what was sent says; with TLS required, a server that offers none is refused (otherwise it is
// used with a warning, unless it spoke TLS before).
struct UploadOptions {
    bool dryRun = false;
    bool force = false;
    bool requireTls = false;
    // The SHA-256 fingerprint of an FTP server's certificate to trust although it does not
    // verify; empty for none.
    std::string trustedCertificate;
    // The SHA-256 fingerprint of an SFTP server's host key to trust although known_hosts does
    // not hold it; empty for none.
    std::string trustedHostKey;
    // Set (by a signal) to end the upload: the file under way is taken back, and what was sent
    // and what was not is told.
    const std::atomic<bool>* stop = nullptr;
    // Where remembered passwords may be kept; none to read the page store only.
    PasswordVault* vault = nullptr;
    // A window's user, asked the uploader's questions before anything of a login is sent (a
    // server without encryption, an unknown host key or certificate); none at the command
    // line, where the options answer.
    Prompts* asker = nullptr;
};

// Sends the pages, and the pictures they use, where the target says: a file goes when it is new
// there, changed since it was last sent there, or changed on the server (SentRecord). Progress
// goes to err, a line per file with the running total, then a summary.
// Exit status: 0 everything sent, 1 some files failed (they are named), 2 a connection, login
// or page store failure, 3 stopped before every file was sent.
int UploadSite(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
               const HostingAddresses& hosting, const UploadOptions& options, std::ostream& err);
