#include "transfer/ftp_engine.h"

#include <filesystem>

#include "common/text_search.h"
#include "transfer/curl_request.h"
#include "transfer/remote_commands.h"
#include "transfer/server_names.h"

namespace {

constexpr long kConnectTimeoutSeconds = 30;

size_t Collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

}  // namespace

int FtpEngine::Debug(CURL*, curl_infotype kind, char* data, size_t size, void* engine) {
    // The files' bytes pass here too: they are not logged, nor copied.
    if (kind != CURLINFO_HEADER_OUT && kind != CURLINFO_HEADER_IN && kind != CURLINFO_TEXT) {
        return 0;
    }
    auto* self = static_cast<FtpEngine*>(engine);
    const std::string text(data, size);
    if (kind == CURLINFO_HEADER_OUT) {
        self->tls_.sawCommand(text);
        self->log_.line(
            "> " + (StartsWith(text, "PASS ") ? std::string("PASS ****") : WithoutLineEnd(text)));
    } else if (kind == CURLINFO_HEADER_IN) {
        self->tls_.sawReply(text);
        if (!text.empty() && (text[0] == '4' || text[0] == '5')) {
            self->refusal_ = WithoutLineEnd(text);
        }
        self->log_.line("< " + WithoutLineEnd(text));
    } else {
        self->log_.line("* " + WithoutLineEnd(text));
    }
    return 0;
}

FtpEngine::FtpEngine(std::string logPath) : log_(std::move(logPath)) {}

FtpEngine::~FtpEngine() {
    ftpeClose();
    ftpeRelease();
}

int FtpEngine::ftpeAttach() {
    log_.open();
    if (!request_) {
        request_ = std::make_unique<CurlRequest>();
        request_->setWaiting(goesOn_);
    }
    return request_->ready() ? 0 : -CURLE_FAILED_INIT;
}

void FtpEngine::waitWith(std::function<bool()> goesOn) {
    goesOn_ = std::move(goesOn);
    if (request_) {
        request_->setWaiting(goesOn_);
    }
}

void FtpEngine::prepare(const std::string& url) {
    CURL* easy = request_->easy();
    // A reset keeps the open connection; every request sets what it needs anew.
    request_->reset();
    body_.clear();
    refusal_.clear();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, password_.c_str());
    if (freshConnection_) {
        curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
        freshConnection_ = false;
    }
    if (secureShell_) {
        ssh_.prepare(easy, !password_.empty());
    } else {
        tls_.prepare(easy);
    }
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // One stall rule for everything: no byte for the limit, or no answer for it.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, stallSeconds_);
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds_);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, binary_ ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body_);
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, Debug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
}

int FtpEngine::perform() {
    return outcome(request_->perform());
}

int FtpEngine::outcome(int code) const {
    if (secureShell_ && code == -CURLE_PEER_FAILED_VERIFICATION && ssh_.problem() != 0) {
        return ssh_.problem();
    }
    return code;
}

std::string FtpEngine::folderUrl(const std::string& path) const {
    std::string url = base_ + "/";
    // SFTP addresses name whole paths; a relative one starts in the login folder ("~").
    if (secureShell_ && (path.empty() || path.front() != '/')) {
        url += "~/";
    }
    bool absolute = !secureShell_ && !path.empty() && path.front() == '/';
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(start, end - start);
        if (!segment.empty()) {
            if (absolute) {
                // The path begins at the server's root, not in the login folder.
                url += "%2F";
                absolute = false;
            }
            char* escaped = curl_easy_escape(request_->easy(), segment.c_str(),
                                             static_cast<int>(segment.size()));
            url += std::string(escaped) + "/";
            curl_free(escaped);
        }
        start = end + 1;
    }
    if (absolute) {
        url += "%2F";
    }
    return url;
}

std::string FtpEngine::fileUrl(const std::string& name) const {
    char* escaped = curl_easy_escape(request_->easy(), name.c_str(), static_cast<int>(name.size()));
    const std::string url = folderUrl(serverDir_) + escaped;
    curl_free(escaped);
    return url;
}

