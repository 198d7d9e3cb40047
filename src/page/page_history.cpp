#include "page/page_history.h"

#include <utility>

namespace {

const std::string kNothing;

// The design of the page, in the page's own place.
void TakeDesign(PageRecord& page, PageRecord design) {
    design.id = page.id;
    design.directory = page.directory;
    design.fileName = page.fileName;
    page = std::move(design);
}

}  // namespace

void PageHistory::record(std::string label, const PageRecord& before) {
    undo_.push_back({std::move(label), before});
    if (undo_.size() > kLimit) {
        undo_.pop_front();
    }
    redo_.clear();
}

bool PageHistory::undo(PageRecord& page) {
    if (undo_.empty()) {
        return false;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back({step.label, page});
    TakeDesign(page, std::move(step.design));
    ++generation_;
    return true;
}

bool PageHistory::redo(PageRecord& page) {
    if (redo_.empty()) {
        return false;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back({step.label, page});
    TakeDesign(page, std::move(step.design));
    ++generation_;
    return true;
}

void PageHistory::clear() {
    undo_.clear();
    redo_.clear();
    ++generation_;
}

const std::string& PageHistory::undoLabel() const {
    return undo_.empty() ? kNothing : undo_.back().label;
}

const std::string& PageHistory::redoLabel() const {
    return redo_.empty() ? kNothing : redo_.back().label;
}
