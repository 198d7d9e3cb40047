#include "designer/phone/phone_view.h"

#include <algorithm>
#include <set>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "designer/editor_page/editor_page_writer.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/browser.h"
#include "platform/prompts.h"
#include "site/language_versions.h"
#include "site/phone/phone_layout.h"
#include "store/page_store.h"

namespace {

// The view's frame: a bar of the column's and the chosen item's choices above the page as a
// phone 375 pixels wide shows it. The working folder's phoneview.js does the rest.
constexpr const char* kViewStart =
    "<html><head><meta charset='utf-8'><title>Phone view</title>"
    "<style>body{margin:0;background:#d8dce2;font:14px sans-serif}"
    "#phonebar{position:sticky;top:0;z-index:1;display:flex;flex-wrap:wrap;gap:6px 18px;"
    "align-items:center;padding:6px 10px;background:#f4f5f7;border-bottom:1px solid #aab}"
    "#phonebar button{margin-left:4px;padding:2px 8px}"
    "#phonebar button[aria-pressed=true]{background:#2f6fdb;color:#fff}"
    ".none button,.picture .text,.text .picture{display:none}"
    "#phonenote{margin:8px auto;max-width:520px;text-align:center}"
    "#phone{width:375px;margin:12px auto 40px;background:#fff;box-shadow:0 0 0 8px #333}"
    "#phoneframe{display:block;width:375px;height:667px;border:0}</style>";
constexpr const char* kViewBody =
    "<script type='text/javascript' src='phoneview.js'></script></head><body>"
    "<div id='phonebar' role='toolbar' aria-label='Phone layout'>"
    "<span class='group'>Space between items "
    "<button id='spaceless' title='Less space between items'>&minus;</button>"
    "<span id='spacing'></span>"
    "<button id='spacemore' title='More space between items'>+</button></span>"
    "<span class='group' id='itemchoices'><span id='itemname'></span>"
    "<button id='moveup'>Move up</button><button id='movedown'>Move down</button>"
    "<button id='hide'>Hide on phones</button>"
    "<button id='fullwidth' class='picture'>Full width</button>"
    "<button id='designedwidth' class='picture'>As designed, scaled down if wider</button>"
    "<button id='smaller' class='text'>Smaller text</button>"
    "<button id='designedsize' class='text'>Text as designed</button>"
    "<button id='larger' class='text'>Larger text</button></span></div>";
constexpr const char* kSwitchOffNote =
    "<p id='phonenote'>Phone-friendly pages are off for this site folder: visitors' phones show "
    "the page as designed until Page &gt; Site Options turns them on.</p>";
constexpr const char* kViewEnd =
    "<div id='phone'><iframe id='phoneframe' title='The page on a phone' "
    "src='phoneitems.html'></iframe></div></body></html>";

constexpr int kDefaultSpacing = 8;

// The column as the view's script reads it: each item with its kind and choices.
std::string ItemsScript(const PageRecord& page, const std::string& selected) {
    std::string script = "<script type='text/javascript'>var phoneItems=[";
    for (const std::string& id : PhoneColumn(page)) {
        const auto choice = [&](const char* name) {
            return ScriptString(PhoneChoiceOf(page.phoneChoices, id, name));
        };
        script +=
            "{id:" + ScriptString(id) + ",picture:" + (id.rfind('d', 0) == 0 ? "true" : "false") +
            ",shared:" + (IsSiteItemId(id) ? "true" : "false") + ",hidden:" + choice(kPhoneHidden) +
            ",width:" + choice(kPhoneWidth) + ",size:" + choice(kPhoneTextSize) + "},";
    }
    const std::string spacing = PhoneChoiceOf(page.phoneChoices, "", kPhoneSpacing);
    script +=
        "];var phoneSpacing=" + (spacing.empty() ? std::to_string(kDefaultSpacing) : spacing) +
        ";var phoneSelected=" + ScriptString(selected) + ";</script>";
    return script;
}

// The ORDER choices that put the column in the given order.
void PlaceAll(PhoneChoices& choices, const std::vector<std::string>& column) {
    for (std::size_t i = 0; i < column.size(); ++i) {
        SetPhoneChoice(choices, column[i], kPhoneOrder, std::to_string(i + 1));
    }
}

// Choices of items the page no longer has go, so a name drawn again starts afresh.
void DropChoicesOfGoneItems(PageRecord& page, const std::vector<std::string>& column) {
    for (auto choice = page.phoneChoices.begin(); choice != page.phoneChoices.end();) {
        if (!choice->first.empty() &&
            std::find(column.begin(), column.end(), choice->first) == column.end()) {
            choice = page.phoneChoices.erase(choice);
        } else {
            ++choice;
        }
    }
}

}  // namespace

