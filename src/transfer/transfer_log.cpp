#include "transfer/transfer_log.h"

#include <filesystem>

namespace {

constexpr std::size_t kLargestLog = 1024 * 1024;

bool EndsAddressPart(char c) {
    return c == ' ' || c == '/' || c == '\t' || c == '"' || c == '\'' || c == '<' || c == '>';
}

}  // namespace

std::string WithoutAddressPasswords(std::string text) {
    // Each "@" of an address: the password is what lies between the last ":" of the user part
    // and the "@", the user part starting after a blank, a scheme's "//" or the line's start.
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
        std::size_t start = at;
        while (start > 0 && !EndsAddressPart(text[start - 1])) {
            --start;
        }
        const std::size_t colon = text.find(':', start);
        if (colon == std::string::npos || colon >= at) {
            continue;
        }
        // "ftp:" of "ftp://" is a scheme, not a user.
        if (text.compare(colon, 3, "://") == 0) {
            continue;
        }
        const std::size_t userEnd = text.rfind(':', at);
        text.replace(userEnd + 1, at - userEnd - 1, "****");
        at = userEnd + 5;
    }
    return text;
}

void TransferLog::open() {
    if (file_.is_open()) {
        return;
    }
    file_.open(path_, std::ios::app);
    std::error_code error;
    const auto size = std::filesystem::file_size(path_, error);
    logged_ = error ? 0 : static_cast<std::size_t>(size);
}

void TransferLog::close() {
    if (file_.is_open()) {
        file_.close();
    }
}

void TransferLog::line(const std::string& text) {
    if (!file_.is_open()) {
        return;
    }
    std::string line = WithoutAddressPasswords(text);
    if (secret_.size() >= 3) {
        for (std::size_t at = line.find(secret_); at != std::string::npos;
             at = line.find(secret_, at + 4)) {
            line.replace(at, secret_.size(), "****");
        }
    }
    if (logged_ + line.size() > kLargestLog) {
        file_.close();
        std::error_code error;
        std::filesystem::rename(path_, path_ + ".1", error);
        file_.open(path_, std::ios::trunc);
        logged_ = 0;
    }
    file_ << line << '\n';
    file_.flush();
    logged_ += line.size() + 1;
}
