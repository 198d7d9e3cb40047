#include "designer/pages/version_history.h"

#include <algorithm>
#include <optional>

#include "common/local_time.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "designer/editor_page/editor_page_writer.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "site/link_follow.h"
#include "site/published_page.h"
#include "store/page_store.h"

namespace {

constexpr const char* kCaption = "History";
// A version is looked at as a page of its own beside the working folder's other pages.
constexpr const char* kVersionPage = "versionpreview.html";

}  // namespace

VersionHistory::VersionHistory(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                               Browser& browser, Prompts& prompts, Shell& shell)
    : workspace_(workspace),
      store_(store),
      writer_(writer),
      browser_(browser),
      prompts_(prompts),
      shell_(shell) {}

void VersionHistory::showHistory() {
    const PageRecord& page = workspace_.page;
    if (workspace_.flags.noSaveOnExit || page.fileName == kQuickstartPage) {
        prompts_.messageBox("Open or save a page of your own first: its history starts there.",
                            kCaption, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    const std::vector<PageVersion> versions = store_.versions().list(page.directory, page.fileName);
    if (versions.empty()) {
        prompts_.messageBox(
            "No versions of " + page.fileName + " are kept yet: each save keeps one.", kCaption,
            MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    std::vector<PageVersionEntry> entries;
    for (const PageVersion& version : versions) {
        entries.push_back(
            {LocalTimeText(version.savedAt / 1000, "%Y-%m-%d %H:%M:%S"), version.picture});
    }
    for (;;) {
        const std::optional<VersionChoice> choice = prompts_.pageHistory(page.fileName, entries);
        if (!choice || choice->index >= versions.size()) {
            return;
        }
        const std::optional<PageRecord> design =
            store_.versions().design(versions[choice->index].id);
        if (!design) {
            prompts_.messageBox("That version can no longer be read.", kCaption, MessageButtons::Ok,
                                MessageIcon::Warning);
            return;
        }
        PageRecord then = *design;
        followRenamesSince(then, versions[choice->index].savedAt);
        if (choice->action == VersionAction::Restore) {
            restore(then);
            return;
        }
        look(then);
    }
}

void VersionHistory::followRenamesSince(PageRecord& version, long long savedAt) {
    for (const PageRename& rename : store_.renames().of(workspace_.page.directory)) {
        if (rename.when >= savedAt) {
            FollowRename(version, rename.oldName, rename.newName);
        }
    }
}

void VersionHistory::look(PageRecord version) {
    const std::string folder = SiteFolderShown(workspace_);
    // Its menus list the folder's pages as they are now.
    if (HoldsSiteMenu(version)) {
        version.sitePages = store_.sitePages(workspace_.page.directory);
    }
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder, &version);
    const std::string path = JoinPath(workspace_.workingFolder, kVersionPage);
    if (WriteRemadeFile(path, publisher.pageText(version, PublishVariant::Preview, folder))) {
        shell_.open(path);
    }
}

void VersionHistory::restore(const PageRecord& version) {
    PageRecord& page = workspace_.page;
    if (const std::optional<std::string> layout = browser_.editorLayout()) {
        // What was dragged since the last command is a step of its own before the restore.
        page.stylesData = LayoutWithEachIdOnce(*layout);
        workspace_.editor.takenLayout = page.stylesData;
    }
    PageRecord restored = version;
    const PageRecord sharedThen = SplitSiteItems(restored);
    restored.id = page.id;
    restored.directory = page.directory;
    restored.fileName = page.fileName;
    restored.elementCount = std::max(restored.elementCount, page.elementCount);
    if (page.siteItemsShown) {
        // The shared items stand on every page: they stay as they are unless the user asks
        // for them as they were then (those added since stay either way).
        PageRecord current = page;
        PageRecord shared = SplitSiteItems(current);
        PageRecord sharedAsThen = shared;
        UpdateSiteItems(sharedAsThen, sharedThen);
        if (!SameItems(sharedAsThen, shared)) {
            const std::size_t pages = store_.pageNames(page.directory).size();
            const MessageAnswer answer = prompts_.messageBox(
                "The items every page shares (a header, a menu, a footer) were different in this "
                "version. Restore them too? They then change on all " +
                    std::to_string(pages) + (pages == 1 ? " page" : " pages") +
                    " of the site folder when this page is saved.\n\nYes: restore the shared "
                    "items as they were too.\nNo: restore this page's own items only; the "
                    "shared items stay as they are.",
                kCaption, MessageButtons::YesNoCancel, MessageIcon::Question);
            if (answer == MessageAnswer::Cancel) {
                return;
            }
            if (answer == MessageAnswer::Yes) {
                shared = std::move(sharedAsThen);
            }
        }
        MergeSiteItems(restored, shared);
        restored.siteElementCount = std::max(page.siteElementCount, shared.elementCount);
    }
    if (HoldsSiteMenu(restored)) {
        restored.sitePages = store_.sitePages(page.directory);
    }
    page = std::move(restored);
    workspace_.caption = page.pageTitle;
    workspace_.editor.stepLabel = "restore version";
    writer_.writeLoad(page, workspace_.editor);
}
