#include "transfer/ftp_engine.h"

#include <algorithm>
#include <sstream>

#include "transfer/curl_request.h"
#include "transfer/remote_commands.h"
#include "transfer/server_names.h"

// The engine's listing of the current server folder, and the SFTP sweep that puts back an old
// file a broken swap left aside.

int FtpEngine::ftpeGetList() {
    int listed = listOnce();
    if (listed == -CURLE_USE_SSL_FAILED && tls_.protectionRefused() && tls_.forFiles() &&
        !tls_.required()) {
        // The server refused PROT P on a new connection: the login stays encrypted, the files
        // go in clear. Any other failure keeps them encrypted.
        tls_.filesInClear();
        freshConnection_ = true;
        log_.line(
            "--> The server refuses TLS on data connections (PROT P): files travel in clear, the "
            "login stays encrypted");
        listed = listOnce();
    }
    if (listed > 0 && secureShell_) {
        sweepSetAside();
    }
    return listed;
}

int FtpEngine::listOnce() {
    entries_.clear();
    // MLSD says what each entry is; servers without it give a LIST.
    int result = 0;
    for (const bool facts : {true, false}) {
        if (facts && secureShell_) {
            continue;
        }
        prepare(folderUrl(serverDir_));
        if (facts) {
            curl_easy_setopt(request_->easy(), CURLOPT_CUSTOMREQUEST, "MLSD");
        }
        result = perform();
        if (result < 0) {
            continue;
        }
        std::istringstream lines(body_);
        std::string line;
        while (std::getline(lines, line)) {
            if (WithoutLineEnd(line).empty()) {
                continue;
            }
            FtpEntry entry = ParseListingLine(line, facts);
            // A name that is no plain file name never reaches a local path or a command.
            if (LocalNameFor(entry.name) && IsSendableName(entry.name)) {
                entries_.push_back(std::move(entry));
            } else if (entry.name != "." && entry.name != "..") {
                log_.line("--> Left out a listed name that is no plain file name: " +
                          WithoutLineEnd(line));
            }
        }
        return static_cast<int>(entries_.size());
    }
    return result;
}

void FtpEngine::sweepSetAside() {
    std::vector<std::string> names;
    for (const FtpEntry& entry : entries_) {
        names.push_back(entry.name);
    }
    bool changed = false;
    for (const std::string& entry : names) {
        const std::string name = NameSetAside(entry);
        if (!name.empty()) {
            restoreSetAside(name, std::find(names.begin(), names.end(), name) != names.end());
            changed = true;
        }
    }
    if (changed) {
        listOnce();
    }
}

void FtpEngine::restoreSetAside(const std::string& name, bool nameIsThere) {
    const std::string aside = SftpPath(serverDir_, AsideName(name));
    if (nameIsThere) {
        // The new file took the name; the old one is no longer needed.
        commands({"*rm " + aside});
        return;
    }
    if (commands({"rename " + aside + " " + SftpPath(serverDir_, name)}) == 0) {
        log_.line("--> " + name + " was left aside by a broken upload; put back under its name");
    }
}
