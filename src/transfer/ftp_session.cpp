#include "transfer/ftp_session.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "common/paths.h"
#include "common/text_case.h"
#include "files/folder_listing.h"
#include "platform/password_vault.h"
#include "platform/prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/ftp_login_store.h"
#include "transfer/ftp_engine.h"
#include "transfer/server_login.h"
#include "transfer/server_names.h"
#include "transfer/transfer_errors.h"

namespace {

constexpr const char* kQuilloraMessage = "QUILLORA MESSAGE";
constexpr const char* kFolderMark = "[FOLDER]";

bool IsFolder(const std::string& entry) {
    return entry.find(kFolderMark) != std::string::npos;
}

// The folder's name: its entry up to the two blanks before "[FOLDER]".
std::string FolderName(const std::string& entry) {
    const std::size_t mark = entry.find(kFolderMark);
    return entry.substr(0, mark >= 2 ? mark - 2 : 0);
}

void Sort(std::vector<std::string>& entries) {
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return AlphabeticallyBefore(a, b); });
}

}  // namespace

std::string ProtocolName(TransferProtocol protocol) {
    switch (protocol) {
        case TransferProtocol::FtpTlsRequired:
            return "ftp-tls";
        case TransferProtocol::Sftp:
            return "sftp";
        case TransferProtocol::Ftp:
            break;
    }
    return "ftp";
}

TransferProtocol ProtocolNamed(const std::string& name) {
    if (name == "sftp") {
        return TransferProtocol::Sftp;
    }
    return name == "ftp-tls" ? TransferProtocol::FtpTlsRequired : TransferProtocol::Ftp;
}

std::string LocalFolderAbove(const std::string& folder) {
    const std::string trimmed = WithoutTrailingSeparator(folder);
    const std::size_t last = trimmed.find_last_of(kPathSeparator);
    if (trimmed.empty() || last == std::string::npos) {
        return folder;
    }
    const std::string parent = trimmed.substr(0, last);
    return parent.empty() ? std::string(1, kPathSeparator) : parent;
}

std::string ServerFolderAbove(const std::string& folder) {
    const std::size_t last = folder.rfind('/');
    if (last == std::string::npos) {
        return std::string();
    }
    return last == 0 ? std::string("/") : folder.substr(0, last);
}

FtpSession::FtpSession(std::string workingFolder, std::string localFolder, Prompts& prompts,
                       PasswordVault* vault)
    : workingFolder_(std::move(workingFolder)), prompts_(prompts), vault_(vault) {
    panes_.localFolder = std::move(localFolder);
}

FtpSession::~FtpSession() = default;

bool FtpSession::connected() {
    if (!panes_.connected) {
        prompts_.messageBox("Action cancelled: No FTP server connection.", kQuilloraMessage,
                            MessageButtons::Ok, MessageIcon::None);
    }
    return panes_.connected;
}

void FtpSession::showError(int code) {
    const std::string meaning = FtpErrorMeaning(code);
    prompts_.messageBox("Code: " + std::to_string(code) + (meaning.empty() ? "" : "\n" + meaning),
                        "FTP Error:", MessageButtons::Ok, MessageIcon::None);
}

void FtpSession::endEngine() {
    if (engine_) {
        engine_->ftpeClose();
        engine_->ftpeRelease();
        engine_.reset();
    }
}

// The uploader's answers to a login's questions: the user's, through message boxes.
class FtpSession::Questions : public TrustQuestions {
  public:
    Questions(Prompts& prompts, std::string server)
        : prompts_(prompts), server_(std::move(server)) {}

