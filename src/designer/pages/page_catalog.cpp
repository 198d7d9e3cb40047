#include "designer/pages/page_catalog.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/markup_escaping.h"
#include "common/paths.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/pages/recovery.h"
#include "files/file_operation.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/site_languages.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "site/language_versions.h"
#include "site/site_check.h"
#include "store/page_store.h"

namespace {

bool IsOnDisk(const std::string& path) {
    const int kind = FileOperation::CheckPath(path);
    return kind == 1 || kind == 2;
}

}  // namespace

PageCatalog::PageCatalog(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                         Browser& browser)
    : workspace_(workspace), store_(store), writer_(writer), browser_(browser) {}

void PageCatalog::fillFolderList() {
    ChoiceList& folders = workspace_.folders;
    folders.clear();
    for (const std::string& folder : store_.folderNames()) {
        if (IsOnDisk(folder)) {
            folders.add(folder);
        }
    }
}

void PageCatalog::fillPageList() {
    PageRecord& page = workspace_.page;
    ChoiceList& pages = workspace_.pages;
    pages.clear();
    if (workspace_.folders.selectedIndex()) {
        page.directory = workspace_.folders.selectedText();
    }
    for (const std::string& name : store_.pageNames(page.directory)) {
        if (IsOnDisk(JoinPath(page.directory, name))) {
            pages.add(name);
        }
    }
    if (!pages.empty()) {
        return;
    }
    if (page.directory == JoinPath(workspace_.workingFolder, kDefaultSiteFolder)) {
        pages.add(kQuickstartPage);
        return;
    }
    pages.select(pages.add("index.html"));
    page.fileName = pages.selectedText();
    resetToFreshPage();
}

void PageCatalog::fillPageListWith(const std::string& name) {
    PageRecord& page = workspace_.page;
    ChoiceList& pages = workspace_.pages;
    pages.clear();
    pages.add(name);
    if (workspace_.folders.selectedIndex()) {
        page.directory = workspace_.folders.selectedText();
    }
    for (const std::string& stored : store_.pageNames(page.directory)) {
        if (stored != name) {
            pages.add(stored);
        }
    }
    pages.select(0);
    if (workspace_.flags.keepDesign) {
        workspace_.flags.keepDesign = false;
        return;
    }
    resetToFreshPage();
}

void PageCatalog::resetToFreshPage() {
    PageRecord& page = workspace_.page;
    page.backImage.clear();
    page.pageImage.clear();
    page.stylesData.clear();
    page.pageContainer.clear();
    // The grid goes, and so does its button's mark.
    workspace_.editor.gridPicture.clear();
    workspace_.editor.gridSetting = "0";
    workspace_.editor.gridStart = "0";
    page.pageWidth = "0";
    page.pageLength = "1000";
    page.pageTitle = kDefaultPageTitle;
    workspace_.caption = page.pageTitle;
    page.pageColor = "#E2E2E2";
    page.backColor = "#FFFFFF";
    page.texts.clear();
    page.richTexts.clear();
    page.textProperties.clear();
    page.pictures.clear();
    page.links.clear();
    loadPage();
}

std::string PageCatalog::siteFolderStored(Prompts& prompts) {
    const std::string folder = SiteFolderShown(workspace_);
    if (folder.empty()) {
        prompts.messageBox("Choose a site folder first.", "QUILLORA MESSAGE", MessageButtons::Ok,
                           MessageIcon::None);
        return folder;
    }
    storeCurrentDesign();
    return folder;
}

void PageCatalog::editIn(const std::string& language) {
    const std::vector<std::string> languages = siteLanguages();
    const bool other = !languages.empty() && language != languages.front() &&
                       std::find(languages.begin(), languages.end(), language) != languages.end();
    const std::string editing = other ? language : std::string();
    if (editing == workspace_.editor.editingLanguage) {
        return;
    }
    // What was dragged in the language shown is the one layout's.
    if (const std::optional<std::string> layout = browser_.editorLayout()) {
        workspace_.page.stylesData = LayoutWithEachIdOnce(*layout);
    }
    workspace_.editor.editingLanguage = editing;
    writer_.writeLoad(workspace_.page, workspace_.editor);
}

std::vector<std::string> PageCatalog::siteLanguages() {
    const std::string folder = SiteFolderShown(workspace_);
    if (folder.empty()) {
        return {};
    }
    std::vector<std::string> languages = store_.siteOptions().load(folder).languages;
    return languages.size() >= 2 ? languages : std::vector<std::string>();
}

