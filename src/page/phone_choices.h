#pragma once

#include <map>
#include <string>
#include <vector>

// What the user chose for the page's phone column, by the id the item's div carries
// ("pagetextitem5~", "dpageimageitem3~"): each a name and its value as the store keeps them.
// The page's own choices stand under the empty id.
using PhoneChoices = std::map<std::string, std::map<std::string, std::string>>;

// The item's 1-based place in the column; items without one follow in reading order.
inline constexpr const char* kPhoneOrder = "ORDER";
// "1": left out on phones.
inline constexpr const char* kPhoneHidden = "HIDDEN";
// A picture's width: kPhoneFullWidth or kPhoneDesignedWidth (scaled down when wider).
inline constexpr const char* kPhoneWidth = "WIDTH";
inline constexpr const char* kPhoneFullWidth = "FULL";
inline constexpr const char* kPhoneDesignedWidth = "DESIGNED";
// A section's size step: "-1", "0" or "1".
inline constexpr const char* kPhoneTextSize = "TEXTSIZE";
// The page's space between items in pixels (under the empty id).
inline constexpr const char* kPhoneSpacing = "SPACING";
inline constexpr int kLargestPhoneSpacing = 200;

struct PhoneChoiceRow {
    std::string item;
    std::string name;
    std::string value;
};

// Sets a choice; an empty value takes it back. A name or value the column does not know is
// left out, so a store or recovery file written by anything else cannot reach the page.
void SetPhoneChoice(PhoneChoices& choices, const std::string& item, const std::string& name,
                    const std::string& value);
// The choice's value, empty when none was made.
std::string PhoneChoiceOf(const PhoneChoices& choices, const std::string& item,
                          const std::string& name);
// Every choice, one row each, in a fixed order (the store's rows and the recovery file).
std::vector<PhoneChoiceRow> PhoneChoiceRows(const PhoneChoices& choices);
// The choices of one item given to another (a copy, or an item renamed).
void CopyPhoneChoices(PhoneChoices& choices, const std::string& from, const std::string& to);
