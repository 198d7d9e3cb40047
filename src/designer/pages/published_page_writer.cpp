#include "designer/pages/published_page_writer.h"

#include "common/paths.h"
#include "designer/editor_page/layout_handover.h"
#include "designer/pages/recovery.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "store/page_store.h"

PublishedPageWriter::PublishedPageWriter(Workspace& workspace, PageStore& store,
                                         Clipboard& clipboard, Browser& browser, Prompts& prompts)
    : workspace_(workspace),
      store_(store),
      clipboard_(clipboard),
      browser_(browser),
      prompts_(prompts),
      publisher_(workspace.workingFolder, prompts) {}

bool PublishedPageWriter::writePublishedPage() {
    return write(PublishVariant::Save).has_value();
}

std::optional<std::string> PublishedPageWriter::writeUploadPage() {
    return write(PublishVariant::Upload);
}

std::optional<std::string> PublishedPageWriter::write(PublishVariant variant) {
    PageRecord& page = workspace_.page;
    if (page.fileName == kQuickstartPage) {
        prompts_.messageBox("Quickstart page is for reference only.", "QUICKSTART OVERWRITE LOCK",
                            MessageButtons::Ok, MessageIcon::None);
        return std::nullopt;
    }
    TakeLayoutFromClipboard(page, workspace_.editor, clipboard_);
    std::string siteFolder = workspace_.folders.selectedText();
    if (!workspace_.folders.selectedIndex()) {
        siteFolder = page.directory;
    }
    // Without a folder the page would be written into the root of the file system.
    if (siteFolder.empty()) {
        siteFolder = JoinPath(workspace_.workingFolder, kDefaultSiteFolder);
    }
    if (page.directory.empty()) {
        page.directory = siteFolder;
    }
    // Only a page that shows or holds shared items can change them: any other saves as ever.
    const bool sharing = page.siteItemsShown || PlacesSiteItems(page);
    const PageRecord sharedBefore = sharing ? storedSiteItems(page.directory) : PageRecord();
    // A page new to a folder with a site menu joins every other page's menu.
    const bool joinsMenus =
        HoldsSiteMenu(page) && store_.pageIdOf(page.directory, page.fileName).empty();
    // A new title reaches every page's menu at this save, not at the next Publish Site: the
    // menus it labelled by default follow it.
    const bool retitled = retitledWithMenus(page);
    const bool stored = store_.savePage(page, browser_.pagePicture());
    // Its menus list the folder's pages as they now are, this one among them.
    if (HoldsSiteMenu(page)) {
        page.sitePages = store_.sitePages(page.directory);
    }

    if (workspace_.pages.selectedIndex()) {
        page.fileName = workspace_.pages.selectedText();
    }
    std::string text;
    publisher_.setUpFor(store_, siteFolder, &page);
    if (!publisher_.publish(page, variant, siteFolder, page.fileName, text)) {
        prompts_.messageBox(
            "The page could not be written to " + JoinPath(siteFolder, page.fileName) + ".",
            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Error);
        return std::nullopt;
    }
    if (stored) {
        RemoveRecovery(workspace_.workingFolder);
    }
    // The items every page shares changed: every page of the folder carries them anew.
    if (page.directory == siteFolder &&
        (joinsMenus || retitled ||
         (sharing && !SameItems(storedSiteItems(siteFolder), sharedBefore)))) {
        republishOthers(siteFolder, page.fileName);
    }
    return text;
}

bool PublishedPageWriter::retitledWithMenus(PageRecord& page) {
    // Menus live in the page or among the items it shares with the folder.
    if (!HoldsSiteMenu(page) && !page.siteItemsShown) {
        return false;
    }
    std::optional<std::string> oldTitle;
    for (const auto& [file, title] : store_.sitePages(page.directory)) {
        if (file == page.fileName) {
            oldTitle = title;
        }
    }
    if (!oldTitle || *oldTitle == page.pageTitle) {
        return false;
    }
    RetitleInMenus(page, page.fileName, *oldTitle, page.pageTitle);
    return true;
}

PageRecord PublishedPageWriter::storedSiteItems(const std::string& folder) {
    PageRecord site;
    store_.loadPage(site, folder, kSiteItemsFile);
    return site;
}

void PublishedPageWriter::republishOthers(const std::string& folder, const std::string& written) {
    WriteStoredPages(store_, publisher_, folder, written);
}
