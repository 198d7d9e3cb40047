#include "designer/session_lifecycle.h"

#include "common/paths.h"
#include "common/service_addresses.h"
#include "designer/designer_session.h"
#include "designer/pages/recovery.h"
#include "page/design_text.h"
#include "page/working_files.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "store/db/sqlite_exception.h"
#include "store/hosting_folder_store.h"

void StartSession(DesignerSession& session, SqliteDatabase& db, Browser& browser) {
    Workspace& workspace = session.workspace();
    try {
        workspace.hosting = LoadHostingFolder(db, session.passwordVault());
    } catch (const SqliteException& failure) {
        session.store().report(failure);
    }
    workspace.page = PageRecord();
    workspace.editor = EditorState();
    const LastSession last = ReadLastSession(workspace.workingFolder);
    session.controls().setFolderLabel(
        FolderLabel(workspace.hosting, kHostingSiteAddress, last.page));
    session.catalog().fillFolderList();
    workspace.folders.selectStartingWith(last.folder);
    session.catalog().fillPageList();
    workspace.pages.selectStartingWith(last.page);
    workspace.page.fileName = last.page;
    workspace.page.elementCount = 0;
    workspace.flags.firstBackgroundBrowse = true;
    workspace.flags.uploadNotice = false;
    workspace.flags.noSaveOnExit = true;
    browser.navigate(JoinPath(workspace.workingFolder, kWelcomePageFile));
}

void EndSession(DesignerSession& session) {
    Workspace& workspace = session.workspace();
    const bool stored = session.catalog().storeCurrentDesign();
    const PageRecord& page = workspace.page;
    // A page never opened in a folder leaves the folder empty; the next start would then find
    // no folder at all.
    const std::string folder = page.directory.empty()
                                   ? JoinPath(workspace.workingFolder, kDefaultSiteFolder)
                                   : page.directory;
    WriteLastSession(workspace.workingFolder, folder, page.fileName);
    if (stored) {
        RemoveRecovery(workspace.workingFolder);
        return;
    }
    // The recovery file is then the only copy of the changes.
    session.prompts().messageBox("The changes to " + page.fileName +
                                     " could not be stored. They are kept in " +
                                     JoinPath(workspace.workingFolder, kRecoveryFile) +
                                     " and will be offered back when Quillora starts again.",
                                 "Changes kept", MessageButtons::Ok, MessageIcon::Warning);
}