    bool trustCertificate(const PeerKey& key, bool changed) override {
        const std::string why =
            changed ? " shows another certificate than the one you accepted before. Someone may "
                      "be listening in between."
                    : " offers an encrypted connection, but its certificate cannot be verified.";
        return prompts_.messageBox("The FTP server " + server_ + why +
                                       "\nIts key: " + key.fingerprint +
                                       "\nNothing of your login has been sent yet. Connect "
                                       "anyway? The connection stays encrypted.",
                                   "FTP Security", MessageButtons::YesNo,
                                   MessageIcon::Warning) == MessageAnswer::Yes;
    }
    bool goOnUnencrypted() override {
        return prompts_.messageBox(
                   "The FTP server " + server_ +
                       " offers no encryption: your password and your files would travel "
                       "unencrypted, readable by anyone on the way.\nNothing of your login has "
                       "been sent yet. Connect anyway? (Your answer is remembered for this "
                       "server.)",
                   "FTP Security", MessageButtons::YesNo,
                   MessageIcon::Warning) == MessageAnswer::Yes;
    }
    bool trustHostKey(const SshHostKey& key) override {
        return prompts_.messageBox("The SFTP server " + server_ +
                                       " is not among your known hosts, so its identity cannot "
                                       "be checked.\nIts " +
                                       key.type() + " key fingerprint is " + key.fingerprint() +
                                       ".\nCompare it with the one your host publishes. Connect "
                                       "and remember this server?",
                                   "SFTP Security", MessageButtons::YesNo,
                                   MessageIcon::Warning) == MessageAnswer::Yes;
    }
    void hostKeyNotKept() override {
        prompts_.messageBox("The server's key could not be added to " + KnownHostsPath() + ".",
                            "SFTP Security", MessageButtons::Ok, MessageIcon::Warning);
    }

  private:
    Prompts& prompts_;
    std::string server_;
};

void FtpSession::connect() {
    // Connecting again shows the server folder as it is now.
    if (panes_.connected) {
        refreshServerList();
        return;
    }
    // The scheme typed wins over the choice.
    if (panes_.server.rfind("sftp://", 0) == 0) {
        panes_.protocol = TransferProtocol::Sftp;
    } else if (panes_.server.rfind("ftp://", 0) == 0 && panes_.protocol == TransferProtocol::Sftp) {
        panes_.protocol = TransferProtocol::Ftp;
    }
    const bool sftp = panes_.protocol == TransferProtocol::Sftp;
    const std::pair<const std::string*, const char*> fields[] = {
        {&panes_.server, "FTP server address blank."},
        {&panes_.user, "FTP account username is blank."},
        {&panes_.password, "Password is blank."}};
    for (const auto& [text, blank] : fields) {
        // SFTP may log in with the user's key or agent instead of a password.
        if (text->empty() && !(sftp && text == &panes_.password)) {
            prompts_.messageBox(blank, "Data Check", MessageButtons::Ok, MessageIcon::None);
            return;
        }
    }
    engine_ = std::make_unique<FtpEngine>(JoinPath(workingFolder_, "conftp.log"));
    engine_->setStallLimit(stallSeconds_);
    const int attached = engine_->ftpeAttach();
    if (attached < 0) {
        prompts_.messageBox(std::to_string(attached), "Attach error code:", MessageButtons::Ok,
                            MessageIcon::None);
    }
    const std::string shownServer = ParseServerAddress(panes_.server).withoutLogin();
    engine_->ftpeLog("--> Connecting to " + shownServer + " as " + panes_.user);
    Questions questions(prompts_, shownServer);
    const int code = LogInTrusting(*engine_,
                                   {engineAddress(), panes_.user, panes_.password, workingFolder_,
                                    panes_.protocol == TransferProtocol::FtpTlsRequired},
                                   questions);
    if (code < 0) {
        if (code == FtpEngine::kChangedHostKey) {
            tellChangedHostKey(shownServer);
        }
        if (code != FtpEngine::kUnknownHostKey && code != FtpEngine::kPlainServer) {
            // A host key or plain FTP the user declined needs no second message.
            showError(code);
        }
        endEngine();
        return;
    }
    panes_.connected = true;
    accountRoot_ = engine_->ftpeGetServerDir();
    engine_->ftpeSetLocalDir(panes_.localFolder);
    const int listed = engine_->ftpeGetList();
    if (listed < 0) {
        showError(listed);
        return;
    }
    panes_.serverFolder = engine_->ftpeGetServerDir();
    showServerEntries();
    tellClearFiles();
}

std::string FtpSession::engineAddress() const {
    if (panes_.protocol == TransferProtocol::Sftp && panes_.server.rfind("sftp://", 0) != 0) {
        return "sftp://" + panes_.server;
    }
    return panes_.server;
}

