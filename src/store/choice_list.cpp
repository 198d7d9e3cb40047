#include "store/choice_list.h"

#include <algorithm>
#include <cctype>

namespace {

bool StartsWithIgnoringCase(const std::string& entry, const std::string& start) {
    return entry.size() >= start.size() &&
           std::equal(start.begin(), start.end(), entry.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// Alphabetical as the user reads it: case decides only between otherwise equal names.
bool ComesBefore(const std::string& a, const std::string& b) {
    const bool before =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) <
                   std::tolower(static_cast<unsigned char>(y));
        });
    const bool after =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) <
                   std::tolower(static_cast<unsigned char>(y));
        });
    return before || (!after && a < b);
}

}  // namespace

void ChoiceList::clear() {
    entries_.clear();
    selected_.reset();
}

std::size_t ChoiceList::add(const std::string& entry) {
    auto at = entries_.end();
    if (order_ == Order::Sorted) {
        at = std::upper_bound(entries_.begin(), entries_.end(), entry, ComesBefore);
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
