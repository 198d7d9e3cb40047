#include "site/imported_design.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "common/fields.h"
#include "common/hex_text.h"
#include "common/html_colour.h"
#include "common/text_case.h"
#include "common/text_search.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/site_languages.h"
#include "site/markup/typed_markup.h"

namespace {

constexpr const char* kBackgroundsFolder = "backgrounds/";
constexpr std::size_t kLongestNumber = 6;
constexpr std::size_t kLongestColourName = 20;

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= kLongestNumber &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

bool AllLetters(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

// The value of hexadecimal digits already checked to be such.
int HexValue(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 16 + HexDigitValue(c);
    }
    return value;
}

// "#RRGGBB" (or "#RGB") in the program's form, a colour's name as it is; nothing for anything
// else.
std::optional<std::string> Colour(std::string_view text) {
    if (text.empty() || (AllLetters(text) && text.size() <= kLongestColourName)) {
        return std::string(text);
    }
    const std::string_view digits = text.substr(1);
    const bool hex = text[0] == '#' && (digits.size() == 6 || digits.size() == 3) &&
                     std::all_of(digits.begin(), digits.end(), [](char c) {
                         return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                     });
    if (!hex) {
        return std::nullopt;
    }
    if (digits.size() == 3) {
        const auto twice = [&](std::size_t at) { return HexValue(digits.substr(at, 1)) * 17; };
        return HtmlColour(twice(0), twice(1), twice(2));
    }
    return HtmlColour(HexValue(digits.substr(0, 2)), HexValue(digits.substr(2, 2)),
                      HexValue(digits.substr(4, 2)));
}

// A background as the pages name it: empty, a plain name in the working folder's backgrounds,
// or that name under "backgrounds/".
bool PlainBackground(std::string_view name) {
    if (StartsWith(name, kBackgroundsFolder)) {
        name.remove_prefix(std::string_view(kBackgroundsFolder).size());
    }
    return name.empty() || name == " " || IsPlainFileName(name);
}

// An item id of the program's form: the prefix, "S" for a shared item, digits, "~".
bool ItemIdOfForm(std::string_view id, std::string_view prefix) {
    if (!StartsWith(id, prefix) || id.size() < prefix.size() + 2 || id.back() != '~') {
        return false;
    }
    std::string_view number = id.substr(prefix.size(), id.size() - prefix.size() - 1);
    if (!number.empty() && number[0] == 'S') {
        number.remove_prefix(1);
    }
    return AllDigits(number);
}

bool TextIdOfForm(std::string_view id) {
    return ItemIdOfForm(id, kTextIdPrefix);
}

bool PictureNameOfForm(std::string_view name) {
    return ItemIdOfForm(name, kPictureNamePrefix);
}

// A style value a layout record may hold: words, numbers, units, colours and a background of
// the working folder, nothing that could end the attribute or the element it stands in.
bool SafeStyleValue(std::string_view value) {
    const bool plainCharacters = std::all_of(value.begin(), value.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string_view(" #.,%()-_/\"!").find(c) != std::string_view::npos;
    });
    if (!plainCharacters) {
        return false;
    }
    for (std::size_t at = value.find("url("); at != std::string_view::npos;
         at = value.find("url(", at + 1)) {
        const std::size_t end = value.find(')', at);
        if (end == std::string_view::npos) {
            return false;
        }
        std::string_view address = value.substr(at + 4, end - at - 4);
        if (address.size() >= 2 && address.front() == '"' && address.back() == '"') {
            address = address.substr(1, address.size() - 2);
        }
        if (!StartsWith(address, kBackgroundsFolder) || !PlainBackground(address)) {
            return false;
        }
    }
    return true;
}

// The style of a layout record: declarations of plain property names and safe values.
bool SafeStyle(std::string_view style) {
    for (const std::string& declaration : SplitFields(style, ";")) {
        const std::size_t colon = declaration.find(':');
        if (declaration.find_first_not_of(' ') == std::string::npos) {
            continue;
        }
        if (colon == std::string::npos) {
            return false;
        }
        std::string_view name(declaration.data(), colon);
        while (!name.empty() && name.front() == ' ') {
            name.remove_prefix(1);
        }
        const bool plainName = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '-';
        });
        if (!plainName || !SafeStyleValue(std::string_view(declaration).substr(colon + 1))) {
            return false;
        }
    }
    return true;
}

