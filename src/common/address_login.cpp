#include "common/address_login.h"

std::optional<std::pair<std::size_t, std::size_t>> LoginInAddress(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = scheme + 3;
    const std::size_t path = url.find('/', start);
    const std::string_view authority =
        url.substr(start, path == std::string_view::npos ? std::string_view::npos : path - start);
    const std::size_t at = authority.rfind('@');
    if (at == std::string_view::npos || at == 0) {
        return std::nullopt;
    }
    return std::make_pair(start, at);
}

std::string WithoutLogin(std::string_view text, std::string_view url) {
    std::string shown(text);
    const auto login = LoginInAddress(url);
    if (!login) {
        return shown;
    }
    const std::string secret(url.substr(login->first, login->second));
    for (std::size_t at = shown.find(secret); at != std::string::npos;
         at = shown.find(secret, at + 4)) {
        shown.replace(at, secret.size(), "****");
    }
    return shown;
}
