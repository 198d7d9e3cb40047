#include "page/phone_choices.h"

namespace {

bool AllDigits(const std::string& value, std::size_t most) {
    return !value.empty() && value.size() <= most &&
           value.find_first_not_of("0123456789") == std::string::npos;
}

bool Valid(const std::string& item, const std::string& name, const std::string& value) {
    if (name == kPhoneSpacing) {
        return item.empty() && AllDigits(value, 3) && std::stoi(value) <= kLargestPhoneSpacing;
    }
    if (item.empty()) {
        return false;
    }
    if (name == kPhoneOrder) {
        return AllDigits(value, 6) && std::stoi(value) > 0;
    }
    if (name == kPhoneHidden) {
        return value == "1";
    }
    if (name == kPhoneWidth) {
        return value == kPhoneFullWidth || value == kPhoneDesignedWidth;
    }
    if (name == kPhoneTextSize) {
        return value == "-1" || value == "0" || value == "1";
    }
    return false;
}

}  // namespace

void SetPhoneChoice(PhoneChoices& choices, const std::string& item, const std::string& name,
                    const std::string& value) {
    if (value.empty()) {
        const auto found = choices.find(item);
        if (found != choices.end()) {
            found->second.erase(name);
            if (found->second.empty()) {
                choices.erase(found);
            }
        }
    } else if (Valid(item, name, value)) {
        choices[item][name] = value;
    }
}

std::string PhoneChoiceOf(const PhoneChoices& choices, const std::string& item,
                          const std::string& name) {
    const auto found = choices.find(item);
    if (found == choices.end()) {
        return std::string();
    }
    const auto value = found->second.find(name);
    return value == found->second.end() ? std::string() : value->second;
}

std::vector<PhoneChoiceRow> PhoneChoiceRows(const PhoneChoices& choices) {
    std::vector<PhoneChoiceRow> rows;
    for (const auto& [item, named] : choices) {
        for (const auto& [name, value] : named) {
            rows.push_back({item, name, value});
        }
    }
    return rows;
}

void CopyPhoneChoices(PhoneChoices& choices, const std::string& from, const std::string& to) {
    const auto found = choices.find(from);
    if (found != choices.end() && from != to) {
        // A copy of the map first: inserting may move the entry being read.
        std::map<std::string, std::string> named = found->second;
        choices[to] = std::move(named);
    }
}
