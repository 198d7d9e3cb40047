#include "designer/editing/element_operations.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <utility>

#include "common/fields.h"
#include "common/html_colour.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/editor_page/layout_handover.h"
#include "files/background_picture.h"
#include "files/picture_size.h"
#include "page/item_ids.h"
#include "page/page_names.h"
#include "page/site_languages.h"
#include "page/site_menu.h"
#include "page/workspace.h"
#include "platform/prompts.h"
#include "textedit/text_editor_window.h"

namespace fs = std::filesystem;

namespace {

// The language of the words being written: the one edited in, else the site's main one.
const std::string& WrittenLanguage(const EditorState& editor) {
    return editor.editingLanguage.empty() ? editor.mainLanguage : editor.editingLanguage;
}

// A background command's target, compared whole: "page/" or "body/" (the trailing "/" the
// browser adds may be missing).
bool IsTarget(const std::string& target, const std::string& name) {
    return target == name + "/" || target == name;
}

constexpr int kHighestPictureNumber = 1000;
// Draws before the first free number is taken instead: a page may hold every number.
constexpr int kDrawsBeforeScanning = 64;

std::optional<std::size_t> LastContaining(const std::vector<std::string>& list,
                                          const std::string& part) {
    for (std::size_t i = list.size(); i-- > 0;) {
        if (Contains(list[i], part)) {
            return i;
        }
    }
    return std::nullopt;
}

// The alignment marker of a section's text-properties record.
const char* Marker(const TextEditorState& state) {
    if (state.justify) {
        return kJustified;
    }
    if (state.rightAlign) {
        return kRightAligned;
    }
    return state.centerAlign ? kCentred : kLeftAligned;
}

std::string PropertiesRecord(const std::string& id, const TextEditorState& state) {
    return id + "^" + state.backgroundColor + "^" + state.backgroundImage + "^" +
           state.borderColor + "^" + state.borderWidth + "^" + Marker(state);
}

// The text-align value of an edited section's style.
std::string AlignmentWord(const TextEditorState& state) {
    if (state.justify) {
        return "justify";
    }
    if (state.rightAlign) {
        return "right";
    }
    return state.centerAlign ? "center" : "left";
}

// The alignment style of a new section's box: the last switch that is set wins.
std::string AlignmentStyle(const TextEditorState& state) {
    std::string style;
    if (state.justify) {
        style = ";text-align:justify";
    }
    if (state.rightAlign) {
        style = ";text-align:right";
    }
    if (state.centerAlign) {
        style = ";text-align:center";
    }
    return style;
}

// The style change the editor page applies to the section when it loads.
void SetStyleRequest(StyleRequest& request, const std::string& id, const TextEditorState& state) {
    request.border = state.borderColor + " " + state.borderWidth + "  solid";
    request.backgroundColour = state.backgroundColor;
    request.backgroundPicture = state.backgroundImage;
    request.onload = " onload=Javascript:styleChange('" + id + "') ";
}

}  // namespace

std::string MenuCorner(const std::string& reported) {
    constexpr int kMenuWidth = 37;
    if (reported.empty() || reported.find_first_not_of("-0123456789") != std::string::npos) {
        return reported;
    }
    return std::to_string(std::max(0, LeadingInt(reported) - kMenuWidth));
}

ElementOperations::RandomNumber ClockSeededNumbers() {
    auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return
        [engine] { return std::uniform_int_distribution<int>(0, kHighestPictureNumber)(*engine); };
}

bool RemoveText(PageRecord& page, const std::string& id) {
    bool removed = false;
    for (std::string& text : page.texts) {
        if (!id.empty() && Contains(text, id)) {
            text = kRemovedItem;
            removed = true;
        }
    }
    return removed;
}

bool RemovePicture(PageRecord& page, const std::string& name) {
    page.links.resize(std::max(page.links.size(), page.pictures.size()));
    bool removed = false;
    for (std::size_t i = page.pictures.size(); i-- > 0;) {
        const std::string own = ItemNameIn(page.pictures[i]);
        if (!own.empty() && Contains(name, own)) {
            page.pictures.erase(page.pictures.begin() + static_cast<std::ptrdiff_t>(i));
            page.links.erase(page.links.begin() + static_cast<std::ptrdiff_t>(i));
            page.pictureDescriptions.erase(own);
            removed = true;
        }
    }
    return removed;
}

