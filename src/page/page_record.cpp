#include "page/page_record.h"

#include "common/text_search.h"

std::string PageContainerMarkup(const std::string& width, const std::string& length) {
    return "<CENTER><div id='pagecontainer' style='position:relative;top:15px;width:" + width +
           "px;height:" + length + "px;border-width:1px;border-style:solid;border-color:#008000;";
}

void StyleRequest::reset() {
    onload.clear();
    border = " ";
    backgroundPicture = " ";
    backgroundColour = " ";
}

std::string_view RecordIdIn(std::string_view record) {
    if (record.size() <= kRecordStart.size()) {
        return {};
    }
    const std::size_t tilde = record.find('~', kRecordStart.size());
    if (tilde == std::string_view::npos) {
        return {};
    }
    return record.substr(kRecordStart.size(), tilde + 1 - kRecordStart.size());
}

std::string RecordId(const std::string& record) {
    return std::string(RecordIdIn(record));
}

std::string TextId(int elementCount) {
    return kTextIdPrefix + std::to_string(elementCount) + "~";
}

std::string PictureName(int number) {
    return kPictureNamePrefix + std::to_string(number) + "~";
}

std::string ItemNameIn(const std::string& text) {
    const std::size_t tilde = text.find('~');
    return tilde == std::string::npos ? std::string() : text.substr(0, tilde + 1);
}

namespace {

constexpr const char* kLanguage = "LANGUAGE";
constexpr const char* kDescription = "DESCRIPTION";
constexpr const char* kPictureDescription = "ALT ";
constexpr const char* kNoSiteItems = "NOSITEITEMS";

}  // namespace

std::vector<std::pair<std::string, std::string>> PageExtras(const PageRecord& page) {
    std::vector<std::pair<std::string, std::string>> extras;
    if (page.language) {
        extras.emplace_back(kLanguage, *page.language);
    }
    if (page.description) {
        extras.emplace_back(kDescription, *page.description);
    }
    for (const auto& [picture, description] : page.pictureDescriptions) {
        extras.emplace_back(kPictureDescription + picture, description);
    }
    if (page.noSiteItems) {
        extras.emplace_back(kNoSiteItems, "1");
    }
    return extras;
}

std::string TranslationOr(const PageRecord& page, const std::string& language,
                          const std::string& item, const std::string& otherwise) {
    const auto words = page.translations.find(language);
    if (words == page.translations.end()) {
        return otherwise;
    }
    const auto found = words->second.find(item);
    return found == words->second.end() || found->second.empty() ? otherwise : found->second;
}

void SetTranslation(PageRecord& page, const std::string& language, const std::string& item,
                    const std::string& words) {
    if (!words.empty()) {
        page.translations[language][item] = words;
        return;
    }
    const auto found = page.translations.find(language);
    if (found != page.translations.end()) {
        found->second.erase(item);
        if (found->second.empty()) {
            page.translations.erase(found);
        }
    }
}

void SetPageExtra(PageRecord& page, const std::string& name, const std::string& value) {
    if (name == kLanguage) {
        page.language = value;
    } else if (name == kDescription) {
        page.description = value;
    } else if (name == kNoSiteItems) {
        page.noSiteItems = value == "1";
    } else if (StartsWith(name, kPictureDescription)) {
        page.pictureDescriptions[name.substr(std::string(kPictureDescription).size())] = value;
    }
}

std::string ItemDivId(const std::string& name) {
    return StartsWith(name, kPictureNamePrefix) ? "d" + name : name;
}
