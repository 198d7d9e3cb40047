#include "transfer/ftp_session.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "common/paths.h"
#include "files/sent_record.h"
#include "page/working_files.h"
#include "platform/prompts.h"
#include "site/upload_files.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"
#include "transfer/ftp_engine.h"
#include "transfer/ftp_listing.h"
#include "transfer/ftp_panes.h"
#include "transfer/server_copy.h"

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

FtpSession::Driven FtpSession::callTheDriver(char kind, long long expected) {
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
            return Driven::Cancelled;
        }
        const int code = engine_->ftpeDriver();
        if (code < 0) {
            showError(code);
            tellLeftPartFile();
            engine_->ftpeLog("--> Leaving CallTheDriver");
            return Driven::Failed;
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
    return Driven::Done;
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
    engine_->hashSentContent(true);
    prompts_.uploadNotice(true);
    std::vector<SentFile> sent;
    std::map<std::string, std::string> digests;
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
        const Driven driven = callTheDriver('P', size);
        if (driven == Driven::Done) {
            sent.push_back({entry, size});
            digests[entry] = engine_->ftpeSentDigest();
        } else if (driven == Driven::Cancelled) {
            break;
        }
    }
    panes_.localSelection.clear();
    // A folder that could not be listed tells nothing of the files sent: its failure was told.
    // What it holds whole is recorded as sent, so that a page deleted later may leave it.
    SentRecord record(workingFolder_, sentRecordTarget());
    if (refreshServerList()) {
        const auto notWhole = NotHeldWhole(engine_->entries(), sent);
        for (const SentFile& file : sent) {
            if (std::none_of(notWhole.begin(), notWhole.end(),
                             [&](const auto& bad) { return bad.first == file.name; })) {
                record.sent(file.name, JoinPath(panes_.localFolder, file.name), digests[file.name]);
            }
        }
        tellNotHeldWhole(sent);
    }
    if (!sent.empty()) {
        removeDeletedPages(record);
    }
    prompts_.uploadNotice(false);
}

std::string FtpSession::sentRecordTarget() const {
    return (panes_.protocol == TransferProtocol::Sftp ? "sftp|" : "ftp|") + panes_.server + "|" +
           panes_.user + "|" + panes_.serverFolder;
}

void FtpSession::removeDeletedPages(SentRecord& record) {
    std::vector<std::pair<std::string, long long>> deleted;
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder_, kPageStoreFile));
        deleted = PageStore(db, prompts_).deleted().pages(panes_.localFolder);
    } catch (const SqliteException&) {
        return;
    }
    bool removed = false;
    // Only what this program sent there and the server still holds as sent: a file of that
    // name someone else put there, or changed since, is theirs.
    for (const std::string& name : PagesToRemove(deleted, record)) {
        const std::vector<std::string>& held = panes_.serverEntries;
        if (std::find(held.begin(), held.end(), name) == held.end()) {
            record.removed(name);
            continue;
        }
        const std::optional<std::string> there =
            FetchServerFile(*engine_, name, panes_.localFolder, [] { return false; });
        if (!there) {
            continue;
        }
        if (!HoldsAsSent(*there, record.sentHash(name).value_or(std::string()))) {
            prompts_.messageBox(
                name + " on the server is not what this program sent there, so it stays.",
                kUploaderCaption, MessageButtons::Ok, MessageIcon::Information);
            record.removed(name);
            continue;
        }
        prompts_.messageBox(RemovalNotice(name), kUploaderCaption, MessageButtons::Ok,
                            MessageIcon::Information);
        const int code = engine_->ftpeDelFile(name);
        if (code < 0) {
            showError(code);
        } else {
            record.removed(name);
        }
        removed = true;
    }
    if (removed) {
        refreshServerList();
    }
}

void FtpSession::tellNotHeldWhole(const std::vector<SentFile>& sent) {
    std::string files;
    for (const auto& [name, held] : NotHeldWhole(engine_->entries(), sent)) {
        files += "\n" + name + ": " + held;
    }
    if (!files.empty()) {
        prompts_.messageBox(
            "The server said these files were stored, but it does not hold them "
            "whole:" +
                files,
            "FTP Error:", MessageButtons::Ok, MessageIcon::Warning);
    }
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
        if (callTheDriver('G', size) == Driven::Cancelled) {
            break;
        }
    }
    prompts_.uploadNotice(false);
    fillLocalList();
    panes_.serverSelection.clear();
}
