#include "publish/site_upload.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_search.h"
#include "files/sent_record.h"
#include "hosting/page_upload.h"
#include "platform/console_prompts.h"
#include "platform/password_vault.h"
#include "site/published_page.h"
#include "site/upload_files.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/ftp_login_store.h"
#include "store/hosting_folder_store.h"
#include "store/page_store.h"
#include "transfer/ftp_engine.h"
#include "transfer/ftp_listing.h"
#include "transfer/server_copy.h"
#include "transfer/server_login.h"
#include "transfer/transfer_errors.h"
#include "transfer/uploader_questions.h"

namespace fs = std::filesystem;

namespace {

constexpr int kAllSent = 0;
constexpr int kSomeFailed = 1;
constexpr int kCannotSend = 2;
constexpr int kStopped = 3;

bool StopAsked(const UploadOptions& options) {
    return options.stop != nullptr && options.stop->load();
}

// Counts what went and tells it as it goes.
class Progress {
  public:
    Progress(std::ostream& err, bool dryRun)
        : err_(err), dryRun_(dryRun), start_(std::chrono::steady_clock::now()) {}

    void sent(const std::string& file, long long bytes) {
        ++sent_;
        total_ += bytes;
        err_ << (dryRun_ ? "would send " : "sent ") << file << " (" << bytes << " bytes, " << total_
             << " in all)\n";
    }
    void skipped(const std::string& file) {
        ++skipped_;
        err_ << "skipped " << file << " (the server has it as it was sent)\n";
    }
    // A file counted as sent that the server turned out not to hold.
    void notPlaced(const std::string& file, long long bytes, const std::string& reason) {
        --sent_;
        total_ -= bytes;
        failed(file, "the server said it was stored, but " + reason);
    }
    void failed(const std::string& file, const std::string& reason) {
        failed_.push_back(file);
        err_ << "failed " << file << ": " << reason << "\n";
    }
    void percent(const std::string& file, int value) {
        err_ << "  " << file << ": " << value << "%\n";
    }
    int finish() {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        err_ << sent_ << (dryRun_ ? " files to send, " : " files sent, ") << skipped_
             << " skipped, " << failed_.size() << " failed, " << total_ << " bytes in " << seconds
             << " s\n";
        if (sent_ == 0 && failed_.empty()) {
            err_ << "nothing to send: the server has every file\n";
        }
        for (const std::string& file : failed_) {
            err_ << "not sent: " << file << "\n";
        }
        return failed_.empty() ? kAllSent : kSomeFailed;
    }

