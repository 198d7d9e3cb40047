#include "transfer/ftp_engine.h"

#include <algorithm>
#include <filesystem>

#include "common/paths.h"
#include "files/content_hash.h"
#include "transfer/curl_request.h"
#include "transfer/remote_commands.h"
#include "transfer/server_names.h"

// The engine's stepped transfers: one upload or download at a time, into a part file, moved
// by the driver loop under one stall rule.

namespace {

// Large pieces per step of the driver loop: fewer rounds for big files.
constexpr long kTransferBuffer = 512 * 1024;

}  // namespace

bool FtpEngine::openLocalFile(const std::string& path, const std::string& serverName,
                              const char* mode) {
    file_.reset(std::fopen(path.c_str(), mode));
    if (!file_) {
        return false;
    }
    std::setvbuf(file_.get(), nullptr, _IOFBF, kTransferBuffer);
    prepare(fileUrl(serverName));
    return true;
}

int FtpEngine::ftpePutFile(const std::string& name) {
    return startPut(name, true);
}

int FtpEngine::startPut(const std::string& name, bool underTemporaryName) {
    if (!LocalNameFor(name) || !IsSendableName(name)) {
        return kBadName;
    }
    leftPart_.clear();
    // Sent under a temporary name and renamed when whole, so that a broken connection never
    // leaves half a page under the real name.
    const std::string sentAs = underTemporaryName ? PartName(name) : name;
    if (!openLocalFile(JoinPath(localDir_, name), sentAs, "rb")) {
        return -CURLE_READ_ERROR;
    }
    transfer_ = Transfer{true, name, underTemporaryName};
    if (underTemporaryName) {
        request_->setCommands(CURLOPT_POSTQUOTE, SwapInCommands(secureShell_, serverDir_, name));
    }
    CURL* easy = request_->easy();
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, kTransferBuffer);
    // The content's hash is worked out beside the sending, on a core of its own.
    sentDigest_.clear();
    if (hashSent_) {
        hashing_ = std::async(std::launch::async, ContentHashOfFile, JoinPath(localDir_, name));
    }
    curl_easy_setopt(easy, CURLOPT_READDATA, file_.get());
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE,
                     static_cast<curl_off_t>(ftpeGetLocalFSize(JoinPath(localDir_, name))));
    lastMoved_ = 0;
    lastMove_ = std::chrono::steady_clock::now();
    request_->start();
    return 0;
}

int FtpEngine::ftpeGetFile(const std::string& name) {
    // Received into a part file inside the local folder, which takes the name only when whole;
    // a listed name that is no plain file name, or one that resolves outside, is refused.
    std::error_code error;
    if (LocalNameFor(name) && IsSendableName(name) &&
        std::filesystem::is_symlink(JoinPath(localDir_, name), error) &&
        !LocalPathInside(localDir_, name)) {
        log_.line("--> Refused to download onto a symbolic link that leads out of the folder: " +
                  name);
        return kLocalLink;
    }
    if (!LocalPathInside(localDir_, name) || !LocalPathInside(localDir_, PartName(name)) ||
        !IsSendableName(name)) {
        log_.line("--> Refused to download a name that is no plain file name: " + name);
        return kBadName;
    }
    if (!openLocalFile(*LocalPathInside(localDir_, PartName(name)), name, "wb")) {
        return -CURLE_WRITE_ERROR;
    }
    transfer_ = Transfer{false, name, false};
    CURL* easy = request_->easy();
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, nullptr);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, file_.get());
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kTransferBuffer);
    lastMoved_ = 0;
    lastMove_ = std::chrono::steady_clock::now();
    request_->start();
    return 0;
}

long long FtpEngine::movedBytes() const {
    return ftpeGetInteger(10) + ftpeGetInteger(12);
}

