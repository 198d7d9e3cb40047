#include "publish/upload_target.h"

#include "common/text_search.h"
#include "transfer/server_names.h"

std::optional<UploadTarget> ParseUploadTarget(const std::string& text) {
    if (text == "hosting") {
        UploadTarget target;
        target.hosting = true;
        return target;
    }
    if (StartsWith(text, "git+") && text.size() > 4) {
        UploadTarget target;
        target.git = text.substr(4);
        return target;
    }
    if (StartsWith(text, "s3://")) {
        std::string rest = text.substr(5);
        while (!rest.empty() && rest.back() == '/') {
            rest.pop_back();
        }
        const std::size_t slash = rest.find('/');
        S3Target bucket;
        bucket.bucket = rest.substr(0, slash);
        bucket.prefix = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        if (bucket.bucket.empty()) {
            return std::nullopt;
        }
        UploadTarget target;
        target.bucket = bucket;
        return target;
    }
    const bool secureShell = StartsWith(text, "sftp://");
    const std::string scheme = secureShell ? "sftp://" : "ftp://";
    if (!StartsWith(text, scheme)) {
        return std::nullopt;
    }
    const ServerAddress address = ParseServerAddress(text);
    if (address.user.empty()) {
        return std::nullopt;
    }
    UploadTarget target;
    target.secureShell = secureShell;
    target.user = address.user;
    target.password = address.password;
    target.server = address.host;
    target.path = address.path.empty() ? std::string() : address.path.substr(1);
    while (!target.path.empty() && target.path.back() == '/') {
        target.path.pop_back();
    }
    if (target.server.empty()) {
        return std::nullopt;
    }
    return target;
}

std::optional<std::pair<std::size_t, std::size_t>> PasswordInAddress(const std::string& text) {
    std::size_t start = 0;
    for (const char* scheme : {"sftp://", "ftp://", "git+https://", "git+http://"}) {
        if (StartsWith(text, scheme)) {
            start = std::string(scheme).size();
        }
    }
    if (start == 0) {
        return std::nullopt;
    }
    // As the address is read: the login ends at the last "@" before the folder's "/".
    const std::size_t folder = text.find('/', start);
    const std::size_t at =
        text.rfind('@', folder == std::string::npos ? std::string::npos : folder - 1);
    if (at == std::string::npos || at < start) {
        return std::nullopt;
    }
    const std::size_t colon = text.find(':', start);
    if (colon == std::string::npos || colon > at || colon + 1 == at) {
        return std::nullopt;
    }
    return std::make_pair(colon + 1, at - colon - 1);
}