// A layout record written again from its parts: "<div id='ID' style='STYLE'>", and "^W^H"
// for a picture's box. Nothing when it is not of that form.
std::optional<std::string> RebuiltRecord(const std::string& record) {
    constexpr std::string_view kStart = "<div id='";
    constexpr std::string_view kStyle = "' style='";
    const std::string id = RecordId(record);
    const bool picture = StartsWith(id, "d") && PictureNameOfForm(id.substr(1));
    if (!StartsWith(record, kStart) || (!picture && !TextIdOfForm(id)) ||
        record.compare(kStart.size() + id.size(), kStyle.size(), kStyle) != 0) {
        return std::nullopt;
    }
    const std::size_t styleStart = kStart.size() + id.size() + kStyle.size();
    const std::size_t styleEnd = record.find("'>", styleStart);
    if (styleEnd == std::string::npos) {
        return std::nullopt;
    }
    const std::string style = record.substr(styleStart, styleEnd - styleStart);
    const std::string rest = record.substr(styleEnd + 2);
    if (!SafeStyle(style)) {
        return std::nullopt;
    }
    std::string rebuilt = std::string(kStart) + id + std::string(kStyle) + style + "'>";
    if (rest.empty()) {
        return rebuilt;
    }
    const std::vector<std::string> size = SplitFields(rest.substr(1), "^");
    if (!picture || rest[0] != '^' || size.size() != 2 || !AllDigits(size[0]) ||
        !AllDigits(size[1])) {
        return std::nullopt;
    }
    return rebuilt + "^" + size[0] + "^" + size[1];
}

// An address a page may link to: relative, or of a scheme that only navigates.
bool SafeLink(std::string_view link) {
    const bool plainCharacters = std::none_of(link.begin(), link.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '<' || c == '>' || c == '"' ||
               c == '\'' || c == '\\';
    });
    const std::size_t colon = link.find(':');
    const std::size_t slash = link.find_first_of("/?#");
    if (!plainCharacters) {
        return false;
    }
    if (colon == std::string_view::npos || (slash != std::string_view::npos && slash < colon)) {
        return true;
    }
    const std::string scheme = LowerCase(std::string(link.substr(0, colon)));
    return scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "ftp" ||
           scheme == "tel";
}

std::string Quoted(std::string_view what, std::string_view value) {
    constexpr std::size_t kShown = 60;
    return std::string(what) + " \"" + std::string(value.substr(0, kShown)) +
           (value.size() > kShown ? "..." : "") + "\"";
}

std::optional<std::string> RebuildSections(PageRecord& page) {
    for (std::string& entry : page.texts) {
        if (entry == kRemovedItem) {
            continue;
        }
        const std::size_t tilde = entry.find('~');
        if (tilde == std::string::npos || !TextIdOfForm(entry.substr(0, tilde + 1))) {
            return Quoted("the section", entry);
        }
        std::string words = entry.substr(0, tilde + 1);
        AppendTypedMarkup(words, std::string_view(entry).substr(tilde + 1));
        entry = words;
    }
    for (std::string& properties : page.textProperties) {
        std::vector<std::string> fields = SplitFields(properties, "^");
        if (properties == kRemovedItem) {
            continue;
        }
        if (fields.size() < 5 || !TextIdOfForm(fields[0]) || !PlainBackground(fields[2]) ||
            !SafeStyleValue(fields[4]) || !AllLetters(fields.size() > 5 ? fields[5] : "")) {
            return Quoted("the section's properties", properties);
        }
        for (const std::size_t colour : {std::size_t{1}, std::size_t{3}}) {
            const std::optional<std::string> rebuilt = Colour(fields[colour]);
            if (!rebuilt) {
                return Quoted("the colour", fields[colour]);
            }
            fields[colour] = *rebuilt;
        }
        properties = JoinFields(fields, "^");
    }
    return std::nullopt;
}

