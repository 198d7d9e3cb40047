#include "designer/editing/design_steps.h"

#include <algorithm>
#include <map>
#include <utility>

#include "common/fields.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/editor_page/layout_handover.h"
#include "page/workspace.h"
#include "site/markup/item_walk.h"

namespace {

// The label of a list that changed: an entry more, fewer, or one changed in place.
std::string ListChange(const std::vector<std::string>& before,
                       const std::vector<std::string>& after, const char* what,
                       const char* removedMarker = nullptr) {
    if (after.size() > before.size()) {
        return std::string("add ") + what;
    }
    if (after.size() < before.size()) {
        return std::string("delete ") + what;
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) {
            if (removedMarker != nullptr && after[i] == removedMarker) {
                return std::string("delete ") + what;
            }
            return std::string("edit ") + what;
        }
    }
    return std::string();
}

// Where each item of a layout stands and how big it is, by item. The editor page writes its
// layout in the browser's own notation, so texts that differ may still place everything alike.
struct Place {
    std::string corner;
    std::string size;
};
std::map<std::string, Place> Placement(const std::string& layout) {
    std::map<std::string, Place> places;
    for (const std::string& record : SplitFields(layout, "|")) {
        const std::size_t size = record.find('^');
        places[RecordId(record)] = {StyleNumber(record, "left") + " " + StyleNumber(record, "top"),
                                    StyleNumber(record, "width") + " " +
                                        StyleNumber(record, "height") +
                                        (size == std::string::npos ? "" : record.substr(size))};
    }
    return places;
}

// Whether an item is placed differently. An item the earlier layout lacks was added; one the
// later layout lacks was deleted (the layout handed over after a delete no longer shows it):
// both are steps of their own, not moves. Only when the editor page itself reports a finished
// drag does an item new to the record count, since it may be the new item that was dragged.
// The step's label: "move" when an item stands elsewhere, "resize" when items only changed
// size, empty when nothing did.
std::string LayoutChange(const std::string& before, const std::string& after,
                         bool newItemsCount = false) {
    if (before == after) {
        return std::string();
    }
    const std::map<std::string, Place> was = Placement(before);
    bool resized = false;
    for (const auto& [id, place] : Placement(after)) {
        const auto old = was.find(id);
        if (old == was.end() ? newItemsCount : old->second.corner != place.corner) {
            return "move";
        }
        resized = resized || (old != was.end() && old->second.size != place.size);
    }
    return resized ? "resize" : std::string();
}

// The layout with the records of items added since it was taken, at the places they were added
// to: a layout handed over later holds them where they are now, and the step before a move of
// one of them must show it where it was added. Items the layout holds leave the landings.
std::string WithLandings(std::string layout, const std::string& taken,
                         std::map<std::string, EditorState::Landing>& landings) {
    if (landings.empty()) {
        return layout;
    }
    const std::map<std::string, Place> known = Placement(layout);
    for (const std::string& record : SplitFields(taken, "|")) {
        const auto landing = landings.find(RecordId(record));
        if (landing == landings.end()) {
            continue;
        }
        if (known.count(landing->first) == 0) {
            const auto& [left, top, size] = landing->second;
            std::string added = WithStyleNumber(WithStyleNumber(record, "left", left), "top", top);
            // A picture landed at its own size: a resize before the next command is a step.
            if (!size.empty()) {
                added = added.substr(0, added.find('^')) + size;
            }
            layout += layout.empty() ? added : "|" + added;
        }
        landings.erase(landing);
    }
    return layout;
}

}  // namespace

