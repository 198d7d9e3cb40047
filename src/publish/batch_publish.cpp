#include "publish/batch_publish.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "common/paths.h"
#include "common/program_version.h"
#include "common/text_search.h"
#include "files/folder_lock.h"
#include "page/working_files.h"
#include "platform/console_prompts.h"
#include "publish/hosted_upload.h"
#include "publish/site_archive_command.h"
#include "publish/site_upload.h"
#include "site/published_page.h"
#include "site/site_check.h"
#include "site/starters.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"

namespace {

constexpr int kAllWritten = 0;
constexpr int kSomeNotWritten = 1;
constexpr int kUsageOrDatabaseError = 2;
constexpr const char* kUsage =
    "usage: quillora-publish [--workdir DIR] [--upload TARGET [--dry-run] [--force] "
    "[--require-tls] [--trust-certificate FINGERPRINT] [--trust-host-key FINGERPRINT]] "
    "SITE_FOLDER "
    "[PAGE ...]\n"
    "       quillora-publish [--workdir DIR] --check SITE_FOLDER\n"
    "       quillora-publish [--workdir DIR] --export-site SITE_FOLDER FILE\n"
    "       quillora-publish [--workdir DIR] --import-site FILE SITE_FOLDER [--force]\n"
    "       quillora-publish [--workdir DIR] --list-starters\n"
    "       quillora-publish [--workdir DIR] --new-site NAME SITE_FOLDER [--force]\n"
    "       quillora-publish --version\n";
constexpr const char* kHelp =
    "Writes the finished pages of a site folder from their stored designs, with copies of\n"
    "their pictures, as the designer's save writes them. The page store is only read,\n"
    "but for what an upload learns of a server's security (a certificate trusted, TLS seen).\n"
    "\n"
    "  SITE_FOLDER    the site folder whose pages are written\n"
    "  PAGE ...       only these pages (file names); all stored pages when none are named\n"
    "  --workdir DIR  the working folder holding quilldata.db (default ~/quillworking)\n"
    "  --upload hosting\n"
    "                 then send the pages and the pictures the folder lacks to the hosting\n"
    "                 folder recorded in the page store\n"
    "  --upload ftp://USER@HOST[:PORT]/PATH\n"
    "  --upload sftp://USER@HOST[:PORT]/PATH\n"
    "                 then send the pages and their pictures to that FTP or SFTP folder. The\n"
    "                 password (for either) comes from QUILLORA_FTP_PASSWORD or the login\n"
    "                 remembered in the uploader (in the keyring when one answers); one\n"
    "                 written into the address is wiped from what ps shows, but it is better\n"
    "                 left out. SFTP also logs in with ~/.ssh/id_ed25519, id_rsa or the SSH\n"
    "                 agent, and needs the host in ~/.ssh/known_hosts (or --trust-host-key).\n"
    "                 A file goes when it is new there, its content changed since it was last\n"
    "                 sent there, or the server holds another size (the working folder's\n"
    "                 \"sent\" records what went where)\n"
    "  --upload git+URL [--branch NAME]\n"
    "                 then commit the pages and their pictures to that branch (gh-pages when\n"
    "                 none is named) of the Git repository at URL (file://, ssh://, https://\n"
    "                 or USER@HOST:PATH) and push, never forced: one commit for each publish\n"
    "                 that changes something, on top of the branch as the remote has it;\n"
    "                 files this program did not write (CNAME, README) stay. SSH logs in with\n"
    "                 the agent, ~/.ssh/id_ed25519 or id_rsa, the host in ~/.ssh/known_hosts\n"
    "                 (or --trust-host-key); https with a token from QUILLORA_GIT_TOKEN or the\n"
    "                 keyring\n"
    "  --upload s3://BUCKET[/PREFIX] [--s3-endpoint URL] [--s3-region REGION]\n"
    "                 then send the pages and their pictures the bucket lacks or holds\n"
    "                 otherwise to that S3-compatible bucket (AWS unless an endpoint is named;\n"
    "                 a named endpoint is addressed path-style; region us-east-1 unless named),\n"
    "                 each with its content type and cache header, and delete the files of\n"
    "                 pages removed. Credentials come from AWS_ACCESS_KEY_ID and\n"
    "                 AWS_SECRET_ACCESS_KEY, or the keyring\n"
    "  --dry-run      with --upload: list what would be sent, send nothing\n"
    "  --force        with --upload: send every file\n"
    "  --require-tls  with an FTP upload: refuse a server that offers no TLS. Without it, a\n"
    "                 server without TLS is used with a warning, unless it spoke TLS before\n"
    "  --trust-certificate FINGERPRINT\n"
    "                 with an FTP upload: trust the server's certificate that does not verify\n"
    "                 when its SHA-256 fingerprint is this one (as a refusal prints it); it\n"
    "                 is remembered for the server, as the uploader remembers it\n"
    "  --trust-host-key FINGERPRINT\n"
    "                 with an SFTP upload: trust the server's host key that ~/.ssh/known_hosts\n"
    "                 does not hold when its SHA-256 fingerprint is this one (as a refusal\n"
    "                 prints it); it is added to known_hosts, as the uploader adds it\n"
    "  --hosting-base URL\n"
    "                 the hosting service's address (http or https), when it is not the usual\n"
    "                 one\n"
    "  --hosting-ca FILE\n"
    "                 a CA file trusted besides the system's, for a private service's https\n"
    "  --check        write nothing: list, a line each, what keeps the site from serving its\n"
    "                 visitors well (pictures without a description, pages without a language\n"
    "                 or description, pictures far heavier than their place, links to no\n"
    "                 page, missing picture files, site options that would help)\n"
    "  --export-site SITE_FOLDER FILE\n"
    "                 write nothing of the folder: put its stored designs, shared items, site\n"
    "                 options and every picture and background its pages use into FILE (a\n"
    "                 .qsite file), to carry the site to another computer or keep it\n"
    "  --import-site FILE SITE_FOLDER\n"
    "                 bring an exported site into SITE_FOLDER of this working folder (its\n"
    "                 pictures into the working folder's \"imported\" folder) and write its\n"
    "                 pages; refused for a damaged or foreign file, and for a folder that has\n"
    "                 pages unless --force is given (the imported pages then replace those of\n"
    "                 the same names)\n"
    "  --list-starters\n"
    "                 list the starter sites that come with the program, one a line: its\n"
    "                 name, a tab, and what it is\n"
    "  --new-site NAME SITE_FOLDER\n"
    "                 make SITE_FOLDER from the starter of that name, as --import-site would\n"
    "                 from its site file, and write its pages\n"
    "  --help         this text\n"
    "\n"
    "Exit status: 0 every page written (and sent), 1 some were not (they are named), 2 usage,\n"
    "page store, connection or login error, 3 stopped by Ctrl+C or SIGTERM (the file under way\n"
    "is taken back; what was sent and what was not is listed). With --check: 0 nothing found,\n"
    "1 findings.\n";

struct Request {
    std::string workingFolder;
    std::string siteFolder;
    std::vector<std::string> pages;
    std::optional<UploadTarget> upload;
    UploadOptions options;
    HostingAddresses hosting = HostingAddresses::Service();
    bool check = false;
    enum class Carry { None, Export, Import, Starter } carry = Carry::None;
};

std::optional<Request> ParseArguments(const std::vector<std::string>& arguments,
                                      const std::string& defaultWorkingFolder) {
    Request request;
    request.workingFolder = defaultWorkingFolder;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--workdir") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.workingFolder = arguments[i];
        } else if (argument == "--upload") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.upload = ParseUploadTarget(arguments[i]);
            if (!request.upload) {
                return std::nullopt;
            }
        } else if (argument == "--hosting-base") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.hosting = HostingAddresses::UnderOneBase(arguments[i], request.hosting.timeout,
                                                             request.hosting.certificateAuthority);
        } else if (argument == "--hosting-ca") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.hosting.certificateAuthority = arguments[i];
        } else if (argument == "--branch") {
            if (++i == arguments.size() || !request.upload || !request.upload->git) {
                return std::nullopt;
            }
            request.upload->branch = arguments[i];
        } else if (argument == "--s3-endpoint" || argument == "--s3-region") {
            if (++i == arguments.size() || !request.upload || !request.upload->bucket) {
                return std::nullopt;
            }
            (argument == "--s3-endpoint" ? request.upload->bucket->endpoint
                                         : request.upload->bucket->region) = arguments[i];
        } else if (argument == "--check") {
            request.check = true;
        } else if (argument == "--export-site") {
            request.carry = Request::Carry::Export;
        } else if (argument == "--import-site") {
            request.carry = Request::Carry::Import;
        } else if (argument == "--new-site") {
            request.carry = Request::Carry::Starter;
        } else if (argument == "--dry-run") {
            request.options.dryRun = true;
        } else if (argument == "--force") {
            request.options.force = true;
        } else if (argument == "--require-tls") {
            request.options.requireTls = true;
        } else if (argument == "--trust-certificate") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.options.trustedCertificate = arguments[i];
        } else if (argument == "--trust-host-key") {
            if (++i == arguments.size()) {
                return std::nullopt;
            }
            request.options.trustedHostKey = arguments[i];
        } else if (StartsWith(argument, "--")) {
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.empty() ||
        (request.carry != Request::Carry::None && (positional.size() != 2 || request.upload))) {
        return std::nullopt;
    }
    // The file of an import, or the starter, comes before its folder.
    if (request.carry == Request::Carry::Import || request.carry == Request::Carry::Starter) {
        std::swap(positional[0], positional[1]);
    }
    // Folders are stored as full paths.
    std::filesystem::path folder(positional.front());
    if (folder.is_relative()) {
        folder = std::filesystem::absolute(folder).lexically_normal();
    }
    request.siteFolder = WithoutTrailingSeparator(folder.string());
    request.pages.assign(positional.begin() + 1, positional.end());
    return request;
}