ElementOperations::ElementOperations(Workspace& workspace, EditorPageWriter& writer,
                                     Clipboard& clipboard, Prompts& prompts,
                                     PictureDecoder& decoder, TextEditorWindow& textEditor,
                                     RandomNumber random)
    : workspace_(workspace),
      writer_(writer),
      clipboard_(clipboard),
      prompts_(prompts),
      decoder_(decoder),
      textEditor_(textEditor),
      random_(random ? std::move(random) : ClockSeededNumbers()) {}

void ElementOperations::takeLayout() {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
}

void ElementOperations::redraw() {
    writer_.writeRedraw(workspace_.page, workspace_.editor);
}

void ElementOperations::addItem(const std::string& argument) {
    workspace_.editor.styleRequest.onload.clear();
    takeLayout();
    std::string place;
    const bool text = Contains(argument, "addtext");
    if (text) {
        place = argument.substr(7);
    } else if (Contains(argument, "addgraphic")) {
        place = argument.substr(10);
    } else {
        return;
    }
    const std::size_t tilde = place.find('~');
    const std::string left = MenuCorner(place.substr(0, tilde));
    const std::string top =
        MenuCorner(tilde == std::string::npos ? std::string() : place.substr(tilde + 1));
    if (text) {
        addText(left, top);
        return;
    }
    addPicture(left, top);
}

void ElementOperations::addText(const std::string& left, const std::string& top) {
    EditorState& editor = workspace_.editor;
    editor.newTextLeft = left;
    editor.newTextTop = top;
    editor.currentTextId = FreeTextId(workspace_.page);
    if (Contains(left, kNotNewText)) {
        return;
    }
    TextEditorState& state = textEditor_.state();
    state.cancelled = false;
    state.justify = false;
    state.spellLanguage = WrittenLanguage(editor);
    textEditor_.openForNew(editor.currentTextId, workspace_.workingFolder);
}

void ElementOperations::editText(const std::string& argument) {
    takeLayout();
    PageRecord& page = workspace_.page;
    const std::string id = ItemNameIn(argument);
    const std::optional<std::size_t> index = LastContaining(page.texts, id);
    // An id that matches no section has nothing to edit.
    if (id.empty() || !index) {
        return;
    }
    // The language switcher has no words of its own: it lists the site's languages.
    if (EntryAt(page.richTexts, *index) == kLanguageSwitcher) {
        return;
    }
    // A site menu is edited in its own window, not as words.
    if (const std::optional<SiteMenu> menu = ReadSiteMenu(EntryAt(page.richTexts, *index))) {
        if (const std::optional<SiteMenu> changed = prompts_.siteMenu(*menu, page.sitePages)) {
            page.richTexts[*index] = WriteSiteMenu(*changed);
            writer_.writeLoad(page, workspace_.editor);
        }
        return;
    }
    workspace_.editor.currentTextId = id;
    const std::optional<std::size_t> record = LastContaining(page.textProperties, id);
    const std::string properties = record ? page.textProperties[*record] : std::string();
    TextEditorState& state = textEditor_.state();
    state.justify = Contains(properties, kJustified);
    state.cancelled = false;
    state.spellLanguage = WrittenLanguage(workspace_.editor);
    // In another language the translation is edited, or, before there is one, the main words.
    const std::string& language = workspace_.editor.editingLanguage;
    const auto words = page.translations.find(language);
    if (!language.empty() && words != page.translations.end() && words->second.count(id) != 0) {
        textEditor_.openForTranslation(id, workspace_.workingFolder, words->second.at(id),
                                       properties);
        return;
    }
    textEditor_.openForEdit(id, workspace_.workingFolder, EntryAt(page.richTexts, *index),
                            properties);
}

void ElementOperations::deleteText(const std::string& argument) {
    takeLayout();
    PageRecord& page = workspace_.page;
    if (RemoveText(page, ItemNameIn(argument))) {
        writer_.writeLoad(page, workspace_.editor);
    }
}

void ElementOperations::textDone(int editMode) {
    if (editMode == TextEditorState::kExistingSection) {
        existingTextDone();
    } else {
        newTextDone();
    }
    workspace_.editor.styleRequest.reset();
}

