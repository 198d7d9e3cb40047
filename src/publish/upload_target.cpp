#include "publish/upload_target.h"

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
    const std::string rest = text.substr(scheme.size());
    const std::size_t at = rest.find('@');
    if (at == std::string::npos || at == 0) {
        return std::nullopt;
    }
    UploadTarget target;
    target.secureShell = secureShell;
    target.user = rest.substr(0, at);
    const std::string place = rest.substr(at + 1);
    const std::size_t slash = place.find('/');
    target.server = place.substr(0, slash);
    target.path = slash == std::string::npos ? std::string() : place.substr(slash + 1);
    while (!target.path.empty() && target.path.back() == '/') {
        target.path.pop_back();
    }
    if (target.server.empty()) {
        return std::nullopt;
    }
    return target;
}
