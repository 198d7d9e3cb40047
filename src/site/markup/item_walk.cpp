#include "site/markup/item_walk.h"

#include <cctype>

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/character_references.h"
#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_search.h"
#include "page/site_languages.h"
#include "page/site_menu.h"
#include "site/markup/typed_markup.h"

namespace {

constexpr std::size_t kShortestStylesData = 6;
constexpr std::size_t kShortestLink = 4;

// A text item's start tag as the browser described it: its style may name a picture with an
// apostrophe or ampersand (url("Bob's paper.gif")), which must not end the attribute.
void AppendTextRecord(std::string& markup, const std::string& record) {
    constexpr std::string_view kStyleStart = "' style='";
    constexpr std::string_view kEnd = "'>";
    const std::size_t style = record.find(kStyleStart);
    if (style == std::string::npos || record.size() < style + kStyleStart.size() + kEnd.size() ||
        record.compare(record.size() - kEnd.size(), kEnd.size(), kEnd) != 0) {
        markup += record;
        return;
    }
    const std::size_t from = style + kStyleStart.size();
    const std::size_t to = record.size() - kEnd.size();
    if (record.find_first_of("'&", from) >= to) {
        markup += record;
        return;
    }
    markup.append(record, 0, from);
    markup += HtmlAttribute(std::string_view(record).substr(from, to - from), '\'');
    markup.append(record, to, std::string::npos);
}

// Which entries of a list contain each id, in list order: every id ends with its only "~", so
// an id in an entry ends at one of the entry's "~"; the text before each "~" is looked up once
// for every length an id has. The page is read in time proportional to its size, whatever the
// number of items, with the meaning of "the entry contains the id anywhere" kept exactly.
class EntryIndex {
  public:
    explicit EntryIndex(std::size_t ids) { matches_.reserve(ids); }
    void addId(std::string_view id) {
        matches_.emplace(id, std::vector<std::size_t>());
        lengths_.insert(id.size());
    }
    void index(const std::vector<std::string>& entries) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string_view entry = entries[i];
            for (std::size_t tilde = entry.find('~'); tilde != std::string_view::npos;
                 tilde = entry.find('~', tilde + 1)) {
                for (const std::size_t length : lengths_) {
                    if (length > tilde + 1) {
                        break;
                    }
                    const auto found = matches_.find(entry.substr(tilde + 1 - length, length));
                    if (found != matches_.end() &&
                        (found->second.empty() || found->second.back() != i)) {
                        found->second.push_back(i);
                    }
                }
            }
        }
        // An entry may hold two ids, and so come after a later entry in some id's list.
        for (auto& [id, entriesOfId] : matches_) {
            std::sort(entriesOfId.begin(), entriesOfId.end());
            entriesOfId.erase(std::unique(entriesOfId.begin(), entriesOfId.end()),
                              entriesOfId.end());
        }
    }
    const std::vector<std::size_t>& entriesWith(std::string_view id) const {
        static const std::vector<std::size_t> kNone;
        const auto found = matches_.find(id);
        return found == matches_.end() ? kNone : found->second;
    }

  private:
    std::unordered_map<std::string_view, std::vector<std::size_t>> matches_;
    std::set<std::size_t> lengths_;
};

// The one entry an id writes: the entry that starts with the id, else the first that holds
// it. A section's words hold its id in their own ids, so a copy that kept its original's words
// would otherwise be written under both ids; a page shows each id once.
template <typename Usable>
std::optional<std::size_t> EntryOf(const std::vector<std::string>& list,
                                   const std::vector<std::size_t>& holding, std::string_view id,
                                   Usable usable) {
    std::optional<std::size_t> first;
    for (const std::size_t index : holding) {
        if (!usable(list[index])) {
            continue;
        }
        if (StartsWith(list[index], id)) {
            return index;
        }
        if (!first) {
            first = index;
        }
    }
    return first;
}

void WriteTextItems(const PageRecord& page, const std::string& record, const std::string& id,
                    const EntryIndex& texts, const ItemWalkOptions& options,
                    ItemWalkResult& result) {
    if (const std::optional<std::size_t> found = EntryOf(page.texts, texts.entriesWith(id), id,
                                                         [](const std::string&) { return true; })) {
        const std::size_t index = *found;
        const std::string& entry = page.texts[index];
        ++result.itemCount;
        AppendTextRecord(result.markup,
                         options.rewriteTextRecord ? options.rewriteTextRecord(record) : record);
        // A site menu is made for the page it stands on, from the folder's pages.
        const std::optional<SiteMenu> menu =
            index < page.richTexts.size() ? ReadSiteMenu(page.richTexts[index]) : std::nullopt;
        if (menu) {
            result.markup += SiteMenuMarkup(*menu, page.fileName, page.sitePages);
        } else if (index < page.richTexts.size() && page.richTexts[index] == kLanguageSwitcher) {
            result.markup += options.languageSwitcher
                                 ? options.languageSwitcher()
                                 : std::string("<nav class='quillora-languages'>Languages</nav>");
        } else {
            AppendTypedMarkup(result.markup,
                              std::string_view(entry).substr(std::min(id.size(), entry.size())));
        }
        result.markup += "</div>";
        result.itemEnds.push_back(result.markup.size());
        result.dragList += "'" + id + "',";
    }
}