int FtpEngine::ftpeDriver() {
    if (!file_) {
        return 0;
    }
    // At most 50 ms, sooner when libcurl's timers say so: the driver loop stays lively.
    if (request_->step(50)) {
        const auto now = std::chrono::steady_clock::now();
        const long long moved = movedBytes();
        if (moved != lastMoved_) {
            lastMoved_ = moved;
            lastMove_ = now;
        } else if (now - lastMove_ >= std::chrono::seconds(stallSeconds_)) {
            // Nothing moved, nor did the server answer: one rule, whatever the file's size.
            log_.line("--> Nothing moved for " + std::to_string(stallSeconds_) +
                      " seconds: the transfer is given up");
            request_->stop();
            file_.reset();
            return completeTransfer(kStalled);
        }
        return 1;
    }
    const int result = outcome(static_cast<int>(-request_->finish()));
    file_.reset();
    return completeTransfer(result);
}

int FtpEngine::completeTransfer(int result) {
    const Transfer done = *transfer_;
    transfer_.reset();
    if (done.upload && hashing_.valid()) {
        const std::string digest = hashing_.get();
        if (result == 0) {
            sentDigest_ = digest;
        }
    }
    if (!done.upload) {
        const std::string part = JoinPath(localDir_, PartName(done.name));
        std::error_code error;
        if (result == 0) {
            std::filesystem::rename(part, JoinPath(localDir_, done.name), error);
        }
        if (result != 0 || error) {
            std::filesystem::remove(part, error);
            return result != 0 ? result : -CURLE_WRITE_ERROR;
        }
        return 0;
    }
    if (result == -CURLE_QUOTE_ERROR && done.underTemporaryName) {
        if (secureShell_) {
            restoreSetAside(done.name, false);
        }
        // The server keeps the file but will not rename it: once more, under the real name.
        log_.line("--> The server refused to rename " + PartName(done.name) + "; sending " +
                  done.name + " under its own name");
        entryCommand("DELE", "rm", PartName(done.name));
        const int restarted = startPut(done.name, false);
        return restarted < 0 ? restarted : 1;
    }
    if (result != 0 && done.underTemporaryName) {
        removePartFile(done.name);
    }
    return result;
}

void FtpEngine::removePartFile(const std::string& name) {
    // The refusal that broke the upload is the one to tell, not the clean-up's.
    const std::string refusal = refusal_;
    removePart(name);
    refusal_ = refusal;
}

void FtpEngine::removePart(const std::string& name) {
    // The broken connection is not used again: a fresh one removes what it wrote.
    freshConnection_ = true;
    if (entryCommand("DELE", "rm", PartName(name)) == 0) {
        log_.line("--> Removed the part file " + PartName(name) + " of the broken upload");
        return;
    }
    // Refused because it was never made: the listing tells.
    if (listOnce() >= 0 && std::none_of(entries_.begin(), entries_.end(), [&](const FtpEntry& e) {
            return e.name == PartName(name);
        })) {
        return;
    }
    leftPart_ = PartName(name);
    log_.line("--> The part file " + leftPart_ + " could not be removed from the server");
}

void FtpEngine::ftpeAbort() {
    if (!transfer_) {
        return;
    }
    const Transfer broken = *transfer_;
    transfer_.reset();
    request_->stop();
    file_.reset();
    if (hashing_.valid()) {
        hashing_.get();
    }
    log_.line("--> Transfer of " + broken.name + " cancelled");
    if (broken.upload) {
        // Only the temporary name was written to; it goes. An SFTP file moved aside comes back.
        // The clean-up runs to its end: the Cancel that asked for it must not stop it too.
        if (broken.underTemporaryName) {
            request_->setWaiting(nullptr);
            removePartFile(broken.name);
            if (secureShell_ && ftpeGetList() >= 0) {
                log_.line("--> Checked " + broken.name + " is under its name");
            }
            request_->setWaiting(goesOn_);
        }
    } else {
        std::error_code error;
        std::filesystem::remove(JoinPath(localDir_, PartName(broken.name)), error);
    }
}
