#include "designer/editing/item_commands.h"

#include <cmath>
#include <cstdlib>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/text_search.h"
#include "designer/editing/element_operations.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/editor_page/layout_handover.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/workspace.h"
#include "platform/clipboard.h"
#include "site/markup/item_walk.h"
#include "textedit/rtf_reader.h"

namespace {

constexpr int kDefaultStep = 10;

std::string Moved(const std::string& record, const std::string& property, int by) {
    const std::string number = StyleNumber(record, property);
    if (by == 0 || number.empty()) {
        return record;
    }
    const double value = std::strtod(number.c_str(), nullptr) + by;
    return WithStyleNumber(record, property,
                           std::to_string(static_cast<long long>(std::lround(value))));
}

// The record under a new id, moved across and down.
std::string Renamed(const std::string& record, std::size_t oldIdLength, const std::string& newId,
                    int across, int down) {
    const std::string renamed =
        std::string(kRecordStart) + newId +
        record.substr(std::min(record.size(), kRecordStart.size() + oldIdLength));
    return Moved(Moved(renamed, "left", across), "top", down);
}

// The words of the copied sections, for other programs.
std::string PlainText(const std::vector<ClippedItem>& items) {
    std::string text;
    for (const ClippedItem& item : items) {
        if (item.picture) {
            continue;
        }
        std::string words = ReadRtf(item.richText).text();
        while (!words.empty() && (words.back() == '\n' || words.back() == '\r')) {
            words.pop_back();
        }
        text += (text.empty() ? "" : "\n\n") + words;
    }
    return text;
}

std::string PageKey(const PageRecord& page) {
    return page.directory + "|" + page.fileName;
}

}  // namespace

std::vector<std::string> ItemNames(const std::string& argument) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t tilde = argument.find('~'); tilde != std::string::npos;
         tilde = argument.find('~', start)) {
        std::string name = argument.substr(start, tilde + 1 - start);
        // The page may write a picture by its div ("dpageimageitem7~").
        if (name.rfind(std::string("d") + kPictureNamePrefix, 0) == 0) {
            name.erase(0, 1);
        }
        if (StartsWith(name, kTextIdPrefix) || StartsWith(name, kPictureNamePrefix)) {
            names.push_back(name);
        }
        start = tilde + 1;
    }
    return names;
}