void ElementOperations::existingTextDone() {
    const TextEditorState& state = textEditor_.state();
    if (state.cancelled) {
        return;
    }
    PageRecord& page = workspace_.page;
    EditorState& editor = workspace_.editor;
    const std::string id = ItemNameIn(editor.currentTextId);
    const std::optional<std::size_t> index = LastContaining(page.texts, id);
    if (id.empty() || !index) {
        return;
    }
    if (editor.editingLanguage.empty()) {
        page.texts[*index] = id + state.htmlText;
        page.richTexts.resize(std::max(page.richTexts.size(), page.texts.size()));
        page.richTexts[*index] = state.rtfText;
    } else {
        page.translations[editor.editingLanguage][id] = state.htmlText;
    }
    const std::string record = PropertiesRecord(id, state);
    bool replaced = false;
    for (std::string& properties : page.textProperties) {
        if (Contains(properties, id)) {
            properties = record;
            replaced = true;
        }
    }
    if (!replaced) {
        page.textProperties.push_back(record);
    }
    SetStyleRequest(editor.styleRequest, id, state);
    editor.styleRequest.textAlignment = AlignmentWord(state);
    editor.newTextLeft = kNotNewText;
    writer_.writeTextDone(page, editor, {state.htmlText, "", false});
}

void ElementOperations::newTextDone() {
    const TextEditorState& state = textEditor_.state();
    PageRecord& page = workspace_.page;
    EditorState& editor = workspace_.editor;
    // A section the user cancelled never reached the page; stored, it would be a section
    // nobody can see, edit or delete.
    if (editor.newTextLeft != kNotNewText && !state.cancelled) {
        const std::string& id = editor.currentTextId;
        SetStyleRequest(editor.styleRequest, id, state);
        if (Contains(editor.styleRequest.backgroundPicture, "/none/")) {
            editor.styleRequest.backgroundPicture.clear();
        }
        // The style change runs when the page loads; left to the last edit's alignment, it
        // would undo the new section's own.
        editor.styleRequest.textAlignment = AlignmentWord(state);
        page.richTexts.push_back(state.rtfText);
        page.textProperties.push_back(PropertiesRecord(id, state));
        page.texts.push_back(id + state.htmlText);
        editor.landings[id] = {editor.newTextLeft, editor.newTextTop, std::string()};
    }
    writer_.writeTextDone(page, editor, {state.htmlText, AlignmentStyle(state), state.cancelled});
}

std::string ElementOperations::newPictureName() {
    return FreePictureName(workspace_.page, random_);
}

std::string FreePictureName(const PageRecord& page, const std::function<int()>& draw) {
    const auto inUse = [&page](int number) {
        const std::string name = PictureName(number);
        return Contains(page.stylesData, name) ||
               std::any_of(page.pictures.begin(), page.pictures.end(),
                           [&name](const std::string& entry) { return ItemNameIn(entry) == name; });
    };
    for (int attempt = 0; attempt < kDrawsBeforeScanning; ++attempt) {
        const int number = draw() % (kHighestPictureNumber + 1);
        if (!inUse(number)) {
            return PictureName(number);
        }
    }
    int number = 0;
    while (inUse(number)) {
        ++number;
    }
    return PictureName(number);
}

PictureLanding LandPicture(const PictureSize& natural, const PageRecord& page, int left,
                           int visibleWidth) {
    // A camera's photo would land thousands of pixels wide: it comes to the container's width,
    // or on a full-screen page the width the user sees, keeping its shape; then it moves left
    // as far as it must to stay inside.
    const int container = LeadingInt(page.pageWidth);
    const int room = page.hasContainer() ? container : visibleWidth;
    if (room <= 0) {
        return {left, natural};
    }
    PictureSize size = natural;
    if (natural.width > room) {
        const long long height =
            (static_cast<long long>(natural.height) * room + natural.width / 2) / natural.width;
        size = {room, static_cast<int>(std::max(1LL, height))};
    }
    return {std::max(0, std::min(left, room - size.width)), size};
}