void WritePictures(const PageRecord& page, const std::string& record, const std::string& id,
                   const EntryIndex& pictures, const ItemWalkOptions& options,
                   ItemWalkResult& result) {
    const std::string name = id.substr(1);
    if (name.empty()) {
        return;
    }
    if (const std::optional<std::size_t> found =
            EntryOf(page.pictures, pictures.entriesWith(name), name, [&](const std::string& entry) {
                return !options.skipDeletedPictures ||
                       entry.find(kDeletedPicture) == std::string::npos;
            })) {
        const std::size_t i = *found;
        const std::string& entry = page.pictures[i];
        ++result.itemCount;
        const std::size_t nameEnd = entry.find('~') + 1;
        const std::string entryName = entry.substr(0, nameEnd);
        const WebPictureMarkup web =
            options.webPicture ? options.webPicture(entryName, entry.substr(nameEnd), record)
                               : WebPictureMarkup();
        const std::string path = !web.source.empty() ? web.source
                                 : options.pictureAddress
                                     ? options.pictureAddress(entry.substr(nameEnd))
                                     : entry.substr(nameEnd);
        const bool anchored =
            options.links && i < page.links.size() && page.links[i].size() > kShortestLink;
        std::string& markup = result.markup;
        markup += FieldAt(record, 0, "^");
        if (anchored) {
            markup += "<A HREF='" + HtmlAttribute(page.links[i], '\'') + "'>";
        }
        if (!web.sources.empty()) {
            markup += "<picture>" + web.sources;
        }
        markup += "<IMG name='" + entryName + "' SRC=\"" + HtmlAttribute(path, '"') +
                  "\" BORDER=0 width=" + FieldAt(record, 1, "^") +
                  " height=" + FieldAt(record, 2, "^");
        const auto description = page.pictureDescriptions.find(entryName);
        if (options.pictureDescriptions && description != page.pictureDescriptions.end()) {
            markup += " alt=\"" +
                      AsciiWithCharacterReferences(HtmlAttribute(description->second, '"')) + "\"";
        }
        markup += web.attributes + ">";
        if (!web.sources.empty()) {
            markup += "</picture>";
        }
        if (anchored) {
            markup += "</A>";
        }
        markup += "</div>";
        result.itemEnds.push_back(markup.size());
        result.dragList += "'" + entryName + (options.scalablePictures ? "'+SCALABLE," : "',");
        if (options.pictureDivsInDragList) {
            result.dragList += "'d" + entryName + "',";
        }
    }
}

}  // namespace

double StyleNumberValue(std::string_view style, std::string_view property) {
    std::size_t start = 0;
    std::size_t length = 0;
    double value = 0;
    if (StyleNumberSpan(style, property, start, length)) {
        std::from_chars(style.data() + start, style.data() + start + length, value);
    }
    return value;
}

bool StyleNumberSpan(std::string_view style, std::string_view property, std::size_t& start,
                     std::size_t& length) {
    // Declarations are read whatever their case: older versions wrote "LEFT: 20px".
    const auto sameLetters = [&](std::size_t at) {
        for (std::size_t i = 0; i < property.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(style[at + i])) != property[i]) {
                return false;
            }
        }
        return true;
    };
    const char initials[] = {
        property[0], static_cast<char>(std::toupper(static_cast<unsigned char>(property[0]))),
        '\0'};
    for (std::size_t at = style.find_first_of(initials);
         at != std::string_view::npos && at + property.size() <= style.size();
         at = style.find_first_of(initials, at + 1)) {
        // "left" but not "padding-left" or "border-left-width".
        if (!sameLetters(at) ||
            (at > 0 && style[at - 1] != ';' && style[at - 1] != ' ' && style[at - 1] != '\'')) {
            continue;
        }
        std::size_t value = at + property.size();
        while (value < style.size() && style[value] == ' ') {
            ++value;
        }
        if (value >= style.size() || style[value] != ':') {
            continue;
        }
        ++value;
        while (value < style.size() && style[value] == ' ') {
            ++value;
        }
        const std::size_t end = style.find_first_not_of("-0123456789.", value);
        start = value;
        length = (end == std::string_view::npos ? style.size() : end) - value;
        return true;
    }
    return false;
}

std::string WithStyleNumber(std::string record, std::string_view property,
                            const std::string& value) {
    std::size_t start = 0;
    std::size_t length = 0;
    if (StyleNumberSpan(record, property, start, length)) {
        record.replace(start, length, value);
    }
    return record;
}

std::string StyleNumber(const std::string& style, const std::string& property) {
    std::size_t start = 0;
    std::size_t length = 0;
    return StyleNumberSpan(style, property, start, length) ? style.substr(start, length)
                                                           : std::string();
}

ItemWalkResult WalkItems(const PageRecord& page, const ItemWalkOptions& options) {
    ItemWalkResult result;
    if (page.stylesData.size() <= kShortestStylesData) {
        return result;
    }
    const std::vector<std::string> records = SplitFields(page.stylesData, "|");
    std::vector<std::string> ids;
    ids.reserve(records.size());
    EntryIndex texts(records.size());
    EntryIndex pictures(records.size());
    // The markup holds every record and entry once, as a rule: one allocation, not hundreds.
    std::size_t size = page.stylesData.size();
    for (const std::string& entry : page.texts) {
        size += entry.size();
    }
    result.markup.reserve(size + page.pictures.size() * 160);
    for (const std::string& record : records) {
        ids.push_back(RecordId(record));
        const std::string& id = ids.back();
        // An empty id would be contained in every entry; it writes nothing.
        if (!id.empty()) {
            texts.addId(id);
            if (id.size() > 1) {
                pictures.addId(std::string_view(id).substr(1));
            }
        }
    }
    texts.index(page.texts);
    pictures.index(page.pictures);
    std::unordered_set<std::string_view> written;
    written.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        // A layout that lists an id twice shows its first record.
        if (!ids[i].empty() && written.insert(ids[i]).second) {
            WriteTextItems(page, records[i], ids[i], texts, options, result);
            WritePictures(page, records[i], ids[i], pictures, options, result);
        }
    }
    return result;
}
