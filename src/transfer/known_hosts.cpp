#include "transfer/known_hosts.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/fields.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "files/content_hash.h"

namespace {

std::string Unbase64(const std::string& text) {
    std::string decoded(3 * (text.size() / 4) + 3, '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(decoded.data()),
                                       reinterpret_cast<const unsigned char*>(text.data()),
                                       static_cast<int>(text.size()));
    if (length < 0) {
        return std::string();
    }
    // EVP_DecodeBlock counts the padding as data.
    std::size_t size = static_cast<std::size_t>(length);
    for (std::size_t i = text.size(); i > 0 && text[i - 1] == '=' && size > 0; --i) {
        --size;
    }
    decoded.resize(size);
    return decoded;
}

// A hashed known_hosts name ("|1|salt|hash", both base64) is the HMAC-SHA1 of the name.
bool HashedNameIs(const std::string& pattern, const std::string& name) {
    const std::size_t bar = pattern.find('|', 3);
    if (bar == std::string::npos) {
        return false;
    }
    const std::string salt = Unbase64(pattern.substr(3, bar - 3));
    const std::string hash = Unbase64(pattern.substr(bar + 1));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    HMAC(EVP_sha1(), salt.data(), static_cast<int>(salt.size()),
         reinterpret_cast<const unsigned char*>(name.data()), name.size(), digest, &size);
    return size > 0 && hash == std::string(reinterpret_cast<char*>(digest), size);
}

// Whether a pattern of a line's names (plain, or hashed as "|1|salt|hash") names the host.
bool PatternNames(const std::string& pattern, const std::string& name) {
    return StartsWith(pattern, "|1|") ? HashedNameIs(pattern, name)
                                      : EqualIgnoringCase(pattern, name);
}

}  // namespace

std::string SshHostKey::type() const {
    if (blob.size() < 4) {
        return std::string();
    }
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(blob[at]); };
    const std::size_t length = (std::size_t{byte(0)} << 24) | (std::size_t{byte(1)} << 16) |
                               (std::size_t{byte(2)} << 8) | std::size_t{byte(3)};
    if (length == 0 || length > 64 || length > blob.size() - 4) {
        return std::string();
    }
    return blob.substr(4, length);
}

std::string SshHostKey::fingerprint() const {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(blob.data(), blob.size(), digest, &size, EVP_sha256(), nullptr);
    std::string encoded = Base64Of(std::string_view(reinterpret_cast<const char*>(digest), size));
    while (!encoded.empty() && encoded.back() == '=') {
        encoded.pop_back();
    }
    return "SHA256:" + encoded;
}

std::string SshFolder() {
    const char* home = std::getenv("HOME");
    return JoinPath(home != nullptr ? home : "", ".ssh");
}

std::string KnownHostsPath() {
    return JoinPath(SshFolder(), "known_hosts");
}

std::optional<std::string> UserKeyFile() {
    for (const char* name : {"id_ed25519", "id_rsa"}) {
        const std::string path = JoinPath(SshFolder(), name);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            return path;
        }
    }
    return std::nullopt;
}

std::string KnownHostsLine(const std::string& host, long port, const SshHostKey& key) {
    const std::string name = port == 22 ? host : "[" + host + "]:" + std::to_string(port);
    return name + " " + key.type() + " " + Base64Of(key.blob);
}

bool AddKnownHost(const std::string& knownHostsPath, const std::string& line) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::path(knownHostsPath).parent_path();
    if (!fs::exists(folder, error)) {
        if (!fs::create_directories(folder, error)) {
            return false;
        }
        fs::permissions(folder, fs::perms::owner_all, error);
    }
    std::string existing;
    if (fs::exists(knownHostsPath, error)) {
        const std::optional<std::string> text = ReadTextFile(knownHostsPath);
        if (!text) {
            return false;
        }
        existing = *text;
    }
    // A host's changed key replaces its old line of that key type, named plain or hashed: two
    // lines for one host would leave the old key trusted beside the new one. A line that names
    // other hosts too keeps them.
    const std::vector<std::string> replaced = SplitFields(line, " ");
    std::string kept;
    for (const std::string& held : SplitFields(existing, "\n")) {
        if (held.empty()) {
            continue;
        }
        const std::size_t space = held.find(' ');
        std::vector<std::string> fields = SplitFields(held, " ");
        if (replaced.size() < 2 || fields.size() < 2 || fields[1] != replaced[1] ||
            space == std::string::npos) {
            kept += held + "\n";
            continue;
        }
        std::vector<std::string> others;
        for (const std::string& pattern : SplitFields(fields[0], ",")) {
            if (!PatternNames(pattern, replaced[0])) {
                others.push_back(pattern);
            }
        }
        if (!others.empty()) {
            kept += JoinFields(others, ",") + held.substr(space) + "\n";
        }
    }
    const auto mode = fs::status(knownHostsPath, error).permissions();
    if (!WriteTextFile(knownHostsPath, line + "\n" + kept)) {
        return false;
    }
    if (!error && mode != fs::perms::unknown) {
        fs::permissions(knownHostsPath, mode, error);
    }
    return true;
}

namespace {

// The keys (base64, as the lines give them) that known_hosts holds for the host and port.
std::vector<std::string> KnownKeys(const std::string& knownHostsPath, const std::string& host,
                                   long port) {
    const std::string name = port == 22 ? host : "[" + host + "]:" + std::to_string(port);
    const std::string text = ReadTextFile(knownHostsPath).value_or(std::string());
    std::vector<std::string> keys;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string names;
        fields >> names;
        // Markers (@cert-authority, @revoked) and comments name no host's own key.
        if (names.empty() || names[0] == '#' || names[0] == '@') {
            continue;
        }
        std::istringstream patterns(names);
        std::string pattern;
        while (std::getline(patterns, pattern, ',')) {
            if (PatternNames(pattern, name)) {
                std::string type;
                std::string key;
                fields >> type >> key;
                keys.push_back(key);
                break;
            }
        }
    }
    return keys;
}

}  // namespace

bool KnownHostsName(const std::string& knownHostsPath, const std::string& host, long port) {
    return !KnownKeys(knownHostsPath, host, port).empty();
}

bool KnownHostsHolds(const std::string& knownHostsPath, const std::string& host, long port,
                     const SshHostKey& key) {
    const std::vector<std::string> keys = KnownKeys(knownHostsPath, host, port);
    const std::string shown = Base64Of(key.blob);
    return std::find(keys.begin(), keys.end(), shown) != keys.end();
}
