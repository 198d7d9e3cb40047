#include "ftp/ssh_host_keys.h"

#include <openssl/evp.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/paths.h"

namespace {

std::string Base64(const unsigned char* data, std::size_t size) {
    std::string encoded(4 * ((size + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()), data,
                                       static_cast<int>(size));
    encoded.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return encoded;
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
    std::string encoded = Base64(digest, size);
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
    return name + " " + key.type() + " " +
           Base64(reinterpret_cast<const unsigned char*>(key.blob.data()), key.blob.size());
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
    // A file that does not end its last line gets the line end first.
    bool needsLineEnd = false;
    if (std::ifstream existing{knownHostsPath, std::ios::binary | std::ios::ate}) {
        const std::streamoff size = existing.tellg();
        if (size > 0) {
            existing.seekg(size - 1);
            needsLineEnd = existing.get() != '\n';
        }
    }
    std::ofstream file(knownHostsPath, std::ios::binary | std::ios::app);
    file << (needsLineEnd ? "\n" : "") << line << '\n';
    file.flush();
    return static_cast<bool>(file);
}
