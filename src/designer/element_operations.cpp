#include "designer/element_operations.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "common/html_colour.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "designer/editor_page_writer.h"
#include "designer/layout_handover.h"
#include "designer/page_names.h"
#include "files/file_operation.h"
#include "files/picture_size.h"
#include "page/workspace.h"
#include "platform/prompts.h"

namespace fs = std::filesystem;

namespace {

constexpr int kHighestPictureNumber = 1000;
// Draws before the first free number is taken instead: a page may hold every number.
constexpr int kDrawsBeforeScanning = 64;
constexpr const char* kProblemCharactersText =
    "The filename has problem characters\nClick OK to rename file or Cancel to stop image add.";

ElementOperations::RandomNumber SeededByTheClock() {
    auto engine = std::make_shared<std::mt19937>(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return
        [engine] { return std::uniform_int_distribution<int>(0, kHighestPictureNumber)(*engine); };
}

// The entry's own picture name: up to and including its first "~".
std::string OwnName(const std::string& entry) {
    const std::size_t tilde = entry.find('~');
    return tilde == std::string::npos ? std::string() : entry.substr(0, tilde + 1);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A copy of the picture under another name, replacing what is there; never onto itself.
bool CopyPicture(const std::string& from, const std::string& to) {
    std::error_code error;
    if (from == to || fs::equivalent(from, to, error)) {
        return false;
    }
    error.clear();
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace

std::string WithLowerCaseExtensions(std::string path) {
    for (const char* extension : {".jpg", ".gif", ".bmp", ".png"}) {
        const std::string wanted = extension;
        for (std::size_t at = 0; at + wanted.size() <= path.size(); ++at) {
            if (EqualIgnoringCase(std::string_view(path).substr(at, wanted.size()), wanted)) {
                path.replace(at, wanted.size(), wanted);
            }
        }
    }
    return path;
}

ElementOperations::ElementOperations(Workspace& workspace, EditorPageWriter& writer,
                                     Clipboard& clipboard, Prompts& prompts,
                                     PictureDecoder& decoder, RandomNumber random)
    : workspace_(workspace),
      writer_(writer),
      clipboard_(clipboard),
      prompts_(prompts),
      decoder_(decoder),
      random_(random ? std::move(random) : SeededByTheClock()),
      interim_(workspace, clipboard, prompts) {}

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
    const std::string left = place.substr(0, tilde);
    const std::string top = tilde == std::string::npos ? std::string() : place.substr(tilde + 1);
    if (text) {
        interim_.addText();
        return;
    }
    addPicture(left, top);
}

std::string ElementOperations::newPictureName() {
    const PageRecord& page = workspace_.page;
    const auto inUse = [&page](int number) {
        const std::string name = PictureName(number);
        return Contains(page.stylesData, name) ||
               std::any_of(page.pictures.begin(), page.pictures.end(),
                           [&name](const std::string& entry) { return OwnName(entry) == name; });
    };
    for (int draw = 0; draw < kDrawsBeforeScanning; ++draw) {
        const int number = random_() % (kHighestPictureNumber + 1);
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

void ElementOperations::addPicture(const std::string& left, const std::string& top) {
    PageRecord& page = workspace_.page;
    const std::string name = newPictureName();
    ++page.elementCount;
    const std::optional<std::string> chosen = prompts_.openFileName({kPictureFilter, ""});
    if (!chosen) {
        return;
    }
    std::string path = *chosen;
    const std::string lowerCase = WithLowerCaseExtensions(path);
    if (CopyPicture(path, lowerCase)) {
        path = lowerCase;
    }
    if (HasProblemCharacters(FileNameOf(*chosen))) {
        if (prompts_.messageBox(kProblemCharactersText, "debug info", MessageButtons::OkCancel,
                                MessageIcon::None) != MessageAnswer::Ok) {
            return;
        }
        const std::string cleaned = CleanPageName(path);
        if (CopyPicture(path, cleaned)) {
            path = cleaned;
        }
    }
    NewPicture picture{name, path, left, top, "", ""};
    if (path.size() > 1) {
        // A picture that does not decode would be an empty box nobody can grab: it is not added.
        const std::optional<PictureSize> size = LoadPictureSize(path, decoder_, prompts_);
        if (!size) {
            return;
        }
        picture.width = std::to_string(size->width);
        picture.height = std::to_string(size->height);
        page.pictures.push_back(name + path);
        page.links.emplace_back();
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
        const std::string own = OwnName(page.pictures[i]);
        if (!own.empty() && Contains(name, own)) {
            index = i;
            current.sourceFile = page.pictures[i].substr(own.size());
            const std::string link = i < page.links.size() ? page.links[i] : std::string();
            current.linkTarget = link.size() > 4 ? link : std::string();
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
    writer_.writePictureChange(page, workspace_.editor);
}

void ElementOperations::deletePicture(const std::string& name) {
    takeLayout();
    PageRecord& page = workspace_.page;
    page.links.resize(std::max(page.links.size(), page.pictures.size()));
    bool removed = false;
    for (std::size_t i = page.pictures.size(); i-- > 0;) {
        const std::string own = OwnName(page.pictures[i]);
        if (!own.empty() && Contains(name, own)) {
            page.pictures.erase(page.pictures.begin() + static_cast<std::ptrdiff_t>(i));
            page.links.erase(page.links.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        }
    }
    if (removed) {
        writer_.writePictureChange(page, workspace_.editor);
    }
}

void ElementOperations::backgroundPicture(const std::string& target) {
    takeLayout();
    Workspace& workspace = workspace_;
    const std::string backgrounds = JoinPath(workspace.workingFolder, "backgrounds");
    std::string start;
    if (workspace.flags.firstBackgroundBrowse) {
        start = JoinPath(backgrounds, "*.*");
        workspace.flags.firstBackgroundBrowse = false;
    }
    const std::optional<std::string> chosen = prompts_.openFileName({kPictureFilter, start});
    if (!chosen || chosen->size() <= 4) {
        return;
    }
    FileOperation files(prompts_);
    files.setOverwrite(true);
    files.Copy(*chosen, backgrounds);
    if (Contains(target, "page/")) {
        workspace.page.pageImage = FileNameOf(*chosen);
    }
    if (Contains(target, "body/")) {
        workspace.page.backImage = FileNameOf(*chosen);
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
    if (Contains(target, "page/")) {
        page.pageColor = colour;
        page.pageImage.clear();
    }
    if (Contains(target, "body/")) {
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

void ElementOperations::editText(const std::string&) {
    interim_.editText();
}

void ElementOperations::deleteText(const std::string&) {
    interim_.deleteText();
}

bool ElementOperations::acceptHostingAgreement() {
    return interim_.acceptHostingAgreement();
}

void ElementOperations::siteOptions() {
    interim_.siteOptions();
}

void ElementOperations::uploadPage() {
    interim_.uploadPage();
}

void ElementOperations::deleteServerPages() {
    interim_.deleteServerPages();
}