void ElementOperations::addPicture(const std::string& left, const std::string& top) {
    PageRecord& page = workspace_.page;
    const std::string name = newPictureName();
    ++page.elementCount;
    const std::optional<std::string> chosen = prompts_.openFileName({kPictureFilter, ""});
    if (!chosen) {
        return;
    }
    // Taken from where it lies: the site folder gets a copy under a web-safe name at save.
    const std::string path = *chosen;
    NewPicture picture{name, path, left, top, "", ""};
    if (path.size() > 1) {
        // A picture that does not decode would be an empty box nobody can grab: it is not added.
        const std::optional<PictureSize> size = LoadPictureSize(path, decoder_, prompts_);
        if (!size) {
            return;
        }
        const PictureLanding landed =
            LandPicture(*size, page, LeadingInt(left), workspace_.editor.visibleWidth);
        if (landed.left != LeadingInt(left)) {
            picture.left = std::to_string(landed.left);
        }
        picture.width = std::to_string(landed.size.width);
        picture.height = std::to_string(landed.size.height);
        page.pictures.push_back(name + path);
        page.links.emplace_back();
        workspace_.editor.landings["d" + name] = {picture.left, top,
                                                  "^" + picture.width + "^" + picture.height};
    }
    writer_.writeAddPicture(page, workspace_.editor, picture);
}

void ElementOperations::editPicture(const std::string& name) {
    workspace_.editor.styleRequest.onload.clear();
    takeLayout();
    PageRecord& page = workspace_.page;
    std::optional<std::size_t> index;
    ImageProperties current;
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        const std::string own = ItemNameIn(page.pictures[i]);
        if (!own.empty() && Contains(name, own)) {
            index = i;
            current.sourceFile = page.pictures[i].substr(own.size());
            const std::string link = i < page.links.size() ? page.links[i] : std::string();
            current.linkTarget = link.size() > 4 ? link : std::string();
            const auto description = page.pictureDescriptions.find(own);
            if (description != page.pictureDescriptions.end()) {
                current.description = description->second;
            }
        }
    }
    // A name that matches no picture has nothing to edit.
    if (!index) {
        return;
    }
    const std::optional<ImageProperties> changed = prompts_.imageProperties(current);
    if (!changed) {
        return;
    }
    page.pictures[*index] = name + changed->sourceFile;
    page.links.resize(std::max(page.links.size(), page.pictures.size()));
    page.links[*index] = changed->linkTarget.size() >= 5 ? changed->linkTarget : std::string();
    if (changed->description) {
        page.pictureDescriptions[name] = *changed->description;
    } else {
        page.pictureDescriptions.erase(name);
    }
    writer_.writePictureChange(page, workspace_.editor);
}

void ElementOperations::deletePicture(const std::string& name) {
    takeLayout();
    PageRecord& page = workspace_.page;
    if (RemovePicture(page, name)) {
        writer_.writePictureChange(page, workspace_.editor);
    }
}

void ElementOperations::backgroundPicture(const std::string& target) {
    takeLayout();
    Workspace& workspace = workspace_;
    const std::optional<std::string> chosen = ChooseBackgroundPicture(
        prompts_, workspace.workingFolder, workspace.flags.firstBackgroundBrowse);
    if (!chosen) {
        return;
    }
    if (IsTarget(target, "page")) {
        workspace.page.pageImage = *chosen;
    }
    if (IsTarget(target, "body")) {
        workspace.page.backImage = *chosen;
    }
    redraw();
}

void ElementOperations::backgroundColour(const std::string& target) {
    takeLayout();
    const std::optional<Rgb> chosen = prompts_.colour();
    if (!chosen) {
        return;
    }
    PageRecord& page = workspace_.page;
    const std::string colour = HtmlColour(chosen->red, chosen->green, chosen->blue);
    if (IsTarget(target, "page")) {
        page.pageColor = colour;
        page.pageImage.clear();
    }
    if (IsTarget(target, "body")) {
        page.backColor = colour;
        page.backImage.clear();
    }
    redraw();
}

void ElementOperations::pageLength() {
    takeLayout();
    PageRecord& page = workspace_.page;
    const std::optional<std::string> length = prompts_.pageLength(page.pageLength);
    // An empty length would leave the container without a height.
    if (!length || length->empty() || page.pageContainer.size() <= 1) {
        return;
    }
    page.pageLength = *length;
    page.pageContainer = PageContainerMarkup(page.pageWidth, page.pageLength);
    redraw();
}