// Each translation: of a language the site may have, to its title, description or a section
// of its form, its words through the same allow-list as the sections'.
std::optional<std::string> RebuildTranslations(PageRecord& page) {
    for (auto& [language, items] : page.translations) {
        if (!IsLanguageTag(language)) {
            return Quoted("the language", language);
        }
        for (auto& [item, words] : items) {
            const bool plain = item == kTranslatedTitle || item == kTranslatedDescription;
            if (!plain && !TextIdOfForm(item)) {
                return Quoted("the translated item", item);
            }
            if (!plain) {
                std::string rebuilt;
                AppendTypedMarkup(rebuilt, words);
                words = rebuilt;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> RebuildPictures(PageRecord& page) {
    for (const std::string& entry : page.pictures) {
        const std::size_t tilde = entry.find('~');
        if (entry != kDeletedPicture &&
            (tilde == std::string::npos || !PictureNameOfForm(entry.substr(0, tilde + 1)))) {
            return Quoted("the picture", entry);
        }
    }
    for (const std::string& link : page.links) {
        if (!SafeLink(link)) {
            return Quoted("the link", link);
        }
    }
    for (const auto& [name, description] : page.pictureDescriptions) {
        if (!PictureNameOfForm(name)) {
            return Quoted("the picture description of", name);
        }
    }
    return std::nullopt;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name.front() != '.' &&
           name.find_first_of("/\\") == std::string_view::npos &&
           std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::optional<std::string> RebuildDesign(PageRecord& page) {
    if (!AllDigits(page.pageWidth)) {
        return Quoted("the page width", page.pageWidth);
    }
    if (!AllDigits(page.pageLength)) {
        return Quoted("the page length", page.pageLength);
    }
    if (page.hasContainer()) {
        page.pageContainer = PageContainerMarkup(page.pageWidth, page.pageLength);
    } else {
        page.pageContainer.clear();
    }
    for (std::string* colour : {&page.backColor, &page.pageColor}) {
        const std::optional<std::string> rebuilt = Colour(*colour);
        if (!rebuilt) {
            return Quoted("the colour", *colour);
        }
        *colour = *rebuilt;
    }
    for (const std::string* background : {&page.backImage, &page.pageImage}) {
        if (!PlainBackground(*background)) {
            return Quoted("the background", *background);
        }
    }
    std::vector<std::string> records;
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        if (record.empty()) {
            continue;
        }
        const std::optional<std::string> rebuilt = RebuiltRecord(record);
        if (!rebuilt) {
            return Quoted("the layout record", record);
        }
        records.push_back(*rebuilt);
    }
    page.stylesData = JoinRecords(records);
    if (std::optional<std::string> refusal = RebuildSections(page)) {
        return refusal;
    }
    if (std::optional<std::string> refusal = RebuildPictures(page)) {
        return refusal;
    }
    if (std::optional<std::string> refusal = RebuildTranslations(page)) {
        return refusal;
    }
    KeepEachItemOnce(page);
    return std::nullopt;
}

std::optional<std::string> CheckSiteOptions(const SiteOptions& options) {
    const std::string& address = options.siteAddress;
    if (address.empty()) {
        return std::nullopt;
    }
    const bool web = StartsWith(address, "http://") || StartsWith(address, "https://");
    if (!web || !SafeLink(address) || address.find(' ') != std::string::npos) {
        return Quoted("the site address", address);
    }
    return std::nullopt;
}

namespace {

// The ids of the record's sections and pictures, in order.
std::vector<std::string> ItemNames(const PageRecord& record) {
    std::vector<std::string> names;
    for (const auto* list : {&record.texts, &record.pictures}) {
        for (const std::string& entry : *list) {
            const std::size_t tilde = entry.find('~');
            if (entry != kRemovedItem && entry != kDeletedPicture && tilde != std::string::npos) {
                names.push_back(entry.substr(0, tilde + 1));
            }
        }
    }
    return names;
}

}  // namespace

void DropMergedPageFormItems(PageRecord& page) {
    const std::vector<std::string> names = ItemNames(page);
    std::vector<std::string> merged;
    for (const std::string& id : page.siteItemsKnown) {
        if (!IsSiteItemId(id) && std::count(names.begin(), names.end(), id) == 1) {
            merged.push_back(id);
        }
    }
    RemoveSiteItems(page, merged);
}

void GiveSharedIds(PageRecord& shared) {
    const std::vector<std::string> names = ItemNames(shared);
    // Fresh shared ids count on past every one the record holds.
    int highest = shared.elementCount;
    for (const std::string& name : names) {
        const std::size_t s = name.find('S');
        if (IsSiteItemId(name) && s != std::string::npos) {
            highest = std::max(highest, std::atoi(name.c_str() + s + 1));
        }
    }
    shared.siteElementCount = highest;
    for (const std::string& name : names) {
        if (!IsSiteItemId(name)) {
            MakeSiteItem(shared, name);
        }
    }
    shared.elementCount = shared.siteElementCount;
    shared.siteElementCount = 0;
}
