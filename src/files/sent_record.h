#pragma once

#include <map>
#include <optional>
#include <string>

// What was sent to one upload target (a server, user and folder; or a hosting folder): each
// file's size, the SHA-256 of its content and when it went, kept in the working folder's
// "sent" folder. An upload sends a file when it is new to the record, when its content
// differs from what was last sent there, or when the server holds another size than was sent
// (someone else changed it); a file is recorded only once the server confirmed it.
class SentRecord {
  public:
    SentRecord(const std::string& workingFolder, const std::string& target);

    // Whether the local file must go; the server's size when the server tells it.
    bool needsSending(const std::string& name, const std::string& localPath,
                      std::optional<long long> serverSize);
    // The server confirmed the file: it is recorded with the content it had when sent (its
    // SHA-256 when the sending worked it out, else read now).
    void sent(const std::string& name, const std::string& localPath,
              const std::string& sha256 = std::string());

  private:
    struct Entry {
        long long size = 0;
        std::string sha256;
        long long time = 0;
    };
    // The content's hash, worked out once per file and run.
    const std::string& hashOf(const std::string& localPath);

    std::string path_;
    std::map<std::string, Entry> entries_;
    std::map<std::string, std::string> hashes_;
};

// The SHA-256 of the file's bytes in lower-case hexadecimal; empty when it cannot be read.
std::string Sha256OfFile(const std::string& path);
