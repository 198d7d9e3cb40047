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
    return stepAcross(undo_, redo_, page);
}

bool PageHistory::redo(PageRecord& page) {
    return stepAcross(redo_, undo_, page);
}

bool PageHistory::stepAcross(std::deque<Step>& from, std::deque<Step>& to, PageRecord& page) {
    if (from.empty()) {
        return false;
    }
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back({step.label, page});
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
