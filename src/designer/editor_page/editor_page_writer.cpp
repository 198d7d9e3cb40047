#include "designer/editor_page/editor_page_writer.h"

#include <optional>
#include <set>
#include <utility>

#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "designer/editor_page/controls_page.h"
#include "designer/editor_page/editor_page_update.h"
#include "designer/editor_page/layout_handover.h"
#include "page/site_languages.h"
#include "page/working_files.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/prompts.h"
#include "site/language_versions.h"
#include "site/markup/item_walk.h"
#include "site/markup/page_head.h"
#include "site/markup/typed_markup.h"

namespace {

constexpr std::size_t kShortestDragList = 12;
constexpr const char* kScriptStart =
    "<script type='text/javascript'><!-- \nSET_DHTML(CURSOR_HAND,RESIZABLE";
constexpr const char* kScriptEnd = "//--></script>";
constexpr const char* kPageEnd = "</body></html>";
constexpr const char* kContainerEnd = "</div></CENTER>";
constexpr const char* kContainerDragEntry = "'pagecontainer'+NO_DRAG";

// The container is listed last so that the script keeps it from being dragged.
void AppendContainerEntry(const PageRecord& page, std::string& dragList) {
    if (page.hasContainer()) {
        dragList += std::string(",") + kContainerDragEntry;
    }
}

void DropTrailingComma(std::string& dragList) {
    if (!dragList.empty() && dragList.back() == ',') {
        dragList.pop_back();
    }
}

// The start script's registration call, without its script element.
std::string Registration(const std::string& script) {
    if (script.empty()) {
        return std::string();
    }
    const std::size_t call = script.find('\n') + 1;
    return script.substr(call, script.size() - call - std::string(kScriptEnd).size());
}

// A section that shows the main words for want of a translation, classed for the editor
// page's outline and titled, so the user sees what is left to translate. Nothing is added to
// its style: the page reports its items' styles as the layout.
std::string MarkedUntranslated(std::string record, const std::string& language) {
    if (record.compare(0, 5, "<div ") != 0) {
        return record;
    }
    record.insert(5, "class='quillora-untranslated' title='Not yet translated into " +
                         HtmlAttribute(OwnLanguageName(language), '\'') +
                         ": shows the main words' ");
    return record;
}

// The items as the editing language shows them: the same layout with that language's words,
// and the main words, marked, where there is no translation yet.
ItemWalkResult WalkShown(const PageRecord& page, const EditorState& editor,
                         ItemWalkOptions options) {
    if (editor.editingLanguage.empty()) {
        return WalkItems(page, options);
    }
    std::set<std::string> untranslated;
    const PageRecord translated = InLanguage(page, editor.editingLanguage, {}, untranslated);
    options.rewriteTextRecord = [&](const std::string& record) {
        return untranslated.count(std::string(RecordIdIn(record))) != 0
                   ? MarkedUntranslated(record, editor.editingLanguage)
                   : record;
    };
    return WalkItems(translated, options);
}

// Editor pages after an item change link and scale their pictures.
ItemWalkOptions ItemChangeOptions(bool pictureDivsInDragList, bool skipDeletedPictures) {
    ItemWalkOptions options;
    options.links = true;
    options.scalablePictures = true;
    options.pictureDivsInDragList = pictureDivsInDragList;
    options.skipDeletedPictures = skipDeletedPictures;
    return options;
}

std::string StartScript(const std::string& dragList) {
    if (dragList.size() <= kShortestDragList) {
        return std::string();
    }
    return kScriptStart + dragList + ");" + kScriptEnd;
}

}  // namespace

EditorPageWriter::EditorPageWriter(std::string workingFolder, ControlsPage& controls,
                                   Browser& browser, Clipboard& clipboard, Prompts& prompts)
    : workingFolder_(std::move(workingFolder)),
      controls_(controls),
      browser_(browser),
      clipboard_(clipboard),
      prompts_(prompts) {}