void PageCatalog::checkSite(Prompts& prompts) {
    const std::string folder = siteFolderStored(prompts);
    if (folder.empty()) {
        return;
    }
    const std::vector<SiteFinding> findings =
        CheckSite(store_, workspace_.workingFolder, folder,
                  [this](const std::string& pageFile) { return browser_.sectionReach(pageFile); });
    std::vector<std::string> lines;
    lines.reserve(findings.size());
    for (const SiteFinding& finding : findings) {
        lines.push_back(FindingLine(finding));
    }
    const std::optional<std::size_t> chosen = prompts.siteCheck(folder, lines);
    if (!chosen || *chosen >= findings.size() || findings[*chosen].page.empty()) {
        return;
    }
    const SiteFinding& finding = findings[*chosen];
    const std::vector<std::string>& pages = workspace_.pages.entries();
    const auto page = std::find(pages.begin(), pages.end(), finding.page);
    if (page == pages.end()) {
        return;
    }
    if (!finding.item.empty()) {
        workspace_.editor.layoutRequest =
            "ddSelectNames('" + ScriptStringContent(finding.item) + "');";
    }
    // A finding about another language shows the page in it.
    workspace_.editor.editingLanguage = finding.language;
    choosePage(static_cast<std::size_t>(page - pages.begin()));
}

void PageCatalog::addSiteMenu(Prompts& prompts) {
    PageRecord& page = workspace_.page;
    const FolderPages pages = store_.sitePages(SiteFolderShown(workspace_));
    // A menu of no pages would draw an empty box.
    if (pages.empty()) {
        prompts.messageBox(
            "This site folder has no pages yet, so a site menu would have "
            "nothing to list. Save a page into the folder first, then add the "
            "menu.",
            "SITE MENU", MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    page.sitePages = pages;
    placeSharedSection(WriteSiteMenu(MenuOfPages(pages)));
}

void PageCatalog::addLanguageSwitcher(Prompts& prompts) {
    if (siteLanguages().empty()) {
        prompts.messageBox(
            "This site has one language, so a language switcher would have nothing to offer. "
            "Choose its languages with Site > Languages... first.",
            "LANGUAGE SWITCHER", MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    placeSharedSection(kLanguageSwitcher);
}

void PageCatalog::placeSharedSection(const std::string& richText) {
    PageRecord& page = workspace_.page;
    if (const std::optional<std::string> layout = browser_.editorLayout()) {
        page.stylesData = LayoutWithEachIdOnce(*layout);
    }
    const std::string id = FreeTextId(page);
    page.stylesData += (page.stylesData.empty() ? "" : "|") + std::string(kRecordStart) + id +
                       "' style='position: absolute; top: 10px; left: 10px; visibility: "
                       "visible;'>";
    page.texts.push_back(id);
    page.richTexts.push_back(richText);
    page.textProperties.push_back(id + "^^^^^" + kLeftAligned);
    const std::string shared = MakeSiteItem(page, id);
    workspace_.editor.layoutRequest =
        "ddSelectNames('" + ScriptStringContent(shared.empty() ? id : shared) + "');";
    writer_.writeLoad(page, workspace_.editor);
}

void PageCatalog::loadPage() {
    PageRecord& page = workspace_.page;
    workspace_.history.clear();
    store_.loadPage(page, workspace_.folders.selectedText(), page.fileName);
    workspace_.editor.mainLanguage =
        MainLanguage(store_.siteOptions().load(workspace_.folders.selectedText()));
    workspace_.caption = page.pageTitle;
    writer_.writeLoad(page, workspace_.editor);
}

void PageCatalog::resumeLastPage() {
    storeCurrentDesign();
    workspace_.flags.noSaveOnExit = false;
    loadPage();
}

void PageCatalog::chooseFolder(std::size_t index) {
    storeCurrentDesign();
    workspace_.flags.noSaveOnExit = false;
    workspace_.folders.select(index);
    fillPageList();
    // A folder without stored pages has already been given its fresh index page.
    if (!workspace_.pages.empty() && !workspace_.pages.selectedIndex()) {
        workspace_.pages.select(0);
        workspace_.page.fileName = workspace_.pages.selectedText();
        loadPage();
    }
}

void PageCatalog::choosePage(std::size_t index) {
    storeCurrentDesign();
    workspace_.flags.noSaveOnExit = false;
    workspace_.pages.select(index);
    workspace_.page.fileName = workspace_.pages.selectedText();
    loadPage();
}

bool PageCatalog::editing() const {
    return !workspace_.flags.noSaveOnExit && workspace_.page.fileName != kQuickstartPage;
}

bool PageCatalog::storeCurrentDesign() {
    if (!editing()) {
        return true;
    }
    PageRecord& page = workspace_.page;
    if (const std::optional<std::string> layout = browser_.editorLayout()) {
        page.stylesData = LayoutWithEachIdOnce(*layout);
    }
    if (!store_.savePage(page, browser_.pagePicture())) {
        return false;
    }
    RemoveRecovery(workspace_.workingFolder);
    return true;
}

void PageCatalog::keepForRecovery() {
    if (!editing()) {
        return;
    }
    PageRecord design = workspace_.page;
    if (const std::optional<std::string> layout = browser_.editorLayout()) {
        design.stylesData = LayoutWithEachIdOnce(*layout);
    }
    WriteRecovery(workspace_.workingFolder, design);
}
