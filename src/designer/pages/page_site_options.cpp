#include "designer/pages/page_site_options.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "common/paths.h"
#include "common/text_file.h"
#include "designer/editor_page/editor_page_writer.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "site/language_versions.h"
#include "store/page_store.h"

PageSiteOptions::PageSiteOptions(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                                 Prompts& prompts)
    : workspace_(workspace),
      store_(store),
      writer_(writer),
      prompts_(prompts),
      preview_(workspace.workingFolder, prompts) {}

void PageSiteOptions::editPageOptions() {
    PageRecord& page = workspace_.page;
    // In another language the description's translation is edited; the rest is the page's.
    const std::string& editing = workspace_.editor.editingLanguage;
    const std::optional<std::string> description =
        editing.empty() ? page.description
                        : TranslationOr(page, editing, kTranslatedDescription,
                                        page.description.value_or(std::string()));
    const std::optional<PageOptions> options =
        prompts_.pageOptions({page.language, description, page.noSiteItems});
    if (!options) {
        return;
    }
    page.language = options->language;
    if (editing.empty()) {
        page.description = options->description;
    } else {
        SetTranslation(page, editing, kTranslatedDescription,
                       options->description.value_or(std::string()));
    }
    if (options->noSiteItems == page.noSiteItems) {
        return;
    }
    // The site's items leave the page or come onto it at once; leaving, they are kept for
    // the other pages as they stood here.
    page.noSiteItems = options->noSiteItems;
    if (page.noSiteItems) {
        const PageRecord shared = SplitSiteItems(page);
        if (page.siteItemsShown) {
            store_.handBackSiteItems(shared, page.siteItemsKnown);
        }
        page.siteItemsShown = false;
        page.siteItemsKnown.clear();
    } else {
        PageRecord site;
        if (store_.loadPage(site, page.directory, kSiteItemsFile)) {
            MergeSiteItems(page, site);
        }
    }
    writer_.writeLoad(page, workspace_.editor);
}

std::string PageSiteOptions::chosenFolder() {
    const std::string folder = SiteFolderShown(workspace_);
    if (folder.empty()) {
        prompts_.messageBox("Choose a site folder first.", "QUILLORA MESSAGE", MessageButtons::Ok,
                            MessageIcon::None);
    }
    return folder;
}

void PageSiteOptions::editSiteOptions() {
    const std::string folder = chosenFolder();
    if (folder.empty()) {
        return;
    }
    if (const std::optional<SiteOptions> options =
            prompts_.siteOptions(folder, store_.siteOptions().load(folder))) {
        store_.siteOptions().save(folder, *options);
    }
}

void PageSiteOptions::editSiteLanguages() {
    const std::string folder = chosenFolder();
    if (folder.empty()) {
        return;
    }
    SiteOptions options = store_.siteOptions().load(folder);
    if (const std::optional<std::vector<std::string>> languages =
            prompts_.siteLanguages(folder, options.languages)) {
        options.languages = *languages;
        store_.siteOptions().save(folder, options);
        EditorState& editor = workspace_.editor;
        editor.mainLanguage = MainLanguage(options);
        // A language no longer among the others is not edited in any more.
        const auto others = std::next(options.languages.begin(), options.languages.empty() ? 0 : 1);
        if (!editor.editingLanguage.empty() &&
            std::find(others, options.languages.end(), editor.editingLanguage) ==
                options.languages.end()) {
            editor.editingLanguage.clear();
            writer_.writeLoad(workspace_.page, editor);
        }
    }
}

bool PageSiteOptions::phoneFriendlyHere() {
    const std::string folder = SiteFolderShown(workspace_);
    return !folder.empty() && store_.siteOptions().load(folder).phoneFriendly;
}

std::string PageSiteOptions::writePhonePreview(bool onlyWhenChanged) {
    const std::string path = JoinPath(workspace_.workingFolder, kPhonePreviewPage);
    // What a phone will show: the one column only where the site folder's switch is on.
    const std::string folder = SiteFolderShown(workspace_);
    SiteOptions shown;
    if (!folder.empty()) {
        preview_.setUpFor(store_, folder, &workspace_.page);
        shown.phoneFriendly = preview_.siteOptions().phoneFriendly;
        shown.siteFonts = preview_.siteOptions().siteFonts;
    }
    preview_.setSiteOptions(shown);
    std::string text = preview_.pageText(workspace_.page, PublishVariant::Preview, folder);
    if (onlyWhenChanged && text == previewText_) {
        return std::string();
    }
    previewText_ = std::move(text);
    return WriteRemadeFile(path, previewText_) ? path : std::string();
}