PhoneView::PhoneView(Workspace& workspace, PageStore& store, EditorPageWriter& writer,
                     Browser& browser, Prompts& prompts)
    : workspace_(workspace),
      store_(store),
      writer_(writer),
      browser_(browser),
      prompts_(prompts),
      publisher_(workspace.workingFolder, prompts) {}

std::string PhoneView::viewPagePath() const {
    return JoinPath(workspace_.workingFolder, kPhoneViewPage);
}

std::string PhoneView::itemsPagePath() const {
    return JoinPath(workspace_.workingFolder, kPhoneItemsPage);
}

void PhoneView::switchOn() {
    // Before a page is opened there is nothing to shape: the welcome page stays.
    if (workspace_.flags.noSaveOnExit) {
        prompts_.messageBox(
            "Open a page or start a new one first: the phone view shows the page "
            "being designed as phones will show it.",
            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (!workspace_.editor.phoneView) {
        if (const std::optional<std::string> layout = browser_.editorLayout()) {
            workspace_.page.stylesData = LayoutWithEachIdOnce(*layout);
        }
        workspace_.editor.phoneView = true;
    }
    show(workspace_.page);
}

void PhoneView::switchOff() {
    if (workspace_.editor.phoneView) {
        workspace_.editor.phoneView = false;
        writer_.writeLoad(workspace_.page, workspace_.editor);
    }
}

void PhoneView::show(const PageRecord& page) {
    const std::string folder = SiteFolderShown(workspace_);
    if (folder.empty()) {
        publisher_.setSiteOptions(SiteOptions());
        publisher_.setSiteFonts(SiteFontSet());
    } else {
        publisher_.setUpFor(store_, folder, &page);
    }
    SiteOptions options = publisher_.siteOptions();
    const bool phoneFriendly = options.phoneFriendly;
    // The column whether or not the folder's switch is on: the user shapes it before turning
    // it on.
    options.phoneFriendly = true;
    publisher_.setSiteOptions(options);
    // Phones show the language the page is edited in.
    const std::string& language = workspace_.editor.editingLanguage;
    std::set<std::string> untranslated;
    const std::string items = publisher_.pageText(
        language.empty() || folder.empty()
            ? page
            : InLanguage(page, language, publisher_.translatedTitles(), untranslated),
        PublishVariant::Shaping, folder);
    std::string view = kViewStart;
    view += ItemsScript(page, workspace_.editor.phoneSelected);
    view += kViewBody;
    if (!phoneFriendly) {
        view += kSwitchOffNote;
    }
    view += kViewEnd;
    for (const std::string& path : {itemsPagePath(), viewPagePath()}) {
        if (!WriteRemadeFile(path, path == viewPagePath() ? view : items)) {
            prompts_.messageBox("The phone view could not be written to " + path +
                                    ". The page shown stays as it is, and your change is kept "
                                    "in the design.",
                                "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
            return;
        }
    }
    browser_.navigate(viewPagePath());
}

void PhoneView::move(const std::string& argument) {
    PageRecord& page = workspace_.page;
    std::vector<std::string> column = PhoneColumn(page);
    const std::string id = FieldAt(argument, 0, "~") + "~";
    const auto from = std::find(column.begin(), column.end(), id);
    const std::string place = FieldAt(argument, 1, "~");
    if (from == column.end() || place.empty() ||
        place.find_first_not_of("0123456789") != std::string::npos || place.size() > 6) {
        return;
    }
    column.erase(from);
    const std::size_t to = std::min<std::size_t>(std::stoul(place), column.size());
    column.insert(column.begin() + static_cast<std::ptrdiff_t>(to), id);
    DropChoicesOfGoneItems(page, column);
    PlaceAll(page.phoneChoices, column);
    workspace_.editor.phoneSelected = id;
    show(page);
}

void PhoneView::choose(const std::string& argument) {
    PageRecord& page = workspace_.page;
    const std::vector<std::string> column = PhoneColumn(page);
    const std::string id = FieldAt(argument, 0, "~") + "~";
    const std::string name = FieldAt(argument, 1, "~");
    std::string value = FieldAt(argument, 2, "~");
    if (std::find(column.begin(), column.end(), id) == column.end()) {
        return;
    }
    // As designed is no choice at all.
    if ((name == kPhoneWidth && value == kPhoneDesignedWidth) ||
        (name == kPhoneTextSize && value == "0")) {
        value.clear();
    }
    DropChoicesOfGoneItems(page, column);
    SetPhoneChoice(page.phoneChoices, id, name, value);
    workspace_.editor.phoneSelected = id;
    show(page);
}

void PhoneView::space(const std::string& pixels) {
    PageRecord& page = workspace_.page;
    SetPhoneChoice(page.phoneChoices, "", kPhoneSpacing,
                   pixels == std::to_string(kDefaultSpacing) ? std::string() : pixels);
    show(page);
}
