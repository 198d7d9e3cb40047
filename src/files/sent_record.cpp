#include "files/sent_record.h"

#include <openssl/evp.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <vector>

#include "common/paths.h"

namespace fs = std::filesystem;

namespace {

struct DigestDeleter {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// The SHA-256 in lower-case hexadecimal of what the reader gives, piece by piece until it
// gives nothing; empty when it fails.
template <typename Reader>
std::string Sha256Of(Reader&& read) {
    const std::unique_ptr<EVP_MD_CTX, DigestDeleter> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        return std::string();
    }
    for (std::string_view piece = read(); !piece.empty(); piece = read()) {
        EVP_DigestUpdate(context.get(), piece.data(), piece.size());
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(context.get(), digest, &size);
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

}  // namespace

std::string Sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::string();
    }
    std::vector<char> piece(1 << 20);
    const std::string hash = Sha256Of([&] {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        return std::string_view(piece.data(), static_cast<std::size_t>(in.gcount()));
    });
    return in.bad() ? std::string() : hash;
}

SentRecord::SentRecord(const std::string& workingFolder, const std::string& target) {
    // One file a target, named by the target's hash: "server|user|folder" may hold anything.
    bool given = false;
    const std::string hash = Sha256Of([&] {
        const std::string_view piece = given ? std::string_view() : std::string_view(target);
        given = true;
        return piece;
    });
    const std::string folder = JoinPath(workingFolder, "sent");
    std::error_code error;
    fs::create_directories(folder, error);
    path_ = JoinPath(folder, hash.substr(0, 16) + ".txt");
    // "size sha256 time name" a line; a later line for a name replaces an earlier one.
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry entry;
        std::string name;
        if (fields >> entry.size >> entry.sha256 >> entry.time && fields.get() == ' ' &&
            std::getline(fields, name) && !name.empty()) {
            entries_[name] = entry;
        }
    }
}

const std::string& SentRecord::hashOf(const std::string& localPath) {
    const auto known = hashes_.find(localPath);
    if (known != hashes_.end()) {
        return known->second;
    }
    return hashes_[localPath] = Sha256OfFile(localPath);
}

bool SentRecord::needsSending(const std::string& name, const std::string& localPath,
                              std::optional<long long> serverSize) {
    const auto recorded = entries_.find(name);
    if (recorded == entries_.end()) {
        return true;
    }
    if (serverSize && *serverSize != recorded->second.size) {
        return true;
    }
    const std::string& hash = hashOf(localPath);
    return hash.empty() || hash != recorded->second.sha256;
}

void SentRecord::sent(const std::string& name, const std::string& localPath,
                      const std::string& sha256) {
    std::error_code error;
    const auto size = fs::file_size(localPath, error);
    const std::string hash = sha256.empty() ? hashOf(localPath) : sha256;
    if (error || hash.empty() || name.find('\n') != std::string::npos) {
        return;
    }
    Entry entry{static_cast<long long>(size), hash,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count())};
    entries_[name] = entry;
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << entry.size << ' ' << entry.sha256 << ' ' << entry.time << ' ' << name << '\n';
}
