#include "designer/pages/page_manager.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "common/local_time.h"
#include "common/paths.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/pages/page_catalog.h"
#include "designer/pages/page_files.h"
#include "files/file_operation.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "site/language_versions.h"
#include "site/link_follow.h"
#include "site/published_page.h"
#include "site/stored_pages.h"
#include "store/page_store.h"

namespace {

constexpr const char* kCaption = "Pages";
constexpr const char* kHomePage = "index.html";

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// When the page was saved last: its newest kept version, else its file's time.
std::string LastSaved(PageStore& store, const std::string& folder, const std::string& name) {
    std::optional<long long> seconds = store.versions().lastSaved(folder, name);
    struct stat file {};
    if (!seconds && ::stat(JoinPath(folder, name).c_str(), &file) == 0) {
        seconds = static_cast<long long>(file.st_mtime);
    }
    return seconds ? LocalTimeText(*seconds, "%Y-%m-%d %H:%M") : std::string();
}

}  // namespace

PageManager::PageManager(Workspace& workspace, PageCatalog& catalog, PageFiles& files,
                         PageStore& store, EditorPageWriter& writer, Prompts& prompts)
    : workspace_(workspace),
      catalog_(catalog),
      files_(files),
      store_(store),
      writer_(writer),
      prompts_(prompts) {}

void PageManager::managePages() {
    const std::string folder = catalog_.siteFolderStored(prompts_);
    if (folder.empty()) {
        return;
    }
    for (;;) {
        std::vector<PageListEntry> entries;
        for (const auto& [name, title] : store_.sitePages(folder)) {
            if (FileOperation::CheckPath(JoinPath(folder, name)) == FileOperation::kFile) {
                entries.push_back({name, title, LastSaved(store_, folder, name)});
            }
        }
        const std::optional<PageChoice> choice =
            prompts_.pageList(folder, entries, workspace_.page.fileName);
        if (!choice) {
            return;
        }
        switch (choice->action) {
            case PageAction::Open:
                openPage(choice->fileName);
                return;
            case PageAction::New:
                files_.newPage();
                return;
            case PageAction::Duplicate:
                duplicatePage(choice->fileName);
                break;
            case PageAction::Rename:
                if (const std::optional<std::string> entered = prompts_.pageName()) {
                    files_.renameInFolder(choice->fileName, *entered);
                }
                break;
            case PageAction::Delete:
                deletePage(choice->fileName);
                break;
            case PageAction::MakeHome:
                makeHomePage(choice->fileName);
                break;
            case PageAction::ShowDeleted:
                showDeleted(folder);
                break;
        }
    }
}

void PageManager::openPage(const std::string& fileName) {
    const std::vector<std::string>& pages = workspace_.pages.entries();
    const auto found = std::find(pages.begin(), pages.end(), fileName);
    if (found != pages.end() && fileName != workspace_.page.fileName) {
        catalog_.choosePage(static_cast<std::size_t>(found - pages.begin()));
    }
}

void PageManager::duplicatePage(const std::string& fileName) {
    const std::optional<std::string> entered = prompts_.pageName();
    if (!entered) {
        return;
    }
    const std::optional<std::string> name = files_.checkedNewName(*entered, std::string());
    if (!name || *name == fileName) {
        return;
    }
    const std::string folder = SiteFolderShown(workspace_);
    PageRecord copy;
    if (!store_.loadPage(copy, folder, fileName)) {
        return;
    }
    copy.directory = folder;
    copy.fileName = *name;
    copy.id.clear();
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    std::string text;
    if (store_.savePage(copy) &&
        publisher.publish(copy, PublishVariant::Save, folder, copy.fileName, text)) {
        workspace_.pages.add(copy.fileName);
        joinMenus(folder, copy.fileName);
    }
}