void FtpSession::tellChangedHostKey(const std::string& server) {
    const std::string shown =
        engine_->ftpeHostKey() ? engine_->ftpeHostKey()->fingerprint() : std::string("unknown");
    prompts_.messageBox(
        "WARNING: THE HOST KEY OF THE SFTP SERVER " + server +
            " HAS CHANGED!\nSomeone could be listening in between (a man-in-the-middle "
            "attack), or the server's key was just replaced.\nThe key it shows now: " +
            shown + "\nIf you know the change is expected, remove the old key from " +
            KnownHostsPath() +
            " (ssh-keygen -R with the server's name) and connect again.\nThe connection "
            "was refused.",
        "SFTP Security", MessageButtons::Ok, MessageIcon::Warning);
}

void FtpSession::tellClearFiles() {
    if (engine_ && engine_->filesInClear() && !toldClearFiles_) {
        toldClearFiles_ = true;
        prompts_.messageBox(
            "The server " + panes_.server +
                " encrypts the login but refuses to encrypt files: they travel unencrypted. "
                "Choose \"FTP with TLS required\" to refuse such a server.",
            "FTP Security", MessageButtons::Ok, MessageIcon::Warning);
    }
}

void FtpSession::tellLeftPartFile() {
    if (engine_ && !engine_->leftPartFile().empty()) {
        prompts_.messageBox("The unfinished file " + engine_->leftPartFile() +
                                " could not be removed from the server folder " +
                                engine_->ftpeGetServerDir() +
                                ". Delete it there when the server answers again.",
                            kQuilloraMessage, MessageButtons::Ok, MessageIcon::Warning);
    }
}

void FtpSession::showServerEntries() {
    panes_.serverEntries = FtpListEntries(engine_->entries());
    Sort(panes_.serverEntries);
    panes_.serverSelection.clear();
    panes_.serverCaret.reset();
}

void FtpSession::refreshServerList() {
    if (!connected()) {
        return;
    }
    const int listed = engine_->ftpeGetList();
    if (listed < 0) {
        showError(listed);
        return;
    }
    showServerEntries();
}

void FtpSession::openServerFolder() {
    if (!connected()) {
        return;
    }
    const std::optional<std::size_t> caret = panes_.serverCaret;
    if (!caret || *caret >= panes_.serverEntries.size() ||
        !IsFolder(panes_.serverEntries[*caret])) {
        prompts_.messageBox("Selected file is not a folder.", "Quillora Message",
                            MessageButtons::Ok, MessageIcon::None);
        panes_.serverSelection.clear();
        return;
    }
    std::string path = engine_->ftpeGetServerDir();
    // The root "/" takes no second separator.
    if (path.empty() || path.back() != '/') {
        path += "/";
    }
    path += FolderName(panes_.serverEntries[*caret]);
    panes_.serverFolder = path;
    const int code = engine_->ftpeSetServerDir(path);
    if (code < 0) {
        showError(code);
        return;
    }
    refreshServerList();
}