std::vector<ClippedItem> ClipItems(const PageRecord& page, const std::vector<std::string>& names) {
    const std::vector<std::string> records = SplitFields(page.stylesData, "|");
    std::vector<ClippedItem> items;
    for (const std::string& name : names) {
        ClippedItem item;
        item.name = name;
        item.picture = StartsWith(name, kPictureNamePrefix);
        const std::string id = ItemDivId(name);
        for (const std::string& record : records) {
            if (RecordId(record) == id) {
                item.record = record;
                break;
            }
        }
        const std::vector<std::string>& entries = item.picture ? page.pictures : page.texts;
        std::size_t index = entries.size();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (ItemNameIn(entries[i]) == name) {
                index = i;
                break;
            }
        }
        // Only an item the page shows and lists can be copied.
        if (item.record.empty() || index == entries.size()) {
            continue;
        }
        item.entry = entries[index];
        const auto phone = page.phoneChoices.find(id);
        if (phone != page.phoneChoices.end()) {
            item.phone = phone->second;
        }
        if (item.picture) {
            item.link = EntryAt(page.links, index);
            const auto description = page.pictureDescriptions.find(name);
            if (description != page.pictureDescriptions.end()) {
                item.description = description->second;
            }
        } else {
            item.richText = EntryAt(page.richTexts, index);
            for (const auto& [language, words] : page.translations) {
                const auto translated = words.find(name);
                if (translated != words.end()) {
                    item.translations[language] = translated->second;
                }
            }
            for (const std::string& properties : page.textProperties) {
                if (ItemNameIn(properties) == name) {
                    item.properties = properties;
                }
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<ClippedItem> ClipEveryItem(const PageRecord& page) {
    std::vector<std::string> names;
    for (const auto* list : {&page.texts, &page.pictures}) {
        for (const std::string& entry : *list) {
            names.push_back(ItemNameIn(entry));
        }
    }
    return ClipItems(page, names);
}

ItemCommands::ItemCommands(Workspace& workspace, EditorPageWriter& writer, Clipboard& clipboard,
                           std::function<int()> draw)
    : workspace_(workspace), writer_(writer), clipboard_(clipboard), draw_(std::move(draw)) {}

std::vector<std::string> ItemCommands::itemsNamed(const std::string& names) {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
    return ItemNames(names);
}

int ItemCommands::step() const {
    const int grid = std::atoi(workspace_.editor.gridSetting.c_str());
    return grid > 0 ? grid : kDefaultStep;
}

std::string PlaceItems(PageRecord& page, const std::vector<ClippedItem>& items, int across,
                       int down, const std::function<int()>& draw) {
    std::string placed;
    for (const ClippedItem& item : items) {
        std::string name;
        std::string record;
        if (item.picture) {
            name = FreePictureName(page, draw);
            ++page.elementCount;
            // As a picture added: taken from where it lies.
            const std::string path = item.entry.substr(item.name.size());
            page.links.resize(page.pictures.size());
            page.pictures.push_back(name + path);
            page.links.push_back(item.link);
            if (item.description) {
                page.pictureDescriptions[name] = *item.description;
            }
            record = Renamed(item.record, item.name.size() + 1, "d" + name, across, down);
        } else {
            name = FreeTextId(page);
            page.richTexts.resize(page.texts.size());
            page.texts.push_back(EntryUnderId(item.entry, item.name, name));
            page.richTexts.push_back(item.richText);
            if (!item.properties.empty()) {
                page.textProperties.push_back(name + item.properties.substr(item.name.size()));
            }
            for (const auto& [language, words] : item.translations) {
                page.translations[language][name] =
                    EntryUnderId(item.name + words, item.name, name).substr(name.size());
            }
            record = Renamed(item.record, item.name.size(), name, across, down);
        }
        page.stylesData += (page.stylesData.empty() ? "" : "|") + record;
        if (!item.phone.empty()) {
            page.phoneChoices[ItemDivId(name)] = item.phone;
        }
        placed += name;
    }
    return placed;
}

std::string ItemCommands::place(const std::vector<ClippedItem>& items, int offset) {
    return PlaceItems(workspace_.page, items, offset, offset, draw_);
}

std::vector<ClippedItem> ItemCommands::clipped(const std::string& names) {
    return ClipItems(workspace_.page, itemsNamed(names));
}

void ItemCommands::placeSelected(const std::vector<ClippedItem>& items, int across, int down) {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
    redrawSelecting(PlaceItems(workspace_.page, items, across, down, draw_));
}

void ItemCommands::redrawSelecting(const std::string& names) {
    workspace_.editor.layoutRequest = "ddSelectNames('" + ScriptStringContent(names) + "');";
    writer_.writeLoad(workspace_.page, workspace_.editor);
}

void ItemCommands::duplicate(const std::string& names) {
    const std::vector<ClippedItem> items = ClipItems(workspace_.page, itemsNamed(names));
    if (!items.empty()) {
        redrawSelecting(place(items, step()));
    }
}

void ItemCommands::copy(const std::string& names) {
    std::vector<ClippedItem> items = ClipItems(workspace_.page, itemsNamed(names));
    if (items.empty()) {
        return;
    }
    const std::string text = PlainText(items);
    ItemClipboard& kept = workspace_.itemClipboard;
    kept = ItemClipboard{std::move(items), PageKey(workspace_.page), false, std::string(), 0};
    // Other programs get the words; the layout handover has given the user's text back already.
    if (!text.empty()) {
        clipboard_.setText(text);
        workspace_.editor.clipboardCache = text;
    }
}

void ItemCommands::cut(const std::string& names) {
    copy(names);
    workspace_.itemClipboard.cut = true;
    remove(names);
}

void ItemCommands::remove(const std::string& names) {
    PageRecord& page = workspace_.page;
    bool removed = false;
    for (const std::string& name : itemsNamed(names)) {
        removed = (StartsWith(name, kTextIdPrefix) ? RemoveText(page, name)
                                                   : RemovePicture(page, name)) ||
                  removed;
    }
    if (removed) {
        writer_.writeLoad(page, workspace_.editor);
    }
}

void ItemCommands::paste() {
    TakeLayoutFromClipboard(workspace_.page, workspace_.editor, clipboard_);
    ItemClipboard& kept = workspace_.itemClipboard;
    if (kept.items.empty()) {
        return;
    }
    // Onto its own page a copy must not hide its original; a cut item comes back in place, and
    // so do items on another page. Each paste more onto the same page goes a step further.
    const std::string target = PageKey(workspace_.page);
    if (kept.pastedOnto != target) {
        kept.pastedOnto = target;
        kept.pastes = 0;
    }
    const int steps = kept.pastes + (kept.sourcePage == target && !kept.cut ? 1 : 0);
    ++kept.pastes;
    redrawSelecting(place(kept.items, steps * step()));
}

void ItemCommands::share(const std::string& names, bool everyPage) {
    PageRecord& page = workspace_.page;
    std::string made;
    for (const std::string& name : itemsNamed(names)) {
        made += everyPage ? MakeSiteItem(page, name) : MakePageItem(page, name);
    }
    if (!made.empty()) {
        redrawSelecting(made);
    }
}

void ItemCommands::align(const std::string& how, const std::string& names) {
    std::string list;
    for (const std::string& name : ItemNames(names)) {
        list += name;
    }
    workspace_.editor.layoutRequest =
        "ddAlignNames('" + ScriptStringContent(how) + "','" + ScriptStringContent(list) + "');";
    writer_.writeRedraw(workspace_.page, workspace_.editor);
}