std::string DescribeChange(const PageRecord& before, const PageRecord& after) {
    const std::pair<bool, const char*> properties[] = {
        {before.pageTitle != after.pageTitle, "title"},
        {before.backColor != after.backColor || before.backImage != after.backImage, "background"},
        {before.pageColor != after.pageColor || before.pageImage != after.pageImage,
         "page background"},
        {before.pageWidth != after.pageWidth, "container width"},
        {before.pageLength != after.pageLength, "page length"},
        {before.language != after.language || before.description != after.description,
         "page options"},
        {before.phoneChoices != after.phoneChoices, "phone layout"},
    };
    std::string label = ListChange(before.texts, after.texts, "text section", kRemovedItem);
    if (label.empty()) {
        label = ListChange(before.pictures, after.pictures, "picture");
    }
    if (label.empty() &&
        (before.links != after.links || before.pictureDescriptions != after.pictureDescriptions)) {
        label = "edit picture";
    }
    for (const auto& [changed, name] : properties) {
        if (label.empty() && changed) {
            label = name;
        }
    }
    if (!label.empty()) {
        return label;
    }
    const std::string placed = LayoutChange(before.stylesData, after.stylesData);
    if (!placed.empty()) {
        return placed;
    }
    if (before.pageContainer != after.pageContainer || before.richTexts != after.richTexts ||
        before.textProperties != after.textProperties) {
        return "edit";
    }
    return std::string();
}

DesignSteps::DesignSteps(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard)
    : workspace_(workspace), writer_(writer), clipboard_(clipboard) {}

void DesignSteps::perform(const std::function<void()>& action) {
    PageHistory& history = workspace_.history;
    // A change of the counter alone (a section begun in the text editor) belongs to the step
    // that finishes it.
    PageRecord before = pending_ ? *pending_ : workspace_.page;
    pending_.reset();
    const unsigned long generation = history.generation();
    workspace_.editor.takenLayout.reset();
    action();
    // Undone, redone, or another page opened: nothing to record.
    if (history.generation() != generation) {
        return;
    }
    const std::optional<std::string>& taken = workspace_.editor.takenLayout;
    const bool reported = dragReported_;
    dragReported_ = false;
    if (taken) {
        before.stylesData = WithLandings(before.stylesData, *taken, workspace_.editor.landings);
    }
    if (taken) {
        const std::string placed = LayoutChange(before.stylesData, *taken, reported);
        if (!placed.empty()) {
            history.record(placed, before);
        }
    }
    if (taken) {
        before.stylesData = *taken;
    }
    std::string label = DescribeChange(before, workspace_.page);
    if (!label.empty() && !workspace_.editor.stepLabel.empty()) {
        label = workspace_.editor.stepLabel;
    }
    workspace_.editor.stepLabel.clear();
    if (!label.empty()) {
        history.record(label, before);
    } else if (before.elementCount != workspace_.page.elementCount) {
        pending_ = std::move(before);
    }
}

void DesignSteps::dragEnded() {
    dragReported_ = true;
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
}

void DesignSteps::takeMove() {
    PageRecord& page = workspace_.page;
    PageRecord before = page;
    if (!TakeLayoutFromClipboard(page, workspace_.editor, clipboard_)) {
        return;
    }
    before.stylesData =
        WithLandings(before.stylesData, page.stylesData, workspace_.editor.landings);
    const std::string placed = LayoutChange(before.stylesData, page.stylesData);
    if (!placed.empty()) {
        workspace_.history.record(placed, before);
    }
}

void DesignSteps::show() {
    workspace_.caption = workspace_.page.pageTitle;
    writer_.writeLoad(workspace_.page, workspace_.editor);
}

void DesignSteps::undo() {
    step([this] { return workspace_.history.undo(workspace_.page); });
}

void DesignSteps::redo() {
    step([this] { return workspace_.history.redo(workspace_.page); });
}

void DesignSteps::step(const std::function<bool()>& swap) {
    pending_.reset();
    takeMove();
    // The counter never goes down: a section still open in the text editor, or one made
    // later, must not take an id another item had.
    const int counted = workspace_.page.elementCount;
    if (swap()) {
        workspace_.page.elementCount = std::max(workspace_.page.elementCount, counted);
        show();
    }
}