void PageManager::joinMenus(const std::string& folder, const std::string& fileName) {
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    for (const std::string& name : store_.pageNames(folder)) {
        PageRecord other;
        std::string text;
        if (name != fileName && name != kQuickstartPage && store_.loadPage(other, folder, name) &&
            MenusReach(other, fileName)) {
            publisher.publish(other, PublishVariant::Save, folder, name, text);
        }
    }
    PageRecord& page = workspace_.page;
    if (page.directory == folder && MenusReach(page, fileName)) {
        page.sitePages = store_.sitePages(folder);
        writer_.writeLoad(page, workspace_.editor);
    }
}

void PageManager::makeHomePage(const std::string& fileName) {
    if (fileName == kHomePage) {
        return;
    }
    const std::vector<std::string>& pages = workspace_.pages.entries();
    if (std::find(pages.begin(), pages.end(), kHomePage) != pages.end()) {
        prompts_.messageBox(
            "This folder already has a home page, index.html. Rename or delete it first, then "
            "make " +
                fileName + " the home page.",
            kCaption, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    files_.renameInFolder(fileName, kHomePage);
}

PageManager::Links PageManager::linksTo(const std::string& folder, const std::string& fileName) {
    Links links;
    for (const std::string& name : store_.pageNames(folder)) {
        PageRecord other;
        if (name == fileName || name == kQuickstartPage) {
            continue;
        }
        store_.loadPage(other, folder, name);
        // The shared menu is told of once, not as every page's own.
        SplitSiteItems(other);
        if (LinksTo(other, fileName)) {
            links.linking.push_back(name);
        }
        if (MenusReach(other, fileName)) {
            links.menus.push_back(name);
            links.menuPlaces += MenuPlacesOf(other, name, fileName);
        }
    }
    PageRecord shared;
    store_.loadPage(shared, folder, kSiteItemsFile);
    links.sharedMenu = MenusReach(shared, fileName);
    links.menuPlaces += MenuPlacesOf(shared, kSiteItemsFile, fileName);
    return links;
}

bool PageManager::deletePage(const std::string& fileName) {
    const std::string folder = SiteFolderShown(workspace_);
    catalog_.storeCurrentDesign();
    const Links links = linksTo(folder, fileName);
    std::string question =
        "Delete " + fileName +
        "? Its file leaves the site folder, and the next upload removes it from the server. "
        "Its design and its versions are kept 90 days: Undo brings it back now, and Pages > "
        "Deleted pages until then.";
    if (links.sharedMenu || !links.menus.empty()) {
        std::vector<std::string> menus = links.menus;
        if (links.sharedMenu) {
            menus.insert(menus.begin(), "the site menu every page shares");
        }
        question += "\n\nIt is taken out of the menus of " + Listed(menus) + ".";
    }
    if (!links.linking.empty()) {
        question += "\n\nThese pages link to it, and their links will lead nowhere: " +
                    Listed(links.linking) + ".";
    }
    if (prompts_.messageBox(question, "DELETE PAGE", MessageButtons::YesNo, MessageIcon::Warning) !=
        MessageAnswer::Yes) {
        return false;
    }
    return removePage(folder, fileName, links);
}

bool PageManager::removePage(const std::string& folder, const std::string& fileName,
                             const Links& links) {
    const std::string path = JoinPath(folder, fileName);
    FileOperation files(prompts_);
    if (FileOperation::CheckPath(path) == FileOperation::kFile && !files.Delete(path)) {
        prompts_.messageBox("The page could not be deleted: " + files.lastErrorText(),
                            "DELETE PAGE", MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    if (!store_.deletePage(folder, fileName, links.menuPlaces)) {
        return false;
    }
    RemoveLanguageVersions(store_.siteOptions().load(folder), folder, fileName);
    removeFromMenus(folder, fileName, links);
    if (fileName == workspace_.page.fileName) {
        // Nothing of the deleted page may be stored again when the next one opens.
        workspace_.flags.noSaveOnExit = true;
        catalog_.fillPageList();
        if (!workspace_.pages.empty() && !workspace_.pages.selectedIndex()) {
            catalog_.choosePage(0);
        }
        workspace_.flags.noSaveOnExit = false;
    } else {
        std::vector<std::string> pages = workspace_.pages.entries();
        pages.erase(std::remove(pages.begin(), pages.end(), fileName), pages.end());
        workspace_.pages.clear();
        for (const std::string& page : pages) {
            workspace_.pages.add(page);
        }
        workspace_.pages.selectStartingWith(workspace_.page.fileName);
    }
    const std::vector<DeletedDesign> kept = store_.deleted().designs(folder);
    if (!kept.empty() && kept.front().fileName == fileName) {
        undoable_ = UndoableDeletion{kept.front().id, folder, workspace_.history.generation(),
                                     workspace_.history.undoCount()};
    }
    return true;
}

bool PageManager::canUndoDeletion() const {
    // Only right after the delete: any step of the open page, or another page, comes first.
    return undoable_ && undoable_->generation == workspace_.history.generation() &&
           undoable_->steps == workspace_.history.undoCount() &&
           undoable_->folder == SiteFolderShown(workspace_);
}

bool PageManager::undoDeletion() {
    if (!canUndoDeletion()) {
        undoable_.reset();
        return false;
    }
    const UndoableDeletion deletion = *undoable_;
    undoable_.reset();
    restoreDeleted(deletion.folder, deletion.id);
    return true;
}

void PageManager::showDeleted(const std::string& folder) {
    const std::vector<DeletedDesign> designs = store_.deleted().designs(folder);
    std::vector<DeletedPageEntry> entries;
    for (const DeletedDesign& design : designs) {
        entries.push_back({design.fileName, design.title,
                           LocalTimeText(design.deleted, "%Y-%m-%d %H:%M"),
                           LocalTimeText(design.deleted + PageVersions::kKeptSeconds, "%Y-%m-%d")});
    }
    const std::optional<std::size_t> chosen = prompts_.deletedPages(folder, entries);
    if (chosen && *chosen < designs.size()) {
        restoreDeleted(folder, designs[*chosen].id);
    }
}

bool PageManager::restoreDeleted(const std::string& folder, long long id) {
    catalog_.storeCurrentDesign();
    std::string fileName;
    for (const DeletedDesign& design : store_.deleted().designs(folder)) {
        if (design.id == id) {
            fileName = design.fileName;
        }
    }
    if (fileName.empty()) {
        return false;
    }
    const std::vector<std::string> names = store_.pageNames(folder);
    if (std::find(names.begin(), names.end(), fileName) != names.end() ||
        FileOperation::CheckPath(JoinPath(folder, fileName)) != FileOperation::kNotFound) {
        prompts_.messageBox("The folder has a page named " + fileName +
                                " now. Rename or delete it first, then restore the deleted one.",
                            kCaption, MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    std::optional<TakenDesign> taken = store_.deleted().take(id);
    if (!taken || !store_.savePage(taken->design)) {
        return false;
    }
    // Back in the menus where it stood; the pages whose menus show it are written again.
    for (const std::string& record : RecordsOfMenuPlaces(taken->menuPlaces)) {
        PageRecord holder;
        if (!store_.loadPage(holder, folder, record)) {
            continue;
        }
        if (record != kSiteItemsFile) {
            SplitSiteItems(holder);
        }
        holder.directory = folder;
        holder.fileName = record;
        if (PutBackInMenus(holder, record, fileName, taken->menuPlaces)) {
            store_.savePage(holder);
        }
    }
    PageRecord restored;
    store_.loadPage(restored, folder, fileName);
    restored.directory = folder;
    restored.fileName = fileName;
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    std::string text;
    publisher.publish(restored, PublishVariant::Save, folder, fileName, text);
    if (folder == SiteFolderShown(workspace_)) {
        workspace_.pages.add(fileName);
        workspace_.pages.selectStartingWith(workspace_.page.fileName);
    }
    PageRecord& page = workspace_.page;
    if (page.directory == folder) {
        // The open page (stored first) takes its own menus and the shared ones as now stored.
        const bool showed = page.siteItemsShown;
        SplitSiteItems(page);
        PutBackInMenus(page, page.fileName, fileName, taken->menuPlaces);
        if (showed) {
            PageRecord shared;
            store_.loadPage(shared, folder, kSiteItemsFile);
            page.siteItemsKnown.clear();
            MergeSiteItems(page, shared);
        }
    }
    // Its menus, which now show it again, are redrawn there.
    joinMenus(folder, fileName);
    prompts_.messageBox(fileName + " is back in the site folder with its versions" +
                            (taken->menuPlaces.empty() ? "." : ", in the menus it was in."),
                        kCaption, MessageButtons::Ok, MessageIcon::Information);
    return true;
}

void PageManager::removeFromMenus(const std::string& folder, const std::string& fileName,
                                  const Links& links) {
    const auto remove = [&](SiteMenu& menu) { return RemoveFromMenu(menu, fileName); };
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    for (const std::string& name : links.menus) {
        // A menu that took the page in when it joined names it nowhere, and changes all the
        // same: the page is written again whether its definition changed or not.
        PageRecord other;
        if (!store_.loadPage(other, folder, name)) {
            continue;
        }
        std::string text;
        other.directory = folder;
        other.fileName = name;
        (!ChangeSiteMenus(other, remove) || store_.savePage(other)) &&
            publisher.publish(other, PublishVariant::Save, folder, name, text);
    }
    if (links.sharedMenu) {
        PageRecord shared;
        store_.loadPage(shared, folder, kSiteItemsFile);
        shared.directory = folder;
        shared.fileName = kSiteItemsFile;
        if (!ChangeSiteMenus(shared, remove) || store_.savePage(shared)) {
            WriteStoredPages(store_, publisher, folder);
        }
    }
    // The open page shows its menus from its own record, the shared ones merged into it.
    PageRecord& page = workspace_.page;
    const auto listed = std::remove_if(page.sitePages.begin(), page.sitePages.end(),
                                       [&](const auto& entry) { return entry.first == fileName; });
    const bool wasListed = listed != page.sitePages.end();
    page.sitePages.erase(listed, page.sitePages.end());
    if (ChangeSiteMenus(page, remove) || wasListed) {
        writer_.writeLoad(page, workspace_.editor);
    }
}

void PageManager::publishSite() {
    const std::string folder = catalog_.siteFolderStored(prompts_);
    if (folder.empty()) {
        return;
    }
    std::vector<std::string> gone;
    for (const std::string& name : store_.pageNames(folder)) {
        if (name != kQuickstartPage &&
            FileOperation::CheckPath(JoinPath(folder, name)) == FileOperation::kNotFound) {
            gone.push_back(name);
        }
    }
    if (!gone.empty()) {
        const MessageAnswer answer = prompts_.messageBox(
            Listed(gone) + (gone.size() == 1 ? " is" : " are") +
                " no longer in the site folder, but their designs are stored.\n\nYes: delete "
                "their designs too, so that they stay gone (the next upload removes them from "
                "the server).\nNo: write them again from their designs.",
            "Publish Site", MessageButtons::YesNoCancel, MessageIcon::Question);
        if (answer == MessageAnswer::Cancel) {
            return;
        }
        for (const std::string& name :
             answer == MessageAnswer::Yes ? gone : std::vector<std::string>()) {
            removePage(folder, name, linksTo(folder, name));
        }
    }
    // Every page as the command line writes it: from its stored design.
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    const StoredPagesWritten pages =
        WriteStoredPages(store_, publisher, folder, std::string(), &prompts_);
    std::string failed;
    for (const std::string& name : pages.failed) {
        failed += "\n" + name;
    }
    const std::size_t written = pages.written;
    prompts_.messageBox(std::to_string(written) + (written == 1 ? " page" : " pages") + " of " +
                            folder + " written." +
                            (failed.empty() ? "" : "\nNot written:" + failed),
                        "Publish Site", MessageButtons::Ok,
                        failed.empty() ? MessageIcon::Information : MessageIcon::Warning);
}
