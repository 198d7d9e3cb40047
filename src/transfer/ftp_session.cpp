#include "transfer/ftp_session.h"

#include "common/paths.h"
#include "common/text_search.h"
#include "platform/prompts.h"
#include "transfer/ftp_engine.h"
#include "transfer/ftp_panes.h"
#include "transfer/server_login.h"
#include "transfer/server_names.h"
#include "transfer/transfer_errors.h"
#include "transfer/uploader_questions.h"

namespace {

// Who the fields would log in as, and where.
std::string LoginOf(const FtpPanes& panes) {
    return std::to_string(static_cast<int>(panes.protocol)) + "|" + panes.server + "|" + panes.user;
}

// The notice over the window while a server is awaited: the window keeps answering, and its
// Cancel ends the wait.
class WaitNotice {
  public:
    WaitNotice(Prompts& prompts, const std::string& text) : prompts_(prompts) {
        prompts_.waitNotice(text);
    }
    ~WaitNotice() { prompts_.waitNotice(std::string()); }
    WaitNotice(const WaitNotice&) = delete;
    WaitNotice& operator=(const WaitNotice&) = delete;

  private:
    Prompts& prompts_;
};

constexpr const char* kReadingFolder = "Reading the server folder...";

}  // namespace

FtpSession::FtpSession(std::string workingFolder, std::string localFolder, Prompts& prompts,
                       PasswordVault* vault)
    : workingFolder_(std::move(workingFolder)), prompts_(prompts), vault_(vault) {
    panes_.localFolder = std::move(localFolder);
}

FtpSession::~FtpSession() = default;

bool FtpSession::connected() {
    if (!panes_.connected) {
        prompts_.messageBox("Action cancelled: No FTP server connection.", kUploaderCaption,
                            MessageButtons::Ok, MessageIcon::None);
    }
    return panes_.connected;
}

void FtpSession::showError(int code) {
    // The server's own words name the cause best ("451 Disk full.").
    const std::string refusal = engine_ ? engine_->serverRefusal() : std::string();
    const std::string meaning = FtpErrorMeaning(code, refusal);
    const std::string said = refusal.empty() ? std::string() : "\nThe server said: " + refusal;
    prompts_.messageBox(
        "Code: " + std::to_string(code) + (meaning.empty() ? "" : "\n" + meaning) + said,
        "FTP Error:", MessageButtons::Ok, MessageIcon::None);
}

void FtpSession::endEngine() {
    if (engine_) {
        engine_->ftpeClose();
        engine_->ftpeRelease();
        engine_.reset();
    }
}

void FtpSession::connect() {
    // Connecting again to the server the fields name shows its folder as it is now; fields
    // that name another server, user or protocol connect to that one.
    if (panes_.connected && connectedTo_ == LoginOf(panes_)) {
        refreshServerList();
        return;
    }
    if (panes_.connected) {
        endEngine();
        panes_.connected = false;
        panes_.serverEntries.clear();
        panes_.serverSelection.clear();
        panes_.serverCaret.reset();
        panes_.serverFolder.clear();
    }
    // The scheme typed wins over the choice.
    if (StartsWith(panes_.server, "sftp://")) {
        panes_.protocol = TransferProtocol::Sftp;
    } else if (StartsWith(panes_.server, "ftp://") && panes_.protocol == TransferProtocol::Sftp) {
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
    engine_->waitWith([this] { return prompts_.waitGoesOn(); });
    const int attached = engine_->ftpeAttach();
    if (attached < 0) {
        prompts_.messageBox(std::to_string(attached), "Attach error code:", MessageButtons::Ok,
                            MessageIcon::None);
    }
    const std::string shownServer = ParseServerAddress(panes_.server).withoutLogin();
    engine_->ftpeLog("--> Connecting to " + shownServer + " as " + panes_.user);
    const WaitNotice waiting(prompts_, "Connecting to " + shownServer + "...");
    UploaderQuestions questions(prompts_, shownServer);
    const int code = LogInTrusting(*engine_,
                                   {engineAddress(), panes_.user, panes_.password, workingFolder_,
                                    panes_.protocol == TransferProtocol::FtpTlsRequired},
                                   questions);
    if (code < 0) {
        if (code == FtpEngine::kChangedHostKey) {
            tellChangedHostKey(shownServer);
        }
        if (code == -CURLE_ABORTED_BY_CALLBACK) {
            engine_->ftpeLog("--> Connecting cancelled");
        } else if (code != FtpEngine::kUnknownHostKey && code != FtpEngine::kPlainServer) {
            // A host key or plain FTP the user declined needs no second message.
            showError(code);
        }
        endEngine();
        return;
    }
    panes_.connected = true;
    connectedTo_ = LoginOf(panes_);
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
    if (panes_.protocol == TransferProtocol::Sftp && !StartsWith(panes_.server, "sftp://")) {
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

void FtpSession::showServerEntries() {
    panes_.serverEntries = FtpListEntries(engine_->entries());
    SortEntries(panes_.serverEntries);
    panes_.serverSelection.clear();
    panes_.serverCaret.reset();
}

bool FtpSession::refreshServerList() {
    if (!connected()) {
        return false;
    }
    const WaitNotice waiting(prompts_, kReadingFolder);
    const int listed = engine_->ftpeGetList();
    if (listed < 0) {
        showError(listed);
        return false;
    }
    showServerEntries();
    return true;
}

void FtpSession::openServerFolder() {
    if (!connected()) {
        return;
    }
    const WaitNotice waiting(prompts_, kReadingFolder);
    const std::optional<std::size_t> caret = panes_.serverCaret;
    if (!caret || *caret >= panes_.serverEntries.size() ||
        !IsFolderEntry(panes_.serverEntries[*caret])) {
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
    path += FolderEntryName(panes_.serverEntries[*caret]);
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
    const WaitNotice waiting(prompts_, kReadingFolder);
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
    const WaitNotice waiting(prompts_, "Making the folder on the server...");
    const int code = engine_->ftpeMakeServerDir(*name);
    if (code < 0) {
        showError(code);
        return;
    }
    refreshServerList();
}

void FtpSession::deleteServerItems() {
    if (panes_.serverSelection.empty()) {
        prompts_.messageBox("No files selected.", kUploaderCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    const std::size_t count = panes_.serverSelection.size();
    const std::string what =
        count == 1 ? FolderEntryName(panes_.serverEntries.at(panes_.serverSelection.front()))
                   : "the " + std::to_string(count) + " selected entries";
    if (prompts_.messageBox("Delete " + what + " from the FTP server? This cannot be undone.",
                            kUploaderCaption, MessageButtons::YesNo,
                            MessageIcon::Warning) != MessageAnswer::Yes) {
        return;
    }
    const WaitNotice waiting(prompts_, "Deleting on the server...");
    for (const std::size_t index : panes_.serverSelection) {
        const std::string& entry = panes_.serverEntries.at(index);
        if (!IsFolderEntry(entry)) {
            const int code = engine_->ftpeDelFile(entry);
            if (code < 0) {
                showError(code);
            }
        } else if (engine_->ftpeDelServerDir(FolderEntryName(entry)) < 0) {
            prompts_.messageBox("Cannot delete non-empty folders.", kUploaderCaption,
                                MessageButtons::Ok, MessageIcon::None);
        }
    }
    refreshServerList();
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
