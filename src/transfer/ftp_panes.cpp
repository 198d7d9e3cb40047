#include "transfer/ftp_panes.h"

#include <algorithm>

#include "common/paths.h"
#include "common/text_case.h"

namespace {

constexpr const char* kFolderMark = "[FOLDER]";

}  // namespace

bool IsFolderEntry(const std::string& entry) {
    return entry.find(kFolderMark) != std::string::npos;
}

std::string FolderEntryName(const std::string& entry) {
    const std::size_t mark = entry.find(kFolderMark);
    return entry.substr(0, mark >= 2 ? mark - 2 : 0);
}

void SortEntries(std::vector<std::string>& entries) {
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return AlphabeticallyBefore(a, b); });
}

std::string ProtocolName(TransferProtocol protocol) {
    switch (protocol) {
        case TransferProtocol::FtpTlsRequired:
            return "ftp-tls";
        case TransferProtocol::Sftp:
            return "sftp";
        case TransferProtocol::Ftp:
            break;
    }
    return "ftp";
}

TransferProtocol ProtocolNamed(const std::string& name) {
    if (name == "sftp") {
        return TransferProtocol::Sftp;
    }
    return name == "ftp-tls" ? TransferProtocol::FtpTlsRequired : TransferProtocol::Ftp;
}

std::string LocalFolderAbove(const std::string& folder) {
    const std::string trimmed = WithoutTrailingSeparator(folder);
    const std::size_t last = trimmed.find_last_of(kPathSeparator);
    if (trimmed.empty() || last == std::string::npos) {
        return folder;
    }
    const std::string parent = trimmed.substr(0, last);
    return parent.empty() ? std::string(1, kPathSeparator) : parent;
}

std::string ServerFolderAbove(const std::string& folder) {
    const std::size_t last = folder.rfind('/');
    if (last == std::string::npos) {
        return std::string();
    }
    return last == 0 ? std::string("/") : folder.substr(0, last);
}