int FtpEngine::ftpeConnect(const std::string& server, const std::string& user,
                           const std::string& password) {
    if (ftpeAttach() < 0) {
        return -CURLE_FAILED_INIT;
    }
    const ServerAddress address = ParseServerAddress(server);
    secureShell_ = address.scheme == "sftp://";
    base_ = (secureShell_ ? "sftp://" : "ftp://") + address.host;
    user_ = !user.empty() || address.user.empty() ? user : address.user;
    password_ = !password.empty() || !address.password ? password : *address.password;
    log_.setSecret(password_);
    if (!IsSendableName(user_) || !IsSendableName(password_)) {
        return kBadName;
    }
    if (secureShell_) {
        // The SSH folder is read once a login, not for every request.
        ssh_.begin(base_);
    }
    tls_.beginLogin();
    int result = logIn();
    if (secureShell_ && result < 0 && ssh_.mayHaveChangedKeyType()) {
        // libssh2 asks only for the key type known_hosts holds: a server that no longer has
        // one of that type fails before showing any key.
        ssh_.acceptAnyKeyType(true);
        result = logIn();
        ssh_.acceptAnyKeyType(false);
    }
    if (result == -CURLE_USE_SSL_FAILED && !secureShell_) {
        if (tls_.protectionRefused() && !tls_.required()) {
            // The login went encrypted but the server refused PROT P: the files go in clear on
            // a connection of their own, the login stays encrypted.
            tls_.filesInClear();
            log_.line(
                "--> The server refuses TLS on data connections (PROT P): files travel in clear, "
                "the login stays encrypted");
            result = logIn();
        } else if (!tls_.inUse() && !tls_.required()) {
            // AUTH was refused: nothing of the login went.
            result = tls_.known() ? kTlsRefusedNow : kPlainServer;
        } else {
            result = kNoTls;
        }
    }
    if (result < 0) {
        return result;
    }
    char* entry = nullptr;
    curl_easy_getinfo(request_->easy(), CURLINFO_FTP_ENTRY_PATH, &entry);
    // The folder the server put the user in at login.
    serverDir_ = entry != nullptr ? entry : "/";
    if (secureShell_) {
        log_.line("--> SFTP: the login and the files travel encrypted; host key " +
                  (ssh_.hostKey() ? ssh_.hostKey()->fingerprint() : std::string("known")));
    } else {
        log_.line(tls_.inUse() ? "--> TLS in use: the login and the files travel encrypted"
                               : "--> Plain FTP: the server offers no TLS; the password and the "
                                 "files travel unencrypted");
    }
    return 0;
}

int FtpEngine::logIn() {
    // A login of its own, so that what it agrees on (TLS) is seen.
    freshConnection_ = true;
    prepare(base_ + "/");
    curl_easy_setopt(request_->easy(), CURLOPT_NOBODY, 1L);
    return perform();
}

std::optional<PeerKey> FtpEngine::ftpePeerKey() {
    if (!request_ || secureShell_) {
        return std::nullopt;
    }
    freshConnection_ = true;
    prepare(base_ + "/");
    CURL* easy = request_->easy();
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(easy, CURLOPT_PINNEDPUBLICKEY, nullptr);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    ProbeCertificate(easy, &probedKey_);
    perform();
    return probedKey_;
}

int FtpEngine::ftpeSetServerDir(const std::string& path) {
    if (!IsSendableName(path)) {
        return kBadName;
    }
    prepare(folderUrl(path));
    // An SFTP folder is there when it can be listed; FTP changes into it.
    if (!secureShell_) {
        curl_easy_setopt(request_->easy(), CURLOPT_NOBODY, 1L);
    }
    const int result = perform();
    if (result == 0) {
        serverDir_ = path;
    }
    return result;
}

long long FtpEngine::ftpeGetLocalFSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

long long FtpEngine::ftpeGetInteger(int which) const {
    curl_off_t bytes = 0;
    if (request_) {
        curl_easy_getinfo(request_->easy(),
                          which == 12 ? CURLINFO_SIZE_UPLOAD_T : CURLINFO_SIZE_DOWNLOAD_T, &bytes);
    }
    return static_cast<long long>(bytes);
}

int FtpEngine::commands(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        if (!IsSendableName(text)) {
            return kBadName;
        }
    }
    prepare(folderUrl(serverDir_));
    // FTP changes into the folder first, so the names are the folder's whatever the connection
    // did before; SFTP names whole paths.
    request_->setCommands(secureShell_ ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, texts);
    curl_easy_setopt(request_->easy(), CURLOPT_NOBODY, 1L);
    return perform();
}

int FtpEngine::entryCommand(const char* ftpVerb, const char* sftpVerb, const std::string& name) {
    return commands({EntryCommand(secureShell_, ftpVerb, sftpVerb, serverDir_, name)});
}

int FtpEngine::ftpeMakeServerDir(const std::string& name) {
    return entryCommand("MKD", "mkdir", name);
}

int FtpEngine::ftpeDelFile(const std::string& name) {
    return entryCommand("DELE", "rm", name);
}

int FtpEngine::ftpeDelServerDir(const std::string& name) {
    return entryCommand("RMD", "rmdir", name);
}

long long FtpEngine::ftpeFileLength(const std::string& name) {
    if (secureShell_) {
        // SFTP tells sizes in the listing only: the current folder's, as last read.
        for (const FtpEntry& entry : entries_) {
            if (entry.name == name && entry.size) {
                return *entry.size;
            }
        }
        return -1;
    }
    if (!IsSendableName(name)) {
        return kBadName;
    }
    prepare(fileUrl(name));
    curl_easy_setopt(request_->easy(), CURLOPT_NOBODY, 1L);
    const int result = perform();
    if (result < 0) {
        return result;
    }
    curl_off_t length = -1;
    curl_easy_getinfo(request_->easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return static_cast<long long>(length);
}

void FtpEngine::ftpeClose() {
    ftpeAbort();
    file_.reset();
}

void FtpEngine::ftpeRelease() {
    request_.reset();
    log_.close();
}
