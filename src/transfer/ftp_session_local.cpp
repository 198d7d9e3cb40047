#include "transfer/ftp_session.h"

#include "common/paths.h"
#include "files/folder_listing.h"
#include "platform/prompts.h"
#include "transfer/ftp_panes.h"

// The uploader's local pane: the folder whose files are uploaded and where downloads land.

void FtpSession::fillLocalList() {
    panes_.localEntries = LocalListEntries(panes_.localFolder);
    SortEntries(panes_.localEntries);
    panes_.localSelection.clear();
    panes_.localCaret.reset();
}

void FtpSession::browseLocalFolder() {
    if (const std::optional<std::string> folder =
            prompts_.chooseFolder("Upload folder selection:", panes_.localFolder)) {
        panes_.localFolder = *folder;
        fillLocalList();
    }
}

void FtpSession::openLocalFolder() {
    const std::optional<std::size_t> caret = panes_.localCaret;
    if (!caret || *caret >= panes_.localEntries.size() ||
        !IsFolderEntry(panes_.localEntries[*caret])) {
        prompts_.messageBox("Selected file is not a folder.", "Quillora Message",
                            MessageButtons::Ok, MessageIcon::None);
        panes_.localSelection.clear();
        return;
    }
    panes_.localFolder = JoinPath(panes_.localFolder, FolderEntryName(panes_.localEntries[*caret]));
    fillLocalList();
}

void FtpSession::localFolderUp() {
    const std::string above = LocalFolderAbove(panes_.localFolder);
    if (above == panes_.localFolder) {
        return;
    }
    panes_.localFolder = above;
    fillLocalList();
}