UploadOptions WithPorts(UploadOptions options, PasswordVault* vault, const std::atomic<bool>* stop,
                        Prompts* asker) {
    options.vault = vault;
    options.stop = stop;
    options.asker = asker;
    return options;
}

// The named pages written from their stored designs into the site folder, each told; the
// written ones join `written`. Whether every one was.
bool WritePages(PageStore& store, ConsolePrompts& prompts, const std::vector<std::string>& pages,
                SitePages& written, std::ostream& out, std::ostream& err) {
    const std::string& folder = written.siteFolder;
    PagePublisher publisher(written.workingFolder, prompts);
    publisher.setUpFor(store, folder);
    written.languages = publisher.siteOptions().languages;
    bool allWritten = true;
    for (const std::string& name : pages) {
        const std::string path = JoinPath(folder, name);
        if (name == kQuickstartPage) {
            err << path << ": the quickstart page is for reference only and is not written\n";
            allWritten = false;
            continue;
        }
        PageRecord page;
        page.directory = folder;
        page.fileName = name;
        if (!store.loadPage(page, folder, name)) {
            if (!prompts.databaseFailed()) {
                err << path << ": this page is not stored\n";
            }
            allWritten = false;
            continue;
        }
        std::string text;
        if (!publisher.publish(page, PublishVariant::Save, folder, name, text)) {
            err << path << ": cannot write the page\n";
            allWritten = false;
            continue;
        }
        out << "wrote " << path << "\n";
        written.pages.push_back(page);
    }
    return allWritten;
}

