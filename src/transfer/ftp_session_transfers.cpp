#include "transfer/ftp_session.h"

#include <algorithm>
#include <chrono>

#include "common/paths.h"
#include "platform/prompts.h"
#include "transfer/ftp_engine.h"
#include "transfer/ftp_panes.h"

// The uploader's uploads and downloads: each file started on the engine and driven to its end,
// the window kept painted and its Cancel heard between the steps.

void FtpSession::tellLeftPartFile() {
    if (engine_ && !engine_->leftPartFile().empty()) {
        prompts_.messageBox("The unfinished file " + engine_->leftPartFile() +
                                " could not be removed from the server folder " +
                                engine_->ftpeGetServerDir() +
                                ". Delete it there when the server answers again.",
                            kUploaderCaption, MessageButtons::Ok, MessageIcon::Warning);
    }
}

bool FtpSession::callTheDriver(char kind, long long expected) {
    engine_->ftpeLog("--> Entering CallTheDriver");
    using Clock = std::chrono::steady_clock;
    auto nextCheck = Clock::now() + std::chrono::seconds(1);
    const auto progress = [&] {
        const long long moved = engine_->ftpeGetInteger(kind == 'P' ? 12 : 10);
        if (expected > 0) {
            prompts_.transferProgress(static_cast<int>(std::min(100LL, moved * 100 / expected)));
        }
    };
    for (;;) {
        // The window is kept painted between the driver's steps (50 ms at most each), and its
        // Cancel ends the transfer with what it wrote.
        if (!prompts_.transferGoesOn()) {
            engine_->ftpeAbort();
            engine_->ftpeLog("--> Leaving CallTheDriver");
            tellLeftPartFile();
            return false;
        }
        const int code = engine_->ftpeDriver();
        if (code < 0) {
            showError(code);
            tellLeftPartFile();
            break;
        }
        if (code == 0) {
            break;
        }
        if (Clock::now() >= nextCheck) {
            progress();
            nextCheck = Clock::now() + std::chrono::seconds(1);
        }
    }
    progress();
    engine_->ftpeLog("--> Leaving CallTheDriver");
    return true;
}

void FtpSession::uploadFiles() {
    if (!connected()) {
        return;
    }
    if (panes_.localSelection.empty()) {
        prompts_.messageBox("No files selected.", kUploaderCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    engine_->ftpeSetLocalDir(panes_.localFolder);
    engine_->ftpeSetMode('B');
    prompts_.uploadNotice(true);
    for (const std::size_t index : panes_.localSelection) {
        const std::string& entry = panes_.localEntries.at(index);
        if (IsFolderEntry(entry)) {
            prompts_.messageBox("Can't upload folders", "Folder Skipped", MessageButtons::Ok,
                                MessageIcon::None);
            continue;
        }
        const long long size = FtpEngine::ftpeGetLocalFSize(JoinPath(panes_.localFolder, entry));
        const int code = engine_->ftpePutFile(entry);
        if (code < 0) {
            showError(code);
            continue;
        }
        if (!callTheDriver('P', size)) {
            break;
        }
    }
    panes_.localSelection.clear();
    refreshServerList();
    prompts_.uploadNotice(false);
}

void FtpSession::downloadFiles() {
    if (!connected()) {
        return;
    }
    engine_->ftpeSetLocalDir(panes_.localFolder);
    engine_->ftpeSetMode('B');
    if (panes_.serverSelection.empty()) {
        prompts_.messageBox("No files selected.", kUploaderCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    prompts_.uploadNotice(true);
    for (const std::size_t index : panes_.serverSelection) {
        const std::string& entry = panes_.serverEntries.at(index);
        if (IsFolderEntry(entry)) {
            prompts_.messageBox("Can't download folders", "Folder Skipped", MessageButtons::Ok,
                                MessageIcon::None);
            continue;
        }
        const long long size = engine_->ftpeFileLength(entry);
        const int code = engine_->ftpeGetFile(entry);
        if (code < 0) {
            showError(code);
            continue;
        }
        if (!callTheDriver('G', size)) {
            break;
        }
    }
    prompts_.uploadNotice(false);
    fillLocalList();
    panes_.serverSelection.clear();
}
