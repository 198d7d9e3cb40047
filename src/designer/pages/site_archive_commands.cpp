#include "designer/pages/site_archive_commands.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/paths.h"
#include "designer/pages/page_catalog.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "site/site_archive.h"
#include "site/starters.h"
#include "store/page_store.h"

namespace {

constexpr const char* kFilter = "Quillora site (*.qsite)|*.qsite||";
constexpr const char* kExportCaption = "Export Site";
constexpr const char* kImportCaption = "Import Site";
constexpr const char* kNewSiteCaption = "New Site";

}  // namespace

SiteArchiveCommands::SiteArchiveCommands(Workspace& workspace, PageCatalog& catalog,
                                         PageStore& store, Prompts& prompts,
                                         std::string startersFolder)
    : workspace_(workspace),
      catalog_(catalog),
      store_(store),
      prompts_(prompts),
      startersFolder_(std::move(startersFolder)) {}

void SiteArchiveCommands::exportSite() {
    const std::string folder = catalog_.siteFolderStored(prompts_);
    if (folder.empty()) {
        return;
    }
    std::optional<std::string> file = prompts_.saveFileName(
        {kExportCaption, kFilter, JoinPath(workspace_.workingFolder, SiteArchiveName(folder))});
    if (!file) {
        return;
    }
    if (FileNameOf(*file).find('.') == std::string::npos) {
        *file += ".qsite";
    }
    const SiteArchiveResult result = ExportSite(store_, workspace_.workingFolder, folder, *file);
    prompts_.messageBox(result.message, kExportCaption, MessageButtons::Ok,
                        result.done ? MessageIcon::Information : MessageIcon::Warning);
}

void SiteArchiveCommands::importSite() {
    const std::optional<std::string> file =
        prompts_.openFileName({kFilter, JoinPath(workspace_.workingFolder, "*.qsite")});
    if (file) {
        importFile(*file);
    }
}

void SiteArchiveCommands::importFile(const std::string& file) {
    bringIn(file, "Import the site into which folder?", kImportCaption);
}

void SiteArchiveCommands::newSite() {
    const std::vector<StarterEntry> starters = ListStarters(startersFolder_);
    std::vector<StarterOffer> offers;
    for (const StarterEntry& starter : starters) {
        offers.push_back({starter.id, starter.name, starter.kind, starter.line, starter.picture});
    }
    const std::optional<std::string> chosen = prompts_.newSite(offers);
    if (!chosen) {
        return;
    }
    const auto starter =
        std::find_if(starters.begin(), starters.end(),
                     [&](const StarterEntry& entry) { return entry.id == *chosen; });
    if (starter == starters.end()) {
        const std::optional<std::string> folder =
            prompts_.chooseFolder("Make the new site in which folder?", workspace_.workingFolder);
        if (folder) {
            std::error_code error;
            std::filesystem::create_directories(*folder, error);
            catalog_.storeCurrentDesign();
            show(WithoutTrailingSeparator(*folder));
        }
        return;
    }
    if (bringIn(starter->file, "Make the new site in which folder?", kNewSiteCaption)) {
        // A starter opens on its home page.
        const std::vector<std::string>& pages = workspace_.pages.entries();
        const auto home = std::find(pages.begin(), pages.end(), "index.html");
        if (home != pages.end() && workspace_.page.fileName != *home) {
            catalog_.choosePage(static_cast<std::size_t>(home - pages.begin()));
        }
    }
}

bool SiteArchiveCommands::bringIn(const std::string& file, const std::string& folderQuestion,
                                  const char* caption) {
    SiteArchive archive;
    std::string refusal;
    if (!archive.open(file, refusal)) {
        prompts_.messageBox(refusal, caption, MessageButtons::Ok, MessageIcon::Warning);
        return false;
    }
    const std::optional<std::string> folder = prompts_.chooseFolder(
        folderQuestion, JoinPath(workspace_.workingFolder, kDefaultSiteFolder));
    if (!folder) {
        return false;
    }
    const std::string siteFolder = WithoutTrailingSeparator(*folder);
    const std::optional<std::string> replaced =
        ImportReplaces(PagesHeld(store_, siteFolder), archive.filesMet(siteFolder), siteFolder);
    if (replaced &&
        prompts_.messageBox(*replaced + " Import into it?", caption, MessageButtons::YesNo,
                            MessageIcon::Warning) != MessageAnswer::Yes) {
        return false;
    }
    catalog_.storeCurrentDesign();
    const SiteArchiveResult result =
        archive.importInto(store_, prompts_, workspace_.workingFolder, siteFolder);
    // The open design is stored already; the folder shown next must not store it again over
    // an imported design of its name.
    workspace_.flags.noSaveOnExit = true;
    prompts_.messageBox(result.message, caption, MessageButtons::Ok,
                        result.done ? MessageIcon::Information : MessageIcon::Warning);
    if (result.pages == 0) {
        return false;
    }
    show(siteFolder);
    return true;
}

// The site folder shown: chosen in the folder list, its first page opened.
void SiteArchiveCommands::show(const std::string& siteFolder) {
    catalog_.fillFolderList();
    ChoiceList& folders = workspace_.folders;
    if (!folders.selectStartingWith(siteFolder)) {
        folders.select(folders.add(siteFolder));
    }
    catalog_.chooseFolder(*folders.selectedIndex());
}
