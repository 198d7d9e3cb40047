#pragma once

#include <optional>
#include <string>
#include <vector>

// The entries of one of the main window's lists with at most one selection. A sorted list keeps
// its entries in alphabetical order as they are added; the other keeps the order of adding.
class ChoiceList {
  public:
    enum class Order { Sorted, AsAdded };

    explicit ChoiceList(Order order) : order_(order) {}

    void clear();
    // The index the entry landed at.
    std::size_t add(const std::string& entry);
    const std::vector<std::string>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    // Selects the first entry that begins with the text, ignoring case; false (and no
    // selection) when none does.
    bool selectStartingWith(const std::string& text);
    void select(std::size_t index);
    std::optional<std::size_t> selectedIndex() const { return selected_; }
    // The selected entry's text; empty when nothing is selected.
    std::string selectedText() const;

  private:
    Order order_;
    std::vector<std::string> entries_;
    std::optional<std::size_t> selected_;
};
