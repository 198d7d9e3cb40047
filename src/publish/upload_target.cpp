#include "publish/upload_target.h"

#include "transfer/server_names.h"

std::optional<UploadTarget> ParseUploadTarget(const std::string& text) {
    if (text == "hosting") {
        UploadTarget target;
        target.hosting = true;
        return target;
    }
    const bool secureShell = text.rfind("sftp://", 0) == 0;
    const std::string scheme = secureShell ? "sftp://" : "ftp://";
    if (text.rfind(scheme, 0) != 0) {
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