  private:
    std::ostream& err_;
    bool dryRun_;
    std::chrono::steady_clock::time_point start_;
    int sent_ = 0;
    int skipped_ = 0;
    long long total_ = 0;
    std::vector<std::string> failed_;
};

int UploadToHosting(const SitePages& site, SqliteDatabase& db, const HostingAddresses& addresses,
                    const UploadOptions& options, std::ostream& err) {
    const bool dryRun = options.dryRun;
    HostingFolder folder;
    try {
        folder = LoadHostingFolder(db, options.vault);
    } catch (const SqliteException& failure) {
        err << "cannot read the hosting folder from the page store: " << failure.message() << "\n";
        return kCannotSend;
    }
    if (!folder.exists()) {
        err << "no hosting folder is recorded in the page store: register one in Quillora "
               "first (the folder label of the controls bar)\n";
        return kCannotSend;
    }
    Progress progress(err, dryRun);
    std::ostringstream ignored;
    ConsolePrompts prompts(ignored);
    PagePublisher publisher(site.workingFolder, prompts);
    PageStore store(db, prompts);
    publisher.setUpFor(store, site.siteFolder);
    for (const PageRecord& page : site.pages) {
        if (StopAsked(options)) {
            progress.failed(page.fileName, "stopped before it went");
            continue;
        }
        std::string connection;
        const SendReport report = SendPage(
            {page.fileName, page.pageTitle,
             [&]() -> std::optional<std::string> {
                 return publisher.pageText(page, PublishVariant::Upload, site.siteFolder);
             },
             site.siteFolder, site.workingFolder},
            folder, addresses,
            [&](const std::string& text, const char* caption) {
                if (std::string(caption) == "SERVER ANSWER" && text == "N") {
                    connection = "the hosting service cannot be reached";
                }
            },
            dryRun, options.force);
        if (!connection.empty() && !report.failure.empty()) {
            err << connection << ": " << report.failure << "\n";
            return kCannotSend;
        }
        for (const auto& [file, bytes] : report.sent) {
            progress.sent(file, bytes);
        }
        for (const std::string& file : report.skipped) {
            progress.skipped(file);
        }
        if (!report.failure.empty()) {
            progress.failed(page.fileName, report.failure);
        }
    }
    if (!StopAsked(options)) {
        const auto deleted = store.deleted().pages(site.siteFolder);
        if (dryRun) {
            SentRecord record(site.workingFolder, "hosting|" + folder.folderId);
            for (const std::string& name : PagesToRemove(deleted, record)) {
                err << "would remove: " << RemovalNotice(name) << "\n";
            }
        } else {
            for (const std::string& name :
                 RemoveDeletedPages(deleted, folder, addresses, site.workingFolder,
                                    [&](const std::string&text, const char*caption) {
                                        if (std::string(caption) == "PAGE REMOVED") {
                                            err << text << "\n";
                                        }
                                    })) {
                progress.failed(name, "could not be removed from the hosting folder");
            }
        }
    }
    const int status = progress.finish();
    return StopAsked(options) ? kStopped : status;
}

// The address the engine logs in to.
std::string EngineAddress(const UploadTarget& target) {
    return (target.secureShell ? "sftp://" : "") + target.server;
}

// The password for FTP or SFTP: the address's, the environment's, or the one remembered for
// this server (as typed in the uploader, with or without its scheme) and user.
std::string FtpPassword(SqliteDatabase& db, const UploadTarget& target, PasswordVault* vault) {
    if (target.password) {
        return *target.password;
    }
    if (const char* password = std::getenv("QUILLORA_FTP_PASSWORD")) {
        return password;
    }
    try {
        const StoredFtpLogin login =
            RememberedFtpLogin(db, target.user, target.server,
                               (target.secureShell ? "sftp://" : "ftp://") + target.server);
        if (login.inKeyring) {
            return vault != nullptr ? vault->read(KeyringName(login)).value_or(std::string())
                                    : std::string();
        }
        return login.password;
    } catch (const SqliteException&) {
        return std::string();
    }
}

// Nobody answers at the command line: a certificate is trusted when the options name its
// fingerprint, plain FTP goes on with a warning, an unknown host key is refused.
class OptionAnswers : public TrustQuestions {
  public:
    OptionAnswers(const UploadOptions& options, const std::string& server, std::ostream& err)
        : options_(options), server_(server), err_(err) {}

    bool trustCertificate(const PeerKey& key, bool changed) override {
        if (!options_.trustedCertificate.empty() &&
            SameFingerprint(key.fingerprint, options_.trustedCertificate)) {
            err_ << "trusting the certificate of " << server_ << " (" << key.fingerprint
                 << ") as --trust-certificate says\n";
            return true;
        }
        err_ << "the certificate of " << server_
             << (changed ? " differs from the one accepted for it" : " cannot be verified")
             << "; its SHA-256 fingerprint is " << key.fingerprint
             << "\nif that is your server's, run again with --trust-certificate " << key.fingerprint
             << "\n";
        return false;
    }
    bool goOnUnencrypted() override { return !options_.requireTls; }
    bool trustHostKey(const SshHostKey& key) override {
        const std::string wanted = StartsWith(options_.trustedHostKey, "SHA256:")
                                       ? options_.trustedHostKey
                                       : "SHA256:" + options_.trustedHostKey;
        if (options_.trustedHostKey.empty() || wanted != key.fingerprint()) {
            return false;
        }
        err_ << "trusting the host key of " << server_ << " (" << key.fingerprint()
             << ") as --trust-host-key says; it is added to " << KnownHostsPath() << "\n";
        return true;
    }
    void hostKeyNotKept() override {}

