#include "designer/command_dispatcher.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/number_text.h"
#include "common/paths.h"
#include "common/service_addresses.h"
#include "common/text_case.h"
#include "common/text_search.h"
#include "designer/editing/design_steps.h"
#include "designer/editing/designer_operations.h"
#include "designer/editing/element_operations.h"
#include "designer/editing/item_commands.h"
#include "designer/editing/section_library.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/editor_page/layout_handover.h"
#include "designer/pages/page_catalog.h"
#include "designer/pages/page_files.h"
#include "designer/pages/page_manager.h"
#include "designer/pages/published_page_writer.h"
#include "designer/phone/phone_view.h"
#include "hosting/hosting_commands.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "page/workspace.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "platform/shell.h"

namespace {

// Where each command's argument starts: right after its command word.
constexpr std::size_t kAddArgumentAt = 17;         // "http://addtrigger"
constexpr std::size_t kTextArgumentAt = 15;        // "http://edittext"
constexpr std::size_t kPictureArgumentAt = 16;     // "http://editimage"
constexpr std::size_t kBackgroundArgumentAt = 22;  // "http://backgroundimage", "...color"

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string From(const std::string& text, std::size_t at) {
    return at < text.size() ? text.substr(at) : std::string();
}

std::string CentringRequest(const std::string& id) {
    return " onload=Javascript:centerItem('" + id + "') ";
}

}  // namespace

std::string BrowserAddress(const std::string& url) {
    std::string address = ReplaceAll(url, " ", "%20");
    const std::string http = "http://";
    if (address.compare(0, http.size(), http) == 0 &&
        address.find('/', http.size()) == std::string::npos) {
        address += '/';
    }
    return address;
}

CommandDispatcher::CommandDispatcher(const Parts& parts) : parts_(parts) {}

std::string CommandDispatcher::welcomePageAddress() const {
    const std::string path = JoinPath(parts_.workspace.workingFolder, kWelcomePageFile);
    return path.front() == '/' ? "file://" + path : "file:///" + path;
}

bool CommandDispatcher::isOwnPage(const std::string& address) const {
    const std::string scheme = "file://";
    if (address.compare(0, scheme.size(), scheme) != 0) {
        return false;
    }
    // The path itself, whole: no query or fragment, blanks as they are on disk.
    std::string path = ReplaceAll(address.substr(scheme.size()), "%20", " ");
    path = path.substr(0, path.find_first_of("?#"));
    // "file:///C:/..." names a drive's path.
    if (path.size() > 2 && path[0] == '/' && path[2] == ':') {
        path.erase(0, 1);
    }
    const std::string& folder = parts_.workspace.workingFolder;
    // The help page is one of the program's own pages: the welcome page links to it.
    for (const std::string& own :
         {JoinPath(folder, kScreenPageFile), JoinPath(folder, kEditorPageFile),
          JoinPath(folder, kWelcomePageFile), JoinPath(folder, kControlsPageFile),
          JoinPath(folder, kPhoneViewPage), JoinPath(folder, kPhoneItemsPage),
          JoinPath(JoinPath(folder, "help"), "quillhelp.html")}) {
        if (PathsEqual(path, own)) {
            return true;
        }
    }
    return false;
}

bool CommandDispatcher::allows(const std::string& address) const {
    // The scripts of the page's own links.
    return StartsWithIgnoringCase(address, "javascript:") || isOwnPage(address);
}

