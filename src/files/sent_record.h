#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What was sent to one upload target (a server, user and folder; or a hosting folder): each
// file's size, content hash, modification time and when it went, kept in the working folder's
// "sent" folder. An upload sends a file when it is new to the record, when its content
// differs from what was last sent there, or when the server holds another size than was sent
// (someone else changed it); a file is recorded only once the server confirmed it. A file whose
// size and modification time are as recorded is taken as unchanged without reading it.
class SentRecord {
  public:
    SentRecord(const std::string& workingFolder, const std::string& target);

    // Whether the local file must go; the server's size when the server tells it.
    bool needsSending(const std::string& name, const std::string& localPath,
                      std::optional<long long> serverSize);
    // A local file's size and modification time (nanoseconds), looked at before it is sent.
    struct LocalState {
        long long size = 0;
        long long modified = 0;
        bool operator==(const LocalState& other) const {
            return size == other.size && modified == other.modified;
        }
    };
    static std::optional<LocalState> Look(const std::string& localPath);

    // The server confirmed the file: it is recorded with the content it had when sent (its
    // hash when the sending worked it out, else read now). Given the state looked at before
    // the sending, a file that changed meanwhile is not recorded, so that the next upload
    // sends it again.
    void sent(const std::string& name, const std::string& localPath,
              const std::string& contentHash = std::string(),
              const std::optional<LocalState>& before = std::nullopt);

    // The names recorded as sent, in order.
    std::vector<std::string> names() const;
    // The content hash recorded for a file sent (XXH3-128, or SHA-256 in older records);
    // nothing for a file this program has not sent there, or has removed since.
    std::optional<std::string> sentHash(const std::string& name) const;
    // The file was removed from the server (its page was deleted); the record forgets it.
    void removed(const std::string& name);
    // When the file was last removed from the server (seconds since 1970); nothing when never,
    // or when it was sent again since.
    std::optional<long long> removedAt(const std::string& name) const;

  private:
    struct Entry {
        long long size = 0;
        // XXH3-128 (32 digits), or the SHA-256 (64 digits) of a record of an earlier version.
        std::string hash;
        // The file's modification time when sent (nanoseconds); none in older records.
        std::optional<long long> modified;
        long long time = 0;
    };
    // The content's hash of the kind recorded, worked out once per file and run.
    const std::string& hashOf(const std::string& localPath, bool sha256);

    std::string path_;
    std::map<std::string, Entry> entries_;
    std::map<std::string, long long> removed_;
    std::map<std::string, std::string> hashes_;
};

// Whether the content a target holds is what was sent there, by the recorded hash (either
// kind); never for an empty hash.
bool HoldsAsSent(std::string_view content, const std::string& sentHash);