  private:
    const UploadOptions& options_;
    std::string server_;
    std::ostream& err_;
};

// Why a login failed, where the code alone does not say it.
std::string LoginFailure(const FtpEngine& engine, int code, const UploadOptions& options) {
    const std::string shown =
        engine.ftpeHostKey() ? engine.ftpeHostKey()->fingerprint() : std::string("unknown");
    const bool trustedOther =
        !options.trustedHostKey.empty() &&
        (code == FtpEngine::kUnknownHostKey || code == FtpEngine::kChangedHostKey);
    if (trustedOther) {
        return " (the server's host key is " + shown + ", not the one --trust-host-key names (" +
               options.trustedHostKey + "): nothing was trusted or sent)";
    }
    switch (code) {
        case FtpEngine::kNoTls:
            return options.requireTls ? " (the server offers no TLS, and --require-tls refuses it)"
                                      : " (" + FtpErrorMeaning(code) + ")";
        case FtpEngine::kUnknownHostKey:
            return " (the server's host key " + shown + " is not in " + KnownHostsPath() +
                   ": connect once with ssh or the Quillora uploader and accept it, or, if that "
                   "is your server's key, run again with --trust-host-key " +
                   shown + ")";
        case FtpEngine::kChangedHostKey:
            return " (WARNING: the server's host key has changed to " + shown +
                   "; someone may be listening in between. If the change is expected, remove the "
                   "old key from " +
                   KnownHostsPath() + ")";
        default:
            break;
    }
    return " (" + FtpErrorMeaning(code) + ")";
}

// A file the server confirmed, to be checked in its listing before it is recorded as sent.
struct Placed {
    std::string file;
    std::string local;
    std::string digest;
    std::optional<SentRecord::LocalState> before;
    long long bytes = 0;
};

// A server may confirm a file it threw away or a rename it never made: the folder's listing
// must show each file whole before the record says it was sent.
void RecordPlaced(FtpEngine& engine, const std::vector<Placed>& placed, SentRecord& record,
                  Progress& progress, const std::string& prefix) {
    if (placed.empty()) {
        return;
    }
    std::vector<SentFile> sent;
    for (const Placed& file : placed) {
        sent.push_back({file.file, file.bytes});
    }
    const int listed = engine.ftpeGetList();
    std::vector<std::pair<std::string, std::string>> missing;
    if (listed < 0) {
        for (const SentFile& file : sent) {
            missing.emplace_back(file.name, "its folder could not be listed to check it (code " +
                                                std::to_string(listed) + ")");
        }
    } else {
        missing = NotHeldWhole(engine.entries(), sent);
    }
    for (const Placed& file : placed) {
        const auto wrong = std::find_if(missing.begin(), missing.end(), [&](const auto& entry) {
            return entry.first == file.file;
        });
        if (wrong != missing.end()) {
            progress.notPlaced(prefix + file.file, file.bytes, wrong->second);
        } else {
            record.sent(prefix + file.file, file.local, file.digest, file.before);
        }
    }
}

// Sends the file, taking it back when a stop is asked; whether it went. Progress tells how far
// it got and, when it did not go, why.
bool PutFile(FtpEngine& engine, const std::string& file, long long size,
             const UploadOptions& options, Progress& progress) {
    int code = engine.ftpePutFile(file);
    auto next = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (code >= 0) {
        if (StopAsked(options)) {
            // Taken back: the part file goes, the server keeps what it had under the name.
            engine.ftpeAbort();
            code = kStopped;
            break;
        }
        code = engine.ftpeDriver();
        if (code == 0) {
            break;
        }
        if (code > 0 && std::chrono::steady_clock::now() >= next && size > 0) {
            progress.percent(file, static_cast<int>(engine.ftpeGetInteger(12) * 100 / size));
            next += std::chrono::seconds(1);
        }
    }
    const std::string partFile = engine.leftPartFile();
    if (code == kStopped) {
        progress.failed(file, partFile.empty()
                                  ? "stopped while it went; nothing of it stays on the server"
                                  : "stopped while it went; its part file " + partFile +
                                        " stays on the server");
        return false;
    }
    if (code < 0) {
        const std::string& refusal = engine.serverRefusal();
        progress.failed(
            file, "code " + std::to_string(code) + " (" + FtpErrorMeaning(code, refusal) + ")" +
                      (refusal.empty() ? std::string() : "; the server said \"" + refusal + "\"") +
                      (partFile.empty() ? std::string()
                                        : "; its part file " + partFile + " stays on the server"));
        return false;
    }
    return true;
}

// The deleted pages this program sent to the folder, removed from it, each told first; a page
// the folder no longer holds, or holds as someone else's file now, is forgotten.
void RemoveDeletedPages(FtpEngine& engine,
                        const std::vector<std::pair<std::string, long long>>& deleted,
                        const std::map<std::string, std::optional<long long>>& onServer,
                        SentRecord& record, const std::string& siteFolder,
                        const UploadOptions& options, Progress& progress, std::ostream& err) {
    const std::string base = engine.ftpeGetServerDir();
    for (const std::string& name : PagesToRemove(deleted, record)) {
        if (StopAsked(options)) {
            continue;
        }
        // A version in a language's folder is removed from that folder on the server.
        const std::size_t slash = name.find('/');
        const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
        std::map<std::string, std::optional<long long>> languageFolder;
        if (slash != std::string::npos) {
            const std::string folder =
                base + (EndsWith(base, "/") ? "" : "/") + name.substr(0, slash);
            if (engine.ftpeSetServerDir(folder) >= 0 && engine.ftpeGetList() >= 0) {
                for (const FtpEntry& entry : engine.entries()) {
                    languageFolder[entry.name] = entry.size;
                }
            }
        }
        const auto& listing = slash == std::string::npos ? onServer : languageFolder;
        const auto back = [&] {
            if (slash != std::string::npos) {
                engine.ftpeSetServerDir(base);
            }
        };
        if (listing.count(file) == 0) {
            if (!options.dryRun) {
                record.removed(name);
            }
            back();
            continue;
        }
        const std::optional<std::string> there =
            FetchServerFile(engine, file, siteFolder, [&] { return StopAsked(options); });
        if (!there) {
            if (!StopAsked(options)) {
                progress.failed(name, "could not be read back from the server, so it stays");
            }
        } else if (!HoldsAsSent(*there, record.sentHash(name).value_or(std::string()))) {
            err << name << " on the server is not what this program sent there, so it stays\n";
            if (!options.dryRun) {
                record.removed(name);
            }
        } else {
            err << (options.dryRun ? "would remove: " : "") << RemovalNotice(name) << "\n";
            const int code = options.dryRun ? 0 : engine.ftpeDelFile(file);
            if (code < 0) {
                progress.failed(name, "could not be removed from the server: code " +
                                          std::to_string(code) + " (" + FtpErrorMeaning(code) +
                                          ")");
            } else if (!options.dryRun) {
                record.removed(name);
            }
        }
        back();
    }
}

// Logs in as the window's user or the options answer, opens the target's folder and lists it;
// false, told, when the target cannot be reached that far.
bool OpenTargetFolder(FtpEngine& engine, const SitePages& site, const UploadTarget& target,
                      const std::string& password, const UploadOptions& options,
                      std::ostream& err) {
    engine.ftpeAttach();
    engine.hashSentContent(true);
    engine.ftpeLog("--> quillora-publish to " + EngineAddress(target) + "/" + target.path);
    // The window's user is asked as the uploader asks; at the command line the options answer.
    std::unique_ptr<TrustQuestions> answers;
    if (options.asker != nullptr) {
        answers = std::make_unique<UploaderQuestions>(*options.asker, target.server);
    } else {
        answers = std::make_unique<OptionAnswers>(options, target.server, err);
    }
    const int connected = LogInTrusting(engine,
                                        {EngineAddress(target), target.user, password,
                                         site.workingFolder, options.requireTls, false},
                                        *answers);
    if (connected < 0) {
        err << "cannot log in to " << target.server << " as " << target.user << ": code "
            << connected << LoginFailure(engine, connected, options) << "\n";
        return false;
    }
    if (!target.secureShell && !engine.usesTls()) {
        err << "warning: " << target.server
            << " offers no TLS: the password and the files travel unencrypted\n";
    }
    const std::string folder = "/" + target.path;
    if (!target.path.empty() && engine.ftpeSetServerDir(folder) < 0) {
        err << "the server has no folder " << folder << "\n";
        return false;
    }
    if (engine.ftpeGetList() < 0) {
        err << "cannot list " << folder << " on " << target.server << "\n";
        return false;
    }
    if (engine.filesInClear()) {
        err << "warning: " << target.server
            << " encrypts the login but refuses to encrypt files (PROT P): the files travel "
               "unencrypted (--require-tls refuses such a server)\n";
    }
    return true;
}

// Sends each of the folder's files the server folder lacks or holds otherwise (every one when
// forced), recording what the server confirmed under the prefix given ("fr/" for a language's
// folder).
void SendFolderFiles(FtpEngine& engine, const std::string& localFolder, const std::string& prefix,
                     const std::vector<std::string>& files,
                     const std::map<std::string, std::optional<long long>>& onServer,
                     SentRecord& record, const UploadOptions& options, Progress& progress) {
    std::vector<Placed> placed;
    engine.ftpeSetLocalDir(localFolder);
    engine.ftpeSetMode('B');
    for (const std::string& file : files) {
        const std::string recorded = prefix + file;
        if (StopAsked(options)) {
            progress.failed(recorded, "stopped before it went");
            continue;
        }
        const std::string local = JoinPath(localFolder, file);
        const long long size = FtpEngine::ftpeGetLocalFSize(local);
        const auto held = onServer.find(file);
        if (!options.force && held != onServer.end() &&
            !record.needsSending(recorded, local, held->second)) {
            progress.skipped(recorded);
            continue;
        }
        if (options.dryRun) {
            progress.sent(recorded, size);
            continue;
        }
        const std::optional<SentRecord::LocalState> before = SentRecord::Look(local);
        if (PutFile(engine, file, size, options, progress)) {
            placed.push_back({file, local, engine.ftpeSentDigest(), before, size});
            progress.sent(recorded, size);
        }
    }
    RecordPlaced(engine, placed, record, progress, prefix);
}

// Every file the pages need: those of the target folder, then each language's in a folder of
// its own there, made when missing.
void SendMissingFiles(FtpEngine& engine, const SitePages& site,
                      const std::map<std::string, std::optional<long long>>& onServer,
                      SentRecord& record, const UploadOptions& options, Progress& progress) {
    std::vector<std::string> pageFiles;
    for (const PageRecord& page : site.pages) {
        pageFiles.push_back(page.fileName);
    }
    std::map<std::string, std::vector<std::string>> byFolder;
    for (const std::string& file : FilesToSend(site.siteFolder, pageFiles, site.languages)) {
        const std::size_t slash = file.find('/');
        byFolder[slash == std::string::npos ? std::string() : file.substr(0, slash)].push_back(
            slash == std::string::npos ? file : file.substr(slash + 1));
    }
    SendFolderFiles(engine, site.siteFolder, "", byFolder[""], onServer, record, options, progress);
    const std::string base = engine.ftpeGetServerDir();
    for (const auto& [language, files] : byFolder) {
        if (language.empty() || StopAsked(options)) {
            continue;
        }
        if (!options.dryRun) {
            // There already, the folder is refused: only changing into it counts.
            engine.ftpeMakeServerDir(language);
        }
        std::map<std::string, std::optional<long long>> held;
        const std::string folder = base + (EndsWith(base, "/") ? "" : "/") + language;
        if (engine.ftpeSetServerDir(folder) >= 0 && engine.ftpeGetList() >= 0) {
            for (const FtpEntry& entry : engine.entries()) {
                held[entry.name] = entry.size;
            }
        } else if (!options.dryRun) {
            for (const std::string& file : files) {
                progress.failed(language + "/" + file,
                                "its folder could not be made on the server");
            }
            continue;
        }
        SendFolderFiles(engine, JoinPath(site.siteFolder, language), language + "/", files, held,
                        record, options, progress);
        engine.ftpeSetServerDir(base);
    }
}

int UploadToFtp(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
                const UploadOptions& options, std::ostream& err) {
    const std::string password = FtpPassword(db, target, options.vault);
    // SFTP may log in with the user's key or agent instead.
    if (password.empty() && !target.secureShell) {
        err << "no password for " << target.user << "@" << target.server
            << ": set QUILLORA_FTP_PASSWORD or remember the login in the uploader\n";
        return kCannotSend;
    }
    FtpEngine engine(JoinPath(site.workingFolder, "conftp.log"));
    if (!OpenTargetFolder(engine, site, target, password, options, err)) {
        return kCannotSend;
    }
    std::map<std::string, std::optional<long long>> onServer;
    for (const FtpEntry& entry : engine.entries()) {
        onServer[entry.name] = entry.size;
    }
    SentRecord record(site.workingFolder, (target.secureShell ? "sftp|" : "ftp|") + target.server +
                                              "|" + target.user + "|/" + target.path);
    Progress progress(err, options.dryRun);
    SendMissingFiles(engine, site, onServer, record, options, progress);
    std::ostringstream ignored;
    ConsolePrompts quiet(ignored);
    RemoveDeletedPages(engine, PageStore(db, quiet).deleted().pages(site.siteFolder), onServer,
                       record, site.siteFolder, options, progress, err);
    engine.ftpeClose();
    engine.ftpeRelease();
    const int status = progress.finish();
    if (StopAsked(options)) {
        err << "stopped: the files above marked \"not sent\" did not go\n";
        return kStopped;
    }
    return status;
}

}  // namespace

int UploadSite(const SitePages& site, const UploadTarget& target, SqliteDatabase& db,
               const HostingAddresses& hosting, const UploadOptions& options, std::ostream& err) {
    return target.hosting ? UploadToHosting(site, db, hosting, options, err)
                          : UploadToFtp(site, target, db, options, err);
}
