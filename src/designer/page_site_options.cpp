#include "designer/page_site_options.h"

#include <optional>

#include "common/paths.h"
#include "common/text_file.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "store/page_store.h"

PageSiteOptions::PageSiteOptions(Workspace& workspace, PageStore& store, Prompts& prompts)
    : workspace_(workspace),
      store_(store),
      prompts_(prompts),
      preview_(workspace.workingFolder, prompts) {}

void PageSiteOptions::editPageOptions() {
    PageRecord& page = workspace_.page;
    if (const std::optional<PageOptions> options =
            prompts_.pageOptions({page.language, page.description})) {
        page.language = options->language;
        page.description = options->description;
    }
}

void PageSiteOptions::editSiteOptions() {
    const std::string folder = SiteFolderShown(workspace_);
    if (folder.empty()) {
        prompts_.messageBox("Choose a site folder first.", "QUILLORA MESSAGE", MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    if (const std::optional<SiteOptions> options =
            prompts_.siteOptions(folder, store_.siteOptions(folder))) {
        store_.setSiteOptions(folder, *options);
    }
}

bool PageSiteOptions::phoneFriendlyHere() {
    const std::string folder = SiteFolderShown(workspace_);
    return !folder.empty() && store_.siteOptions(folder).phoneFriendly;
}

std::string PageSiteOptions::writePhonePreview(bool onlyWhenChanged) {
    const std::string path = JoinPath(workspace_.workingFolder, kPhonePreviewPage);
    // What a phone will show: the one column only where the site folder's switch is on.
    SiteOptions shown;
    shown.phoneFriendly = phoneFriendlyHere();
    preview_.setSiteOptions(shown);
    std::string text =
        preview_.pageText(workspace_.page, PublishVariant::Preview, SiteFolderShown(workspace_));
    if (onlyWhenChanged && text == previewText_) {
        return std::string();
    }
    previewText_ = std::move(text);
    return WriteRemadeFile(path, previewText_) ? path : std::string();
}