bool CommandDispatcher::beforeNavigate(const std::string& url) {
    const std::string address = ReplaceAll(url, "%20", " ");
    bool cancel = !allows(address);
    const auto command = [&](const std::string& word, bool cancels) {
        if (!Contains(address, word)) {
            return false;
        }
        cancel = cancel || cancels;
        return true;
    };
    EditorState& editor = parts_.workspace.editor;

    if (command("resumelastsession", true)) {
        parts_.catalog.resumeLastPage();
    }
    if (command("externalpage.", true)) {
        parts_.shell.open("http://www." +
                          From(address, std::string(kMakerExternalPagePrefix).size()));
    }
    if (command("http://clipboardcache", true)) {
        AwaitLayout(editor, parts_.clipboard);
    }
    if (command(std::string(kHostingDomain) + "/siteoptions", true)) {
        siteOptions();
    }
    // The add menu's line for the library, added by the page's script: where the menu opened.
    if (command("http://addtriggeraddsection", true)) {
        const std::string place = From(address, std::string("http://addtriggeraddsection").size());
        const std::size_t tilde = place.find('~');
        parts_.sections.addSection(
            LeadingInt(MenuCorner(place.substr(0, tilde))),
            LeadingInt(
                MenuCorner(tilde == std::string::npos ? std::string() : place.substr(tilde + 1))));
    }
    if (command("addtrigger", true)) {
        const std::size_t slash = address.find('/', kAddArgumentAt);
        parts_.operations.addItem(slash == std::string::npos
                                      ? std::string()
                                      : address.substr(kAddArgumentAt, slash - kAddArgumentAt));
    }
    if (command("http://savepage", false)) {
        parts_.publisher.writePublishedPage();
    }
    if (command("http://save_as_page", false)) {
        parts_.workspace.flags.keepDesign = true;
        parts_.files.saveAsPage();
        parts_.publisher.writePublishedPage();
    }
    if (command("http://previewpage", false)) {
        parts_.publisher.writePublishedPage();
        parts_.files.previewPage();
    }
    if (command("http://uploadpage", false)) {
        hosting_->uploadPage();
    }
    if (command("http://deleteservpages", false)) {
        hosting_->deleteServerPages();
    }
    if (command("pagecontainer0", true)) {
        parts_.workspace.page.pageContainer.clear();
        parts_.workspace.page.pageWidth = "0";
        redraw();
    }
    if (command("pagecontainer1", true)) {
        setContainer("700");
    }
    if (command("pagecontainer2", true)) {
        setContainer("800");
    }
    if (command("pagecontainer3", true)) {
        setContainer("900");
    }
    if (command("gridchange1", true)) {
        setGrid("grid1.gif", "5", "10");
    }
    if (command("gridchange2", true)) {
        setGrid("grid2.gif", "10", "20");
    }
    if (command("gridchange3", true)) {
        setGrid("grid3.gif", "25", "50");
    }
    if (command("gridchange0", true)) {
        setGrid("", "0", "0");
    }
    if (command("http://edittext", false)) {
        textClicked(address);
    }
    if (command("http://editimage", false)) {
        pictureClicked(address);
    }
    if (command("http://backgroundimage", true)) {
        parts_.operations.backgroundPicture(From(address, kBackgroundArgumentAt));
    }
    if (command("http://backgroundcolor", false)) {
        parts_.operations.backgroundColour(From(address, kBackgroundArgumentAt));
    }
    if (command("http://changepagelength", false)) {
        parts_.operations.pageLength();
    }
    // Right after a page was deleted, Undo brings that page back.
    if (command("http://undo", true) && !parts_.pages.undoDeletion()) {
        parts_.steps.undo();
    }
    if (command("http://redo", true)) {
        parts_.steps.redo();
    }
    // The keyboard of the editor page: Delete on the selected item; and a finished drag or
    // arrow move, whose layout the page hands over so that it is a step of its own.
    // The text after a command's word: its argument.
    const auto argumentOf = [&address](const std::string& word) {
        return From(address, word.size());
    };
    if (command("http://keydelete", true)) {
        const std::string name = argumentOf("http://keydelete");
        const std::vector<std::string> names = ItemNames(name);
        if (deletionAgreed(names)) {
            if (names.size() > 1) {
                parts_.items.remove(name);
            } else if (StartsWith(name, kTextIdPrefix)) {
                parts_.operations.deleteText(name);
            } else {
                parts_.operations.deletePicture(ItemNameIn(name));
            }
        }
    }
    // The selected items of the editor page, named one after another.
    if (command("http://duplicate", true)) {
        parts_.items.duplicate(argumentOf("http://duplicate"));
    }
    if (command("http://copyitems", true)) {
        parts_.items.copy(argumentOf("http://copyitems"));
    }
    if (command("http://cutitems", true)) {
        parts_.items.cut(argumentOf("http://cutitems"));
    }
    if (command("http://pasteitems", true)) {
        parts_.items.paste();
    }
    if (command("http://savesection", true)) {
        parts_.sections.saveSection(argumentOf("http://savesection"));
    }
    if (command("http://itemmoved", true)) {
        parts_.steps.dragEnded();
    }
    // The phone view's choices; the browser ends an address without a path with "/".
    const auto phoneArgument = [&](const std::string& word) {
        std::string argument = argumentOf(word);
        if (!argument.empty() && argument.back() == '/') {
            argument.pop_back();
        }
        return argument;
    };
    if (command("http://phonemove?", true)) {
        parts_.phoneView.move(phoneArgument("http://phonemove?"));
    }
    if (command("http://phonechoice?", true)) {
        parts_.phoneView.choose(phoneArgument("http://phonechoice?"));
    }
    if (command("http://phonespacing?", true)) {
        parts_.phoneView.space(phoneArgument("http://phonespacing?"));
    }
    // The window's keys pressed while the editor page has the keyboard.
    if (command("http://keynewpage", true)) {
        parts_.files.newPage();
    }
    if (command("http://keyhelp", true)) {
        parts_.files.showHelp();
    }
    if (!Contains(address, "http://clipboardcache")) {
        ReleaseLayout(editor, parts_.clipboard);
    }
    return cancel;
}