std::string EditorPageWriter::editorPagePath() const {
    return JoinPath(workingFolder_, kEditorPageFile);
}

std::string EditorPageWriter::screenPagePath() const {
    return JoinPath(workingFolder_, kScreenPageFile);
}

void EditorPageWriter::writeAndShow(const PageRecord& page, const EditorState& editor,
                                    const Body& body, ControlsPageToo controlsToo) {
    if (editor.phoneView && showPhoneView_) {
        shown_.clear();
        showPhoneView_(page);
        return;
    }
    std::optional<std::string> unwritten = controls_.writeScript(page, editor);
    // Two buffers, the page shown and the page written, for every redraw: a large page is not
    // allocated afresh on each change.
    text_.assign(PageHead(page, editor, fontStyle_ ? fontStyle_(page) : std::string()));
    const std::size_t itemsStart = text_.size();
    text_ += body.walk.markup;
    text_ += body.extra;
    if (page.hasContainer()) {
        text_ += kContainerEnd;
    }
    const std::size_t tailStart = text_.size();
    text_ += body.script;
    // A request for the page's script runs once the page and its items are there.
    if (!editor.layoutRequest.empty()) {
        text_ += "<script type='text/javascript'>window.addEventListener('load',function(){" +
                 editor.layoutRequest + "});</script>";
    }
    const std::size_t tailEnd = text_.size();
    text_ += kPageEnd;
    if (!unwritten && !WriteRemadeFile(editorPagePath(), text_)) {
        unwritten = editorPagePath();
    }
    if (!unwritten && controlsToo == ControlsPageToo::Yes) {
        unwritten = controls_.writePage();
    }
    if (unwritten) {
        shown_.clear();
        // Showing the files that are there would draw an older state of the page.
        prompts_.messageBox("The editor page could not be written to " + *unwritten +
                                ". The page shown stays as it is, and your change is kept in "
                                "the design.",
                            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    std::vector<std::size_t> itemEnds;
    itemEnds.reserve(body.walk.itemEnds.size() + 1);
    for (const std::size_t end : body.walk.itemEnds) {
        itemEnds.push_back(itemsStart + end);
    }
    if (!body.extra.empty()) {
        itemEnds.push_back(itemsStart + body.walk.markup.size() + body.extra.size());
    }
    show(page, editor, {itemsStart, std::move(itemEnds), tailStart, tailEnd},
         Registration(body.script));
}

void EditorPageWriter::show(const PageRecord& page, const EditorState& editor, EditorPageCuts cuts,
                            const std::string& registration) {
    const std::string pageFile = JoinPath(page.directory, page.fileName);
    const std::string controlsScript =
        ControlsPage::ScriptText(page, editor) + "\n" + controls_.labelScript();
    std::optional<std::string> update;
    if (!shown_.empty() && pageFile == shownFile_) {
        EditorPageUpdateRequest request;
        request.base = shownVersion_;
        request.version = shownVersion_ + 1;
        request.registration = registration;
        request.onLoad = editor.layoutRequest;
        if (controlsScript != shownControlsScript_) {
            request.controls = controlsScript;
        }
        std::optional<EditorPageParts> before = PartsOf(shown_, shownCuts_);
        const std::optional<EditorPageParts> after = PartsOf(text_, cuts);
        if (before && editor.layoutReports != shownLayoutReports_) {
            ForgetMovedItems(*before, shownStylesData_, editor.reportedLayout);
        }
        if (before && after) {
            update = EditorPageUpdate(*before, *after, request);
        }
    }
    ++shownVersion_;
    if (update) {
        browser_.updateEditorPage(screenPagePath(), *update);
    } else {
        browser_.navigate(screenPagePath());
    }
    std::swap(text_, shown_);
    shownCuts_ = std::move(cuts);
    shownFile_ = pageFile;
    shownControlsScript_ = controlsScript;
    shownStylesData_ = page.stylesData;
    shownLayoutReports_ = editor.layoutReports;
}

void EditorPageWriter::writeRedraw(PageRecord& page, EditorState& editor) {
    TakeLayoutFromClipboard(page, editor, clipboard_);
    ItemWalkResult walk = WalkShown(page, editor, {});
    if (walk.itemCount > 0) {
        walk.dragList.pop_back();
    }
    writeAndShow(page, editor, {walk, "", StartScript(walk.dragList)}, ControlsPageToo::No);
    editor.centringRequest.clear();
    editor.layoutRequest.clear();
}

void EditorPageWriter::writeLoad(const PageRecord& page, EditorState& editor) {
    ItemWalkResult walk = WalkShown(page, editor, {});
    std::string& list = walk.dragList;
    if (walk.itemCount > 0) {
        list.pop_back();
    }
    if (page.hasContainer()) {
        list += list.size() > 1 ? std::string(",") + kContainerDragEntry : kContainerDragEntry;
    }
    // A loaded page always gets the script, so that dragging works once items are added.
    const std::string script =
        kScriptStart + (list.size() > kShortestDragList ? list : "") + ");" + kScriptEnd;
    writeAndShow(page, editor, {walk, "", script}, ControlsPageToo::Yes);
    editor.centringRequest.clear();
    editor.layoutRequest.clear();
}

void EditorPageWriter::writePictureChange(const PageRecord& page, const EditorState& editor) {
    ItemWalkResult walk = WalkShown(page, editor, ItemChangeOptions(false, true));
    DropTrailingComma(walk.dragList);
    AppendContainerEntry(page, walk.dragList);
    writeAndShow(page, editor, {walk, "", StartScript(walk.dragList)}, ControlsPageToo::No);
}

void EditorPageWriter::writeAddPicture(const PageRecord& page, const EditorState& editor,
                                       const NewPicture& picture) {
    ItemWalkResult walk = WalkShown(page, editor, ItemChangeOptions(false, false));
    std::string extra;
    if (picture.path.size() > 1) {
        extra = "<div id='d" + picture.name + "' style='position:absolute;top:" + picture.top +
                "px;left:" + picture.left +
                "px;border-width:0px;background:transparent'><img name='" + picture.name +
                "' src=\"" + HtmlAttribute(picture.path, '"') + "\" width='" + picture.width +
                "' height='" + picture.height + "'></div>";
    }
    walk.dragList += "'" + picture.name + "'+SCALABLE";
    AppendContainerEntry(page, walk.dragList);
    writeAndShow(page, editor, {walk, extra, StartScript(walk.dragList)}, ControlsPageToo::Yes);
}

void EditorPageWriter::writeTextDone(const PageRecord& page, EditorState& editor,
                                     const FinishedText& text) {
    if (!text.cancelled) {
        ItemWalkResult walk = WalkShown(page, editor, ItemChangeOptions(true, true));
        std::string& list = walk.dragList;
        std::string extra;
        if (editor.newTextLeft != kNotNewText) {
            extra = "<div id='" + editor.currentTextId +
                    "' style='position:absolute;top:" + editor.newTextTop +
                    ";left:" + editor.newTextLeft +
                    ";border-width:1px;border-style:solid;border-color:#008000;padding:10px;"
                    "background-color:#ffffff;visibility:visible" +
                    text.alignmentStyle + "'>";
            AppendTypedMarkup(extra, text.html);
            extra += "</div>";
            if (page.hasContainer()) {
                list += std::string(kContainerDragEntry) + ",";
            }
            list += "'" + editor.currentTextId + "');";
        } else {
            DropTrailingComma(list);
            AppendContainerEntry(page, list);
            list += ");";
        }
        // This list carries its own closing ");".
        const std::string script =
            list.size() > kShortestDragList ? kScriptStart + list + kScriptEnd : "";
        writeAndShow(page, editor, {walk, extra, script}, ControlsPageToo::Yes);
    }
    editor.styleRequest.reset();
}
