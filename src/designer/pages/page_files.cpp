#include "designer/pages/page_files.h"

#include <algorithm>
#include <optional>

#include "common/fields.h"
#include "common/paths.h"
#include "common/service_addresses.h"
#include "common/text_file.h"
#include "designer/editor_page/controls_page.h"
#include "designer/pages/page_catalog.h"
#include "designer/pages/published_page_writer.h"
#include "files/file_operation.h"
#include "page/page_names.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "site/language_versions.h"
#include "site/link_follow.h"
#include "site/published_page.h"
#include "store/page_store.h"

namespace {

constexpr const char* kPageFilter = "html file (*.html)|*.html||";
constexpr const char* kEmptyPage = "<HTML><HEAD></HEAD><BODY></BODY></HTML>";
constexpr const char* kInvalidNameCaption = "Invalid Page Name";
constexpr const char* kFileNameOnlyText =
    "A page name is a file name: it cannot hold \"/\", \"\\\" or \"..\". Choose a name in the "
    "folder shown.";
constexpr const char* kHiddenNameText =
    "A page name cannot start with \".\": such a file is hidden, and .siteitems holds the items "
    "every page of the folder shares. Choose another name.";

// A path that climbs out of its folder ("..") or names a folder that is not there ("a/b"
// typed as a name) makes no page.
bool LeavesItsFolder(const std::string& path) {
    std::string slashes = path;
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    for (const std::string& part : SplitFields(slashes, "/")) {
        if (part == "..") {
            return true;
        }
    }
    return FileOperation::CheckPath(ParentFolderOf(path)) != FileOperation::kFolder;
}

}  // namespace

std::string WithHtmlExtension(const std::string& name) {
    return name.substr(0, name.find('.')) + ".html";
}

PageFiles::PageFiles(Workspace& workspace, PageCatalog& catalog, PageStore& store,
                     ControlsPage& controls, Browser& browser, Prompts& prompts, Shell& shell)
    : workspace_(workspace),
      catalog_(catalog),
      store_(store),
      controls_(controls),
      browser_(browser),
      prompts_(prompts),
      shell_(shell) {}

bool PageFiles::mayReplace(const std::string& path) {
    const PageRecord& page = workspace_.page;
    if (FileOperation::CheckPath(path) == FileOperation::kNotFound ||
        PathsEqual(path, JoinPath(page.directory, page.fileName))) {
        return true;
    }
    return prompts_.messageBox(FileNameOf(path) + " already exists. Replace it?",
                               "Quillora Message", MessageButtons::YesNo,
                               MessageIcon::Warning) == MessageAnswer::Yes;
}

