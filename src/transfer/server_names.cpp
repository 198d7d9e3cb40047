#include "transfer/server_names.h"

#include <cctype>
#include <filesystem>

#include "common/markup_escaping.h"
#include "common/text_search.h"

namespace fs = std::filesystem;

std::optional<std::string> LocalNameFor(std::string_view listed) {
    if (listed.empty() || listed == "." || listed == "..") {
        return std::nullopt;
    }
    for (const char c : listed) {
        if (c == '/' || c == '\\' || c == '\0' || c == '\r' || c == '\n') {
            return std::nullopt;
        }
    }
    return std::string(listed);
}

std::optional<std::string> LocalPathInside(const std::string& folder, const std::string& name) {
    if (!LocalNameFor(name)) {
        return std::nullopt;
    }
    std::error_code error;
    const fs::path base = fs::weakly_canonical(fs::path(folder), error);
    if (error) {
        return std::nullopt;
    }
    const fs::path target = fs::weakly_canonical(base / name, error);
    if (error || target.parent_path() != base) {
        return std::nullopt;
    }
    return target.string();
}

bool IsSendableName(std::string_view name) {
    return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

ServerAddress ParseServerAddress(const std::string& typed) {
    ServerAddress address;
    std::string rest = typed;
    std::string lower;
    for (const char c : rest.substr(0, 7)) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const char* scheme : {"sftp://", "ftp://"}) {
        if (StartsWith(lower, scheme)) {
            address.scheme = scheme;
            rest = rest.substr(address.scheme.size());
            break;
        }
    }
    // The host follows the last "@" before the folder's "/" (a user name may hold an "@").
    const std::size_t folder = rest.find('/');
    const std::size_t at = folder == 0
                               ? std::string::npos
                               : rest.rfind('@', folder == std::string::npos ? folder : folder - 1);
    if (at != std::string::npos) {
        const std::string login = rest.substr(0, at);
        rest = rest.substr(at + 1);
        const std::size_t colon = login.find(':');
        address.user = PercentDecoded(login.substr(0, colon));
        if (colon != std::string::npos) {
            address.password = PercentDecoded(login.substr(colon + 1));
        }
    }
    const std::size_t slash = rest.find('/');
    address.host = rest.substr(0, slash);
    address.path = slash == std::string::npos ? std::string() : rest.substr(slash);
    return address;
}

std::string TrustKey(const std::string& typed, bool secureShell) {
    const ServerAddress address = ParseServerAddress(typed);
    std::string host;
    for (const char c : address.host) {
        host += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::size_t closing = host.rfind(']');
    const std::size_t colon = host.rfind(':');
    const bool hasPort =
        colon != std::string::npos && (closing == std::string::npos || colon > closing);
    if (!hasPort) {
        host += secureShell || address.scheme == "sftp://" ? ":22" : ":21";
    }
    return host;
}
