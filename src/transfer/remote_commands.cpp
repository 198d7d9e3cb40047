#include "transfer/remote_commands.h"

namespace {

constexpr const char* kAsideEnd = ".quillora-old";

}  // namespace

std::string PartName(const std::string& name) {
    return "." + name + ".part";
}

std::string AsideName(const std::string& name) {
    return "." + name + kAsideEnd;
}

std::string NameSetAside(const std::string& entry) {
    const std::string end = kAsideEnd;
    if (entry.size() <= end.size() + 1 || entry[0] != '.' ||
        entry.compare(entry.size() - end.size(), end.size(), end) != 0) {
        return std::string();
    }
    return entry.substr(1, entry.size() - end.size() - 1);
}

std::string SftpPath(const std::string& folder, const std::string& name) {
    std::string path = folder.empty() || folder.back() != '/' ? folder + "/" : folder;
    path += name;
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string EntryCommand(bool sftp, const char* ftpVerb, const char* sftpVerb,
                         const std::string& folder, const std::string& name) {
    return sftp ? std::string(sftpVerb) + " " + SftpPath(folder, name)
                : std::string(ftpVerb) + " " + name;
}

std::vector<std::string> SwapInCommands(bool sftp, const std::string& folder,
                                        const std::string& name) {
    if (!sftp) {
        return {"RNFR " + PartName(name), "RNTO " + name};
    }
    const std::string live = SftpPath(folder, name);
    const std::string aside = SftpPath(folder, AsideName(name));
    // "*": a first upload has no old file to move aside.
    return {"*rename " + live + " " + aside,
            "rename " + SftpPath(folder, PartName(name)) + " " + live, "*rm " + aside};
}