void CommandDispatcher::redraw() {
    parts_.writer.writeRedraw(parts_.workspace.page, parts_.workspace.editor);
}

void CommandDispatcher::setContainer(const std::string& width) {
    PageRecord& page = parts_.workspace.page;
    page.pageWidth = width;
    page.pageContainer = PageContainerMarkup(width, page.pageLength);
    redraw();
}

void CommandDispatcher::setGrid(const char* picture, const char* start, const char* setting) {
    EditorState& editor = parts_.workspace.editor;
    editor.gridPicture = picture;
    editor.gridStart = start;
    editor.gridSetting = setting;
    redraw();
}

void CommandDispatcher::centre(const std::string& id) {
    parts_.workspace.editor.centringRequest = CentringRequest(id);
    redraw();
}

void CommandDispatcher::textClicked(const std::string& address) {
    const std::string argument = From(address, kTextArgumentAt);
    const std::optional<std::string> choice = parts_.prompts.clickOption();
    if (!choice || aligned(*choice, address) || shared(*choice, ItemNameIn(argument), address)) {
        return;
    }
    if (*choice == "EDIT") {
        parts_.operations.editText(argument);
    }
    if (*choice == "DELETE" && deletionAgreed({ItemNameIn(argument)})) {
        parts_.operations.deleteText(argument);
    }
    if (*choice == "CENTER") {
        centre(ItemNameIn(argument));
    }
}

void CommandDispatcher::pictureClicked(const std::string& address) {
    const std::string name = ItemNameIn(From(address, kPictureArgumentAt));
    const std::optional<std::string> choice = parts_.prompts.clickOption();
    if (!choice || aligned(*choice, address) || shared(*choice, name, address)) {
        return;
    }
    if (*choice == "CENTER") {
        centre(name);
    }
    if (*choice == "EDIT") {
        parts_.operations.editPicture(name);
    }
    if (*choice == "DELETE" && deletionAgreed({name})) {
        parts_.operations.deletePicture(name);
    }
}

bool CommandDispatcher::deletionAgreed(const std::vector<std::string>& names) {
    if (std::none_of(names.begin(), names.end(),
                     [](const std::string& name) { return IsSiteItemId(name); })) {
        return true;
    }
    return parts_.prompts.messageBox(
               "Shared items stand on every page of the site folder: deleted here, they leave "
               "every page when this page is saved. Delete them?",
               "DELETE SHARED ITEMS", MessageButtons::YesNo,
               MessageIcon::Warning) == MessageAnswer::Yes;
}

bool CommandDispatcher::shared(const std::string& choice, const std::string& name,
                               const std::string& address) {
    if (choice != "SITEWIDE" && choice != "PAGEONLY") {
        return false;
    }
    // The item clicked, with the others selected with it.
    const std::size_t bar = address.find('|');
    parts_.items.share(bar == std::string::npos ? name : address.substr(bar + 1),
                       choice == "SITEWIDE");
    return true;
}

bool CommandDispatcher::aligned(const std::string& choice, const std::string& address) {
    static const std::pair<const char*, const char*> kAlignments[] = {
        {"ALIGNLEFT", "left"},         {"ALIGNCENTRE", "centre"},  {"ALIGNRIGHT", "right"},
        {"ALIGNTOP", "top"},           {"ALIGNMIDDLE", "middle"},  {"ALIGNBOTTOM", "bottom"},
        {"DISTRIBUTEH", "horizontal"}, {"DISTRIBUTEV", "vertical"}};
    for (const auto& [word, how] : kAlignments) {
        if (choice == word) {
            const std::size_t bar = address.find('|');
            parts_.items.align(how,
                               bar == std::string::npos ? std::string() : address.substr(bar + 1));
            return true;
        }
    }
    return false;
}

void CommandDispatcher::siteOptions() {
    if (parts_.workspace.hosting.folderName == kNoHostingFolder) {
        if (hosting_->acceptHostingAgreement()) {
            hosting_->siteOptions();
        }
        return;
    }
    hosting_->siteOptions();
}
