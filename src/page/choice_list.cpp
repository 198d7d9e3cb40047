#include "page/choice_list.h"

#include <algorithm>

#include "common/text_case.h"

void ChoiceList::clear() {
    entries_.clear();
    selected_.reset();
}

std::size_t ChoiceList::add(const std::string& entry) {
    auto at = entries_.end();
    if (order_ == Order::Sorted) {
        at = std::upper_bound(
            entries_.begin(), entries_.end(), entry,
            [](const std::string& a, const std::string& b) { return AlphabeticallyBefore(a, b); });
    }
    const auto index = static_cast<std::size_t>(at - entries_.begin());
    entries_.insert(at, entry);
    if (selected_ && *selected_ >= index) {
        ++*selected_;
    }
    return index;
}

bool ChoiceList::selectStartingWith(const std::string& text) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& e) {
        return StartsWithIgnoringCase(e, text);
    });
    if (found == entries_.end()) {
        selected_.reset();
        return false;
    }
    selected_ = static_cast<std::size_t>(found - entries_.begin());
    return true;
}

void ChoiceList::select(std::size_t index) {
    if (index < entries_.size()) {
        selected_ = index;
    }
}

std::string ChoiceList::selectedText() const {
    return selected_ ? entries_[*selected_] : std::string();
}