// The site folder made from the named starter through the import of its site file.
int NewSiteCommand(const Request& request, std::ostream& out, std::ostream& err, bool takeLock) {
    const std::string& name = request.pages[0];
    for (const StarterEntry& starter : ListStarters(InstalledStartersFolder())) {
        if (starter.id == name) {
            return ImportSiteCommand(request.workingFolder, starter.file, request.siteFolder,
                                     request.options.force, out, err, takeLock);
        }
    }
    err << "There is no starter named " << name
        << " (quillora-publish --list-starters lists them).\n";
    return kUsageOrDatabaseError;
}

}  // namespace

int RunBatchPublish(const std::vector<std::string>& arguments,
                    const std::string& defaultWorkingFolder, std::ostream& out, std::ostream& err,
                    PasswordVault* vault, const std::atomic<bool>* stop, FolderLocking locking,
                    Prompts* asker) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << kUsage << kHelp;
            return 0;
        }
    }
    if (std::find(arguments.begin(), arguments.end(), "--version") != arguments.end()) {
        out << "quillora-publish " << ProgramVersion() << "\n";
        return kAllWritten;
    }
    if (std::find(arguments.begin(), arguments.end(), "--list-starters") != arguments.end()) {
        for (const StarterEntry& starter : ListStarters(InstalledStartersFolder())) {
            out << starter.id << "\t" << starter.name << " (" << starter.kind
                << "): " << starter.line << "\n";
        }
        return kAllWritten;
    }
    const std::optional<Request> request = ParseArguments(arguments, defaultWorkingFolder);
    if (!request) {
        err << kUsage;
        return kUsageOrDatabaseError;
    }
    if (request->carry == Request::Carry::Starter) {
        return NewSiteCommand(*request, out, err, locking == FolderLocking::Take);
    }
    if (request->carry == Request::Carry::Export) {
        return ExportSiteCommand(request->workingFolder, request->siteFolder, request->pages[0],
                                 out, err);
    }
    if (request->carry == Request::Carry::Import) {
        return ImportSiteCommand(request->workingFolder, request->pages[0], request->siteFolder,
                                 request->options.force, out, err, locking == FolderLocking::Take);
    }
    // Publishing writes the working folder (pages, sent records): it holds the folder's lock, as
    // the window does; a check only reads.
    const bool locks = !request->check && locking == FolderLocking::Take;
    const std::optional<FolderLock> lock =
        locks ? LockForWriting(request->workingFolder, err) : std::nullopt;
    if (locks && !lock) {
        return kUsageOrDatabaseError;
    }
    const std::string databasePath = JoinPath(request->workingFolder, kPageStoreFile);
    SqliteDatabase db;
    try {
        db.openReadOnly(databasePath);
    } catch (const SqliteException& failure) {
        err << "cannot open the page store " << databasePath << ": " << failure.message() << "\n";
        return kUsageOrDatabaseError;
    }
    ConsolePrompts prompts(err);
    PageStore store(db, prompts);
    if (request->check) {
        const std::vector<SiteFinding> findings =
            CheckSite(store, request->workingFolder, request->siteFolder);
        for (const SiteFinding& finding : findings) {
            out << FindingLine(finding) << "\n";
        }
        if (prompts.databaseFailed()) {
            return kUsageOrDatabaseError;
        }
        return findings.empty() ? kAllWritten : kSomeNotWritten;
    }
    std::vector<std::string> pages = request->pages;
    if (pages.empty()) {
        for (const std::string& name : store.pageNames(request->siteFolder)) {
            if (name != kQuickstartPage) {
                pages.push_back(name);
            }
        }
        if (pages.empty() && !prompts.databaseFailed()) {
            err << request->siteFolder << ": no pages of this folder are stored\n";
            return kSomeNotWritten;
        }
    }

    SitePages written{request->siteFolder, request->workingFolder, {}, {}};
    const bool allWritten = WritePages(store, prompts, pages, written, out, err);
    if (prompts.databaseFailed()) {
        return kUsageOrDatabaseError;
    }
    if (request->upload && !written.pages.empty()) {
        const UploadOptions options = WithPorts(request->options, vault, stop, asker);
        const int sent =
            request->upload->git ? UploadToGitBranch(written, *request->upload, db, options, err)
            : request->upload->bucket
                ? UploadToBucket(written, *request->upload, db, options, err)
                : UploadSite(written, *request->upload, db, request->hosting, options, err);
        if (sent != kAllWritten) {
            return sent;
        }
    }
    return allWritten ? kAllWritten : kSomeNotWritten;
}
