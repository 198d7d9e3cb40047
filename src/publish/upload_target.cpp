#include "publish/upload_target.h"

#include <algorithm>
#include <iterator>

#include "common/address_login.h"
#include "common/text_search.h"
#include "transfer/server_names.h"

namespace {

// The addresses a password or token may be written into.
constexpr const char* kLoginSchemes[] = {"sftp://", "ftp://", "git+https://", "git+http://"};

}  // namespace

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
    const bool known = std::any_of(std::begin(kLoginSchemes), std::end(kLoginSchemes),
                                   [&](const char* scheme) { return StartsWith(text, scheme); });
    const std::optional<std::pair<std::size_t, std::size_t>> login =
        known ? LoginInAddress(text) : std::nullopt;
    if (!login) {
        return std::nullopt;
    }
    const std::size_t colon = text.substr(login->first, login->second).find(':');
    if (colon == std::string::npos || colon + 1 == login->second) {
        return std::nullopt;
    }
    return std::make_pair(login->first + colon + 1, login->second - colon - 1);
}