void FtpSession::serverFolderUp() {
    if (!connected()) {
        return;
    }
    const std::string current = engine_->ftpeGetServerDir();
    // An SFTP login starts in the user's home, which is no boundary: sites often live
    // elsewhere (/var/www). Its top is the server's root.
    if (current == (engine_->secureShell() ? std::string("/") : accountRoot_)) {
        prompts_.messageBox("Already at FTP account root.", "Quillora Message", MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    const std::string parent = ServerFolderAbove(current);
    const int code = engine_->ftpeSetServerDir(parent);
    if (code < 0) {
        showError(code);
        return;
    }
    panes_.serverFolder = parent;
    refreshServerList();
}

void FtpSession::makeServerFolder() {
    if (!connected()) {
        return;
    }
    const std::optional<std::string> name = prompts_.newFolderName();
    if (!name) {
        return;
    }
    if (name->empty()) {
        prompts_.messageBox("Folder name cannot be blank.", "Quillora Message", MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    const int code = engine_->ftpeMakeServerDir(*name);
    if (code < 0) {
        showError(code);
        return;
    }
    refreshServerList();
}

void FtpSession::deleteServerItems() {
    if (panes_.serverSelection.empty()) {
        prompts_.messageBox("No files selected.", kQuilloraMessage, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    const std::size_t count = panes_.serverSelection.size();
    const std::string what =
        count == 1 ? FolderName(panes_.serverEntries.at(panes_.serverSelection.front()))
                   : "the " + std::to_string(count) + " selected entries";
    if (prompts_.messageBox("Delete " + what + " from the FTP server? This cannot be undone.",
                            kQuilloraMessage, MessageButtons::YesNo,
                            MessageIcon::Warning) != MessageAnswer::Yes) {
        return;
    }
    for (const std::size_t index : panes_.serverSelection) {
        const std::string& entry = panes_.serverEntries.at(index);
        if (!IsFolder(entry)) {
            const int code = engine_->ftpeDelFile(entry);
            if (code < 0) {
                showError(code);
            }
        } else if (engine_->ftpeDelServerDir(FolderName(entry)) < 0) {
            prompts_.messageBox("Cannot delete non-empty folders.", kQuilloraMessage,
                                MessageButtons::Ok, MessageIcon::None);
        }
    }
    refreshServerList();
}

bool FtpSession::callTheDriver(char kind, long long expected) {
    engine_->ftpeLog("--> Entering CallTheDriver");
    using Clock = std::chrono::steady_clock;
    auto nextCheck = Clock::now() + std::chrono::seconds(1);
    const auto progress = [&] {
        const long long moved = engine_->ftpeGetInteger(kind == 'P' ? 12 : 10);
        if (expected > 0) {
            prompts_.transferProgress(static_cast<int>(std::min(100LL, moved * 100 / expected)));
        }
    };
    for (;;) {
        // The window is kept painted between the driver's steps (50 ms at most each), and its
        // Cancel ends the transfer with what it wrote.
        if (!prompts_.transferGoesOn()) {
            engine_->ftpeAbort();
            engine_->ftpeLog("--> Leaving CallTheDriver");
            tellLeftPartFile();
            return false;
        }
        const int code = engine_->ftpeDriver();
        if (code < 0) {
            showError(code);
            tellLeftPartFile();
            break;
        }
        if (code == 0) {
            break;
        }
        if (Clock::now() >= nextCheck) {
            progress();
            nextCheck = Clock::now() + std::chrono::seconds(1);
        }
    }
    progress();
    engine_->ftpeLog("--> Leaving CallTheDriver");
    return true;
}

void FtpSession::uploadFiles() {
    if (!connected()) {
        return;
    }
    if (panes_.localSelection.empty()) {
        prompts_.messageBox("No files selected.", kQuilloraMessage, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    engine_->ftpeSetLocalDir(panes_.localFolder);
    engine_->ftpeSetMode('B');
    prompts_.uploadNotice(true);
    for (const std::size_t index : panes_.localSelection) {
        const std::string& entry = panes_.localEntries.at(index);
        if (IsFolder(entry)) {
            prompts_.messageBox("Can't upload folders", "Folder Skipped", MessageButtons::Ok,
                                MessageIcon::None);
            continue;
        }
        const long long size = FtpEngine::ftpeGetLocalFSize(JoinPath(panes_.localFolder, entry));
        const int code = engine_->ftpePutFile(entry);
        if (code < 0) {
            showError(code);
            continue;
        }
        if (!callTheDriver('P', size)) {
            break;
        }
    }
    panes_.localSelection.clear();
    refreshServerList();
    prompts_.uploadNotice(false);
}

void FtpSession::downloadFiles() {
    if (!connected()) {
        return;
    }
    engine_->ftpeSetLocalDir(panes_.localFolder);
    engine_->ftpeSetMode('B');
    if (panes_.serverSelection.empty()) {
        prompts_.messageBox("No files selected.", kQuilloraMessage, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    prompts_.uploadNotice(true);
    for (const std::size_t index : panes_.serverSelection) {
        const std::string& entry = panes_.serverEntries.at(index);
        if (IsFolder(entry)) {
            prompts_.messageBox("Can't download folders", "Folder Skipped", MessageButtons::Ok,
                                MessageIcon::None);
            continue;
        }
        const long long size = engine_->ftpeFileLength(entry);
        const int code = engine_->ftpeGetFile(entry);
        if (code < 0) {
            showError(code);
            continue;
        }
        if (!callTheDriver('G', size)) {
            break;
        }
    }
    prompts_.uploadNotice(false);
    fillLocalList();
    panes_.serverSelection.clear();
}

void FtpSession::disconnect() {
    panes_.serverFolder.clear();
    panes_.server.clear();
    panes_.user.clear();
    panes_.password.clear();
    panes_.serverEntries.clear();
    panes_.serverSelection.clear();
    panes_.serverCaret.reset();
    endEngine();
    panes_.connected = false;
}

void FtpSession::close() {
    endEngine();
    panes_.connected = false;
    saveLogin();
}

void FtpSession::fillLocalList() {
    panes_.localEntries = LocalListEntries(panes_.localFolder);
    Sort(panes_.localEntries);
    panes_.localSelection.clear();
    panes_.localCaret.reset();
}

void FtpSession::browseLocalFolder() {
    if (const std::optional<std::string> folder =
            prompts_.chooseFolder("Upload folder selection:", panes_.localFolder)) {
        panes_.localFolder = *folder;
        fillLocalList();
    }
}

void FtpSession::openLocalFolder() {
    const std::optional<std::size_t> caret = panes_.localCaret;
    if (!caret || *caret >= panes_.localEntries.size() || !IsFolder(panes_.localEntries[*caret])) {
        prompts_.messageBox("Selected file is not a folder.", "Quillora Message",
                            MessageButtons::Ok, MessageIcon::None);
        panes_.localSelection.clear();
        return;
    }
    panes_.localFolder = JoinPath(panes_.localFolder, FolderName(panes_.localEntries[*caret]));
    fillLocalList();
}

void FtpSession::localFolderUp() {
    const std::string above = LocalFolderAbove(panes_.localFolder);
    if (above == panes_.localFolder) {
        return;
    }
    panes_.localFolder = above;
    fillLocalList();
}

void FtpSession::loadLogin() {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder_, "quilldata.db"));
        StoredFtpLogin login = LoadFtpLogin(db);
        if (!login.remembered) {
            return;
        }
        loadedKeyringName_ = KeyringName(login);
        if (login.inKeyring) {
            login.password = vault_ != nullptr
                                 ? vault_->read(loadedKeyringName_).value_or(std::string())
                                 : std::string();
        } else if (!login.password.empty() && vault_ != nullptr && vault_->available() &&
                   vault_->store(loadedKeyringName_, login.password)) {
            // A password an earlier version kept in the store moves to the keyring.
            StoredFtpLogin moved = login;
            moved.password.clear();
            moved.inKeyring = true;
            SaveFtpLogin(db, moved);
        }
        panes_.remember = true;
        panes_.server = login.server;
        panes_.user = login.user;
        panes_.password = login.password;
        panes_.protocol = ProtocolNamed(login.protocol);
    } catch (const SqliteException& failure) {
        prompts_.messageBox(failure.message(), "db error", MessageButtons::Ok, MessageIcon::None);
    }
}

void FtpSession::saveLogin() {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder_, "quilldata.db"));
        StoredFtpLogin login{panes_.remember,
                             panes_.server,
                             panes_.user,
                             panes_.password,
                             ProtocolName(panes_.protocol),
                             false};
        const std::string name = KeyringName(login);
        if (vault_ != nullptr && !loadedKeyringName_.empty() &&
            (!panes_.remember || loadedKeyringName_ != name)) {
            vault_->forget(loadedKeyringName_);
        }
        if (panes_.remember && !panes_.password.empty() && vault_ != nullptr &&
            vault_->available() && vault_->store(name, panes_.password)) {
            login.password.clear();
            login.inKeyring = true;
        }
        SaveFtpLogin(db, login);
        loadedKeyringName_ = panes_.remember ? name : std::string();
        if (panes_.remember && !login.inKeyring) {
            keepStorePrivate();
        }
    } catch (const SqliteException& failure) {
        prompts_.messageBox(failure.message(), "db error", MessageButtons::Ok, MessageIcon::None);
    }
}

void FtpSession::keepStorePrivate() {
    std::error_code error;
    std::filesystem::permissions(
        JoinPath(workingFolder_, "quilldata.db"),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
}

std::string FtpSession::passwordPlace() {
    if (vault_ != nullptr && vault_->available()) {
        return "A remembered password is kept in your desktop's keyring.";
    }
    return "No keyring answers: a remembered password is kept in quilldata.db in " +
           workingFolder_ + ", readable only by you.";
}
