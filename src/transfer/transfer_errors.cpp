#include "transfer/transfer_errors.h"

#include <curl/curl.h>

#include <utility>

#include "common/text_search.h"
#include "transfer/ftp_engine.h"

namespace {

constexpr const char* kNoRoom = "The server had no room for the file.";

}  // namespace

std::string FtpErrorMeaning(int code, const std::string& serverRefusal) {
    for (const char* full : {"451", "452", "552"}) {
        if (StartsWith(serverRefusal, full)) {
            return kNoRoom;
        }
    }
    return FtpErrorMeaning(code);
}

std::string FtpErrorMeaning(int code) {
    switch (code) {
        case FtpEngine::kUnknownHostKey:
            return "The server's host key is not among the known hosts.";
        case FtpEngine::kChangedHostKey:
            return "The server's host key differs from the one known for it: the connection was "
                   "refused.";
        case FtpEngine::kPlainServer:
            return "The server offers no encryption: the password and files would travel "
                   "unencrypted.";
        case FtpEngine::kTlsRefusedNow:
            return "The server encrypted the connection before but refuses to now: the "
                   "connection was refused, nothing of the login was sent.";
        case FtpEngine::kBadName:
            return "The name holds a character no server name may hold (a line break, NUL, or "
                   "a path instead of a name).";
        case FtpEngine::kLocalLink:
            return "The local file is a symbolic link that leads out of the folder: nothing is "
                   "written through it.";
        default:
            break;
    }
    static const std::pair<CURLcode, const char*> kMeanings[] = {
        {CURLE_COULDNT_RESOLVE_HOST, "The server's name could not be found."},
        {CURLE_ABORTED_BY_CALLBACK, "Cancelled before the server answered."},
        {CURLE_COULDNT_CONNECT, "The server could not be reached."},
        {CURLE_OPERATION_TIMEDOUT, "The server stopped answering: nothing moved in time."},
        {CURLE_LOGIN_DENIED, "The server refused the user name or password."},
        {CURLE_REMOTE_ACCESS_DENIED, "The server refused access to that file or folder."},
        {CURLE_REMOTE_FILE_NOT_FOUND, "The file or folder is not on the server."},
        {CURLE_QUOTE_ERROR, "The server refused the command."},
        {CURLE_UPLOAD_FAILED, "The server refused to take the file."},
        {CURLE_PEER_FAILED_VERIFICATION, "The server's certificate could not be verified."},
        {CURLE_SSL_PINNEDPUBKEYNOTMATCH,
         "The server shows another certificate than the one accepted for it."},
        {CURLE_SSL_CONNECT_ERROR, "The encrypted connection could not be set up."},
        {CURLE_USE_SSL_FAILED, "The server does not offer the encryption asked for."},
        {CURLE_SEND_ERROR, "The connection to the server broke off."},
        {CURLE_RECV_ERROR, "The connection to the server broke off."},
        {CURLE_GOT_NOTHING, "The connection to the server broke off."},
        {CURLE_PARTIAL_FILE, "The transfer ended before the whole file had come."},
        {CURLE_REMOTE_DISK_FULL, kNoRoom},
        {CURLE_READ_ERROR, "A local file could not be read."},
        {CURLE_WRITE_ERROR, "A local file could not be written."},
        {CURLE_SSH, "The SSH connection failed."},
        {CURLE_FTP_WEIRD_SERVER_REPLY, "The server answered in a way FTP does not allow."},
        {CURLE_URL_MALFORMAT, "The server address is not well formed."},
    };
    for (const auto& [known, meaning] : kMeanings) {
        if (code == -static_cast<int>(known)) {
            return meaning;
        }
    }
    if (code < 0 && code > -CURL_LAST) {
        return std::string("The transfer failed: ") +
               curl_easy_strerror(static_cast<CURLcode>(-code)) + ".";
    }
    return "The transfer failed.";
}
