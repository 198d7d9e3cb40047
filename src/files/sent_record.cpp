#include "files/sent_record.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/paths.h"
#include "common/text_search.h"
#include "files/content_hash.h"

namespace fs = std::filesystem;

namespace {

// "xxh3:HASH:MODIFIED" in a record's hash field; a bare field is an older record's SHA-256.
constexpr const char* kNewHash = "xxh3:";
// In place of a hash: the file was removed from the server at the time the line gives.
constexpr const char* kRemoved = "removed";

std::optional<long long> ModifiedTime(const std::string& path) {
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    if (error) {
        return std::nullopt;
    }
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

}  // namespace

SentRecord::SentRecord(const std::string& workingFolder, const std::string& target) {
    const std::string folder = JoinPath(workingFolder, "sent");
    std::error_code error;
    fs::create_directories(folder, error);
    // One file a target, named by the target's hash: "server|user|folder" may hold anything.
    path_ = JoinPath(folder, Sha256OfText(target).substr(0, 16) + ".txt");
    // "size hash time name" a line; a later line for a name replaces an earlier one.
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry entry;
        std::string name;
        if (fields >> entry.size >> entry.hash >> entry.time && fields.get() == ' ' &&
            std::getline(fields, name) && !name.empty()) {
            if (entry.hash == kRemoved) {
                entries_.erase(name);
                removed_[name] = entry.time;
                continue;
            }
            removed_.erase(name);
            if (StartsWith(entry.hash, kNewHash)) {
                const std::size_t colon = entry.hash.find(':', 5);
                if (colon != std::string::npos) {
                    entry.modified = std::atoll(entry.hash.c_str() + colon + 1);
                }
                entry.hash = entry.hash.substr(5, colon - 5);
            }
            entries_[name] = entry;
        }
    }
}

const std::string& SentRecord::hashOf(const std::string& localPath, bool sha256) {
    const std::string key = (sha256 ? "sha256|" : "xxh3|") + localPath;
    const auto known = hashes_.find(key);
    if (known != hashes_.end()) {
        return known->second;
    }
    return hashes_[key] = sha256 ? Sha256OfFile(localPath) : ContentHashOfFile(localPath);
}

bool SentRecord::needsSending(const std::string& name, const std::string& localPath,
                              std::optional<long long> serverSize) {
    const auto recorded = entries_.find(name);
    if (recorded == entries_.end()) {
        return true;
    }
    const Entry& entry = recorded->second;
    if (serverSize && *serverSize != entry.size) {
        return true;
    }
    std::error_code error;
    const auto size = fs::file_size(localPath, error);
    if (!error && static_cast<long long>(size) == entry.size && entry.modified &&
        ModifiedTime(localPath) == entry.modified) {
        return false;
    }
    const std::string& hash = hashOf(localPath, entry.hash.size() == 64);
    return hash.empty() || hash != entry.hash;
}

std::optional<SentRecord::LocalState> SentRecord::Look(const std::string& localPath) {
    std::error_code error;
    const auto size = fs::file_size(localPath, error);
    const std::optional<long long> modified = ModifiedTime(localPath);
    if (error || !modified) {
        return std::nullopt;
    }
    return LocalState{static_cast<long long>(size), *modified};
}

void SentRecord::sent(const std::string& name, const std::string& localPath,
                      const std::string& contentHash, const std::optional<LocalState>& before) {
    const std::optional<LocalState> now = Look(localPath);
    // Saved again while it went: what the server holds is not what the file holds now.
    if (!now || (before && !(*before == *now))) {
        return;
    }
    const std::string hash = contentHash.empty() ? hashOf(localPath, false) : contentHash;
    if (hash.empty() || name.find('\n') != std::string::npos) {
        return;
    }
    Entry entry{now->size, hash, now->modified,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(
                                           std::chrono::system_clock::now().time_since_epoch())
                                           .count())};
    entries_[name] = entry;
    removed_.erase(name);
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << entry.size << ' ' << kNewHash << entry.hash << ':' << *entry.modified << ' '
        << entry.time << ' ' << name << '\n';
}

void SentRecord::removed(const std::string& name) {
    if (name.find('\n') != std::string::npos) {
        return;
    }
    const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    entries_.erase(name);
    removed_[name] = now;
    std::ofstream out(path_, std::ios::binary | std::ios::app);
    out << "0 " << kRemoved << ' ' << now << ' ' << name << '\n';
}

std::optional<long long> SentRecord::removedAt(const std::string& name) const {
    const auto found = removed_.find(name);
    return found == removed_.end() ? std::nullopt : std::optional<long long>(found->second);
}

std::optional<std::string> SentRecord::sentHash(const std::string& name) const {
    const auto found = entries_.find(name);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    return found->second.hash;
}

std::vector<std::string> SentRecord::names() const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries_) {
        names.push_back(name);
    }
    return names;
}

bool HoldsAsSent(std::string_view content, const std::string& sentHash) {
    if (sentHash.empty()) {
        return false;
    }
    return (sentHash.size() == 64 ? Sha256OfText(content) : ContentHashOfText(content)) == sentHash;
}
