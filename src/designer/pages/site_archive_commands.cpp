#include "designer/pages/site_archive_commands.h"

#include <optional>

#include "common/paths.h"
#include "designer/pages/page_catalog.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "site/site_archive.h"
#include "store/page_store.h"

namespace {

constexpr const char* kFilter = "Quillora site (*.qsite)|*.qsite||";
constexpr const char* kExportCaption = "Export Site";
constexpr const char* kImportCaption = "Import Site";

}  // namespace

SiteArchiveCommands::SiteArchiveCommands(Workspace& workspace, PageCatalog& catalog,
                                         PageStore& store, Prompts& prompts)
    : workspace_(workspace), catalog_(catalog), store_(store), prompts_(prompts) {}

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
    if (!file) {
        return;
    }
    SiteArchive archive;
    std::string refusal;
    if (!archive.open(*file, refusal)) {
        prompts_.messageBox(refusal, kImportCaption, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    const std::optional<std::string> folder =
        prompts_.chooseFolder("Import the site into which folder?",
                              JoinPath(workspace_.workingFolder, kDefaultSiteFolder));
    if (!folder) {
        return;
    }
    const std::string siteFolder = WithoutTrailingSeparator(*folder);
    const std::optional<std::string> replaced =
        ImportReplaces(PagesHeld(store_, siteFolder), archive.filesMet(siteFolder), siteFolder);
    if (replaced &&
        prompts_.messageBox(*replaced + " Import into it?", kImportCaption, MessageButtons::YesNo,
                            MessageIcon::Warning) != MessageAnswer::Yes) {
        return;
    }
    catalog_.storeCurrentDesign();
    const SiteArchiveResult result =
        archive.importInto(store_, prompts_, workspace_.workingFolder, siteFolder);
    // The open design is stored already; the folder shown next must not store it again over
    // an imported design of its name.
    workspace_.flags.noSaveOnExit = true;
    prompts_.messageBox(result.message, kImportCaption, MessageButtons::Ok,
                        result.done ? MessageIcon::Information : MessageIcon::Warning);
    if (result.pages == 0) {
        return;
    }
    // The imported site is shown: its folder chosen, its first page opened.
    catalog_.fillFolderList();
    ChoiceList& folders = workspace_.folders;
    if (!folders.selectStartingWith(siteFolder)) {
        folders.select(folders.add(siteFolder));
    }
    catalog_.chooseFolder(*folders.selectedIndex());
}
