#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// One item as Copy took it from its page: its layout record and its list entries, each still
// under the item's own name.
struct ClippedItem {
    std::string name;
    bool picture = false;
    // The styles-data record (a picture's with its "^" sizes).
    std::string record;
    // The text-list or picture-list entry.
    std::string entry;
    std::string richText;
    // The text-properties record; empty when the section has none.
    std::string properties;
    std::string link;
    std::optional<std::string> description;
    // How phones show it.
    std::map<std::string, std::string> phone;
    // A section's words in the site's other languages, by language.
    std::map<std::string, std::string> translations;
};

// The items last copied or cut, kept while the program runs so that they can be pasted into
// any page of the working folder.
struct ItemClipboard {
    std::vector<ClippedItem> items;
    // The page they came from ("folder|file").
    std::string sourcePage;
    bool cut = false;
    // The page pasted onto last, and how often in a row.
    std::string pastedOnto;
    int pastes = 0;
};
