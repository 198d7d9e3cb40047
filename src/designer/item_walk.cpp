#include "designer/item_walk.h"

#include "common/character_references.h"
#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/paths.h"

namespace {

constexpr std::size_t kDivStartLength = 9;  // "<div id='"
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

void WriteTextItems(const PageRecord& page, const std::string& record, const std::string& id,
                    const ItemWalkOptions& options, ItemWalkResult& result) {
    for (const std::string& entry : page.texts) {
        if (entry.find(id) == std::string::npos) {
            continue;
        }
        ++result.itemCount;
        AppendTextRecord(result.markup,
                         options.rewriteTextRecord ? options.rewriteTextRecord(record) : record);
        result.markup.append(entry, std::min(id.size(), entry.size()));
        result.markup += "</div>";
        result.dragList += "'" + id + "',";
    }
}

void WritePictures(const PageRecord& page, const std::string& record, const std::string& id,
                   const ItemWalkOptions& options, ItemWalkResult& result) {
    const std::string name = id.substr(1);
    if (name.empty()) {
        return;
    }
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        const std::string& entry = page.pictures[i];
        if (options.skipDeletedPictures && entry.find(kDeletedPicture) != std::string::npos) {
            continue;
        }
        if (entry.find(name) == std::string::npos) {
            continue;
        }
        ++result.itemCount;
        const std::size_t nameEnd = entry.find('~') + 1;
        const std::string entryName = entry.substr(0, nameEnd);
        const std::string path =
            options.bareFileNames ? FileNameOf(entry.substr(nameEnd)) : entry.substr(nameEnd);
        const bool anchored =
            options.links && i < page.links.size() && page.links[i].size() > kShortestLink;
        std::string& markup = result.markup;
        markup += FieldAt(record, 0, "^");
        if (anchored) {
            markup += "<A HREF='" + HtmlAttribute(page.links[i], '\'') + "'>";
        }
        markup += "<IMG name='" + entryName + "' SRC=\"" + HtmlAttribute(path, '"') +
                  "\" BORDER=0 width=" + FieldAt(record, 1, "^") +
                  " height=" + FieldAt(record, 2, "^");
        const auto description = page.pictureDescriptions.find(entryName);
        if (options.pictureDescriptions && description != page.pictureDescriptions.end()) {
            markup += " alt=\"" +
                      AsciiWithCharacterReferences(HtmlAttribute(description->second, '"')) + "\"";
        }
        markup += ">";
        if (anchored) {
            markup += "</A>";
        }
        markup += "</div>";
        result.dragList += "'" + entryName + (options.scalablePictures ? "'+SCALABLE," : "',");
        if (options.pictureDivsInDragList) {
            result.dragList += "'d" + entryName + "',";
        }
    }
}

}  // namespace

std::string StyleNumber(const std::string& style, const std::string& property) {
    for (std::size_t at = style.find(property); at != std::string::npos;
         at = style.find(property, at + 1)) {
        // "left" but not "padding-left" or "border-left-width".
        if (at > 0 && style[at - 1] != ';' && style[at - 1] != ' ' && style[at - 1] != '\'') {
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
        return style.substr(value, end == std::string::npos ? std::string::npos : end - value);
    }
    return std::string();
}

std::string RecordId(const std::string& record) {
    if (record.size() <= kDivStartLength) {
        return std::string();
    }
    const std::size_t tilde = record.find('~', kDivStartLength);
    if (tilde == std::string::npos) {
        return std::string();
    }
    return record.substr(kDivStartLength, tilde + 1 - kDivStartLength);
}

ItemWalkResult WalkItems(const PageRecord& page, const ItemWalkOptions& options) {
    ItemWalkResult result;
    if (page.stylesData.size() <= kShortestStylesData) {
        return result;
    }
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        const std::string id = RecordId(record);
        // An empty id would be contained in every entry.
        if (!id.empty()) {
            WriteTextItems(page, record, id, options, result);
            WritePictures(page, record, id, options, result);
        }
    }
    return result;
}
