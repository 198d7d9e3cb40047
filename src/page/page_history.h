#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "page/page_record.h"

// The steps of one page's design, for undo and redo: each step keeps the design as it was
// before it and says what it did ("move", "add picture"). The page's place (folder, file
// name, stored id) is not part of a step.
class PageHistory {
  public:
    static constexpr std::size_t kLimit = 200;

    // A change was made; the design before it is kept. The redo steps are dropped.
    void record(std::string label, const PageRecord& before);
    // The design before the last step takes the page's place; false when there is none.
    bool undo(PageRecord& page);
    bool redo(PageRecord& page);
    // Another page is opened.
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    const std::string& undoLabel() const;
    const std::string& redoLabel() const;
    std::size_t undoCount() const { return undo_.size(); }
    // Grows with every undo, redo and clearing: a caller can tell that one happened.
    unsigned long generation() const { return generation_; }

  private:
    struct Step {
        std::string label;
        PageRecord design;
    };

    // The last step of one list puts its design in place; the page as it was goes to the other.
    bool stepAcross(std::deque<Step>& from, std::deque<Step>& to, PageRecord& page);

    std::deque<Step> undo_;
    std::deque<Step> redo_;
    unsigned long generation_ = 0;
};