bool PageFiles::refusesName(const std::string& path) {
    if (LeavesItsFolder(path)) {
        prompts_.messageBox(kFileNameOnlyText, kInvalidNameCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return true;
    }
    // A name starting with "." is a hidden file, and one of them (.siteitems) holds the items
    // every page of the folder shares: a page saved under it would take their place.
    if (FileNameOf(path).empty() || FileNameOf(path).front() == '.') {
        prompts_.messageBox(kHiddenNameText, kInvalidNameCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return true;
    }
    return false;
}

void PageFiles::selectFolder(const std::string& folder) {
    ChoiceList& folders = workspace_.folders;
    if (!folders.selectStartingWith(folder)) {
        folders.select(folders.add(folder));
    }
}

void PageFiles::newPage() {
    PageRecord& page = workspace_.page;
    std::string directory = page.directory;
    if (workspace_.folders.selectedIndex()) {
        directory = workspace_.folders.selectedText();
    }
    const std::optional<std::string> chosen = prompts_.saveFileName(
        {"New Web Page File Name", kPageFilter, JoinPath(directory, "newpage.html")});
    if (!chosen || refusesName(*chosen)) {
        return;
    }
    const std::string path = CleanPageName(*chosen);
    const std::string name = CleanPageName(FileNameOf(*chosen));
    const std::string folder = ParentFolderOf(path);
    // The empty page goes where the page will be saved, so that no file without the ".html"
    // is left behind; a file there is replaced only when the user says so.
    const std::string pagePath = JoinPath(folder, WithHtmlExtension(name));
    if (!mayReplace(pagePath)) {
        return;
    }
    catalog_.storeCurrentDesign();
    // The counter restarts only for the new page: a cancelled dialog keeps the current page's
    // counter, so its next item cannot take an id it already uses.
    page.elementCount = 0;
    page.directory = directory;
    WriteTextFile(pagePath, kEmptyPage);
    workspace_.flags.noSaveOnExit = false;
    if (folder != page.directory) {
        selectFolder(folder);
    }
    page.fileName = WithHtmlExtension(name);
    catalog_.fillPageListWith(page.fileName);
}

bool PageFiles::saveAsPage() {
    PageRecord& page = workspace_.page;
    if (workspace_.folders.selectedIndex()) {
        page.directory = workspace_.folders.selectedText();
    }
    std::optional<std::string> chosen = prompts_.saveFileName(
        {"Save Current Page As", kPageFilter, JoinPath(page.directory, "newpage.html")});
    // A name typed without an extension is a web page all the same.
    if (chosen && FileNameOf(*chosen).find('.') == std::string::npos) {
        *chosen += ".html";
    }
    if (!chosen || refusesName(*chosen) || !mayReplace(*chosen)) {
        // Left set, the flag would make the next new page keep this design.
        workspace_.flags.keepDesign = false;
        return false;
    }
    const std::string folder = ParentFolderOf(*chosen);
    if (folder != page.directory) {
        selectFolder(folder);
    }
    page.fileName = FileNameOf(*chosen);
    catalog_.fillPageListWith(page.fileName);
    return true;
}

void PageFiles::renamePage() {
    if (const std::optional<std::string> entered = prompts_.pageName()) {
        renameInFolder(workspace_.page.fileName, *entered);
    }
}

std::optional<std::string> PageFiles::checkedNewName(const std::string& entered,
                                                     const std::string& oldName) {
    if (entered.find_first_of("/\\") != std::string::npos || entered == "..") {
        prompts_.messageBox(kFileNameOnlyText, kInvalidNameCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return std::nullopt;
    }
    const std::string newName = WithHtmlExtension(CleanPageName(entered));
    if (entered.empty() || newName == ".html") {
        prompts_.messageBox("Name change failed, invalid name", kInvalidNameCaption,
                            MessageButtons::Ok, MessageIcon::None);
        return std::nullopt;
    }
    const std::vector<std::string>& pages = workspace_.pages.entries();
    if (newName != oldName && std::find(pages.begin(), pages.end(), newName) != pages.end()) {
        prompts_.messageBox("New file name is duplicate of existing", kInvalidNameCaption,
                            MessageButtons::Ok, MessageIcon::None);
        return std::nullopt;
    }
    if (newName != oldName && !mayReplace(JoinPath(workspace_.page.directory, newName))) {
        return std::nullopt;
    }
    return newName;
}

bool PageFiles::renameInFolder(std::string oldName, const std::string& entered) {
    PageRecord& page = workspace_.page;
    const std::optional<std::string> checked = checkedNewName(entered, oldName);
    if (!checked) {
        return false;
    }
    const std::string& newName = *checked;
    const std::string oldPath = JoinPath(page.directory, oldName);
    const std::string newPath = JoinPath(page.directory, newName);
    // The file first: when it cannot be renamed, the stored page keeps its name too.
    FileOperation files(prompts_);
    if (newName != oldName && FileOperation::CheckPath(oldPath) != FileOperation::kNotFound &&
        ((FileOperation::CheckPath(newPath) == FileOperation::kFile && !files.Delete(newPath)) ||
         !files.Rename(oldPath, newPath))) {
        prompts_.messageBox("The page could not be renamed: " + files.lastErrorText(),
                            kInvalidNameCaption, MessageButtons::Ok, MessageIcon::None);
        return false;
    }
    // The other languages' versions are written under the new name with the page.
    if (newName != oldName) {
        RemoveLanguageVersions(store_.siteOptions().load(page.directory), page.directory, oldName);
    }
    const bool openPage = oldName == page.fileName;
    ChoiceList& pages = workspace_.pages;
    std::vector<std::string> others;
    for (const std::string& entry : pages.entries()) {
        if (entry != oldName && entry != newName) {
            others.push_back(entry);
        }
    }
    const std::string shown = openPage ? newName : page.fileName;
    pages.clear();
    for (const std::string& other : others) {
        pages.add(other);
    }
    const std::size_t renamed = pages.add(newName);
    if (openPage) {
        page.fileName = newName;
        pages.select(renamed);
    } else {
        pages.selectStartingWith(shown);
    }

    store_.renamePage(page.directory, oldName, newName);
    if (newName != oldName) {
        followLinks(page.directory, oldName, newName);
    }

    controls_.setFolderLabel(FolderLabel(workspace_.hosting, kHostingSiteAddress, page.fileName));
    controls_.writePage();
    browser_.navigate(JoinPath(workspace_.workingFolder, kScreenPageFile));
    return true;
}

void PageFiles::followLinks(const std::string& folder, const std::string& oldName,
                            const std::string& newName) {
    // The open page's own links change with it and are stored at its next save.
    FollowRename(workspace_.page, oldName, newName);
    PagePublisher publisher(workspace_.workingFolder, prompts_);
    publisher.setUpFor(store_, folder);
    PageRecord sharedBefore;
    store_.loadPage(sharedBefore, folder, kSiteItemsFile);
    std::string changed;
    for (const std::string& name : store_.pageNames(folder)) {
        PageRecord other;
        other.directory = folder;
        other.fileName = name;
        if (name == newName || name == kQuickstartPage || !store_.loadPage(other, folder, name)) {
            continue;
        }
        std::string text;
        if (FollowRename(other, oldName, newName)) {
            if (store_.savePage(other) &&
                publisher.publish(other, PublishVariant::Save, folder, name, text)) {
                changed += (changed.empty() ? "" : ", ") + name;
            }
        } else if (MenusReach(other, newName)) {
            // Its menu took the page in when it joined and names it nowhere: the link it
            // shows changes all the same.
            publisher.publish(other, PublishVariant::Save, folder, name, text);
        }
    }
    PageRecord sharedAfter;
    store_.loadPage(sharedAfter, folder, kSiteItemsFile);
    const bool sharedChanged = !SameItems(sharedBefore, sharedAfter);
    // The shared items (a site menu) are on every page: each is written again with them.
    if (sharedChanged || MenusReach(sharedAfter, newName)) {
        WriteStoredPages(store_, publisher, folder);
    }
    if (HoldsSiteMenu(workspace_.page)) {
        workspace_.page.sitePages = store_.sitePages(folder);
    }
    if (!changed.empty() || sharedChanged) {
        prompts_.messageBox("The links to " + oldName + " now lead to " + newName +
                                (changed.empty() ? std::string() : " in " + changed) +
                                (sharedChanged ? std::string(changed.empty() ? " in" : " and in") +
                                                     " the items every page shares"
                                               : std::string()) +
                                ". Those pages were stored and written again.",
                            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Information);
    }
}

void PageFiles::editPageTitle() {
    PageRecord& page = workspace_.page;
    // In another language the title's translation is edited.
    const std::string& language = workspace_.editor.editingLanguage;
    if (!language.empty()) {
        if (const std::optional<std::string> title = prompts_.pageTitle(
                TranslationOr(page, language, kTranslatedTitle, page.pageTitle))) {
            SetTranslation(page, language, kTranslatedTitle, *title);
        }
        return;
    }
    if (const std::optional<std::string> title = prompts_.pageTitle(page.pageTitle)) {
        workspace_.caption = *title;
        page.pageTitle = *title;
    }
}

std::string PageFiles::siteFolder() const {
    return SiteFolderShown(workspace_);
}

void PageFiles::previewPage() {
    const PageRecord& page = workspace_.page;
    shell_.open(JoinPath(page.directory, page.fileName));
}

void PageFiles::showHelp() {
    shell_.open(JoinPath(JoinPath(workspace_.workingFolder, "help"), "quillhelp.html"));
}
