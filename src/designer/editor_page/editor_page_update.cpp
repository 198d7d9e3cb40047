#include "designer/editor_page/editor_page_update.h"

#include <algorithm>
#include <unordered_map>

#include "common/markup_escaping.h"
#include "page/page_record.h"

namespace {

// A changed value as a string, an unchanged one as null: the page keeps what it has.
std::string ChangedValue(std::string_view before, std::string_view after) {
    return before == after ? "null" : ScriptString(after);
}

// The id an item's markup starts with; empty for an item written without one.
std::string_view ItemId(std::string_view item) {
    constexpr std::string_view kStart = "<div id='";
    const std::size_t end =
        item.substr(0, kStart.size()) == kStart ? item.find('\'', kStart.size()) : item.npos;
    return end == item.npos ? std::string_view() : item.substr(kStart.size(), end - kStart.size());
}

// What an item is followed by from one page to the next: its id, or its whole markup for an
// item written without one (markup starts with "<", which no id does).
std::string_view ItemKey(std::string_view item) {
    const std::string_view id = ItemId(item);
    return id.empty() ? item : id;
}

// Each record of a layout by its id.
std::unordered_map<std::string_view, std::string_view> RecordsById(std::string_view layout) {
    std::unordered_map<std::string_view, std::string_view> records;
    while (!layout.empty()) {
        const std::size_t end = std::min(layout.find('|'), layout.size());
        const std::string_view record = layout.substr(0, end);
        records.emplace(RecordIdIn(record), record);
        layout.remove_prefix(std::min(end + 1, layout.size()));
    }
    return records;
}

bool HoldsAnAnchor(std::string_view markup) {
    for (std::size_t at = markup.find('<'); at != markup.npos; at = markup.find('<', at + 1)) {
        std::size_t name = at + 1;
        if (name < markup.size() && markup[name] == '/') {
            ++name;
        }
        if (name < markup.size() && (markup[name] == 'a' || markup[name] == 'A')) {
            return true;
        }
    }
    return false;
}

// An item's markup with its content wrapped in the anchor: the div's open tag, the anchor, the
// content, "</A></div>". Nothing when `longer` is not `shorter` so wrapped, or when the content
// holds an anchor of its own, whose parse would nest otherwise.
std::optional<std::string_view> WrappingAnchor(std::string_view shorter, std::string_view longer) {
    constexpr std::string_view kDivEnd = "</div>";
    constexpr std::string_view kAnchorStart = "<A HREF='";
    constexpr std::string_view kAnchorEnd = "</A></div>";
    const std::size_t content = shorter.find('>') + 1;
    if (content == 0 || shorter.size() < content + kDivEnd.size() ||
        shorter.substr(shorter.size() - kDivEnd.size()) != kDivEnd ||
        longer.substr(0, content) != shorter.substr(0, content) ||
        longer.substr(content, kAnchorStart.size()) != kAnchorStart) {
        return std::nullopt;
    }
    const std::size_t quote = longer.find('\'', content + kAnchorStart.size());
    if (quote == longer.npos || quote + 1 >= longer.size() || longer[quote + 1] != '>') {
        return std::nullopt;
    }
    const std::string_view anchor = longer.substr(content, quote + 2 - content);
    const std::string_view inner =
        shorter.substr(content, shorter.size() - kDivEnd.size() - content);
    if (anchor.find('<', 1) != anchor.npos || HoldsAnAnchor(inner) ||
        longer.size() != content + anchor.size() + inner.size() + kAnchorEnd.size() ||
        longer.substr(content + anchor.size(), inner.size()) != inner ||
        longer.substr(longer.size() - kAnchorEnd.size()) != kAnchorEnd) {
        return std::nullopt;
    }
    return anchor;
}

}  // namespace

std::optional<Relink> RelinkOf(std::string_view before, std::string_view after) {
    if (after.size() > before.size()) {
        if (const auto anchor = WrappingAnchor(before, after)) {
            return Relink{0, *anchor};
        }
    } else if (after.size() < before.size() && WrappingAnchor(after, before)) {
        return Relink{0, std::string_view()};
    }
    return std::nullopt;
}

void ForgetMovedItems(EditorPageParts& shown, std::string_view writtenFrom,
                      std::string_view reported) {
    if (writtenFrom == reported) {
        return;
    }
    const auto written = RecordsById(writtenFrom);
    const auto now = RecordsById(reported);
    for (std::string_view& item : shown.items) {
        const std::string_view id = ItemId(item);
        if (id.empty()) {
            continue;
        }
        const auto before = written.find(id);
        const auto after = now.find(id);
        if (before == written.end() || after == now.end() || before->second != after->second) {
            item = std::string_view();
        }
    }
}

std::vector<ItemEdit> ItemEdits(const std::vector<std::string_view>& before,
                                const std::vector<std::string_view>& after) {
    std::unordered_map<std::string_view, int> unmatchedBefore;
    std::unordered_map<std::string_view, int> unmatchedAfter;
    for (const std::string_view item : before) {
        ++unmatchedBefore[ItemKey(item)];
    }
    for (const std::string_view item : after) {
        ++unmatchedAfter[ItemKey(item)];
    }
    std::vector<ItemEdit> edits;
    // Each step removes the old item, adds the new one, or both; steps next to each other
    // make one edit.
    const auto step = [&](std::size_t at, std::size_t removed, std::size_t firstNew,
                          std::size_t added) {
        if (!edits.empty() && edits.back().at + edits.back().removed == at &&
            edits.back().firstNew + edits.back().added == firstNew) {
            edits.back().removed += removed;
            edits.back().added += added;
        } else {
            edits.push_back({at, removed, firstNew, added});
        }
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < before.size() || j < after.size()) {
        const std::string_view oldKey = i < before.size() ? ItemKey(before[i]) : std::string_view();
        const std::string_view newKey = j < after.size() ? ItemKey(after[j]) : std::string_view();
        if (i < before.size() && j < after.size() && oldKey == newKey) {
            if (before[i] != after[j]) {
                step(i, 1, j, 1);
            }
            --unmatchedBefore[oldKey];
            --unmatchedAfter[newKey];
            ++i;
            ++j;
        } else if (i < before.size() && (j == after.size() || unmatchedAfter[oldKey] == 0)) {
            --unmatchedBefore[oldKey];
            step(i++, 1, j, 0);
        } else if (j < after.size() && (i == before.size() || unmatchedBefore[newKey] == 0)) {
            --unmatchedAfter[newKey];
            step(i, 0, j++, 1);
        } else {
            --unmatchedBefore[oldKey];
            --unmatchedAfter[newKey];
            step(i++, 1, j++, 1);
        }
    }
    return edits;
}

std::optional<EditorPageParts> PartsOf(std::string_view text, const EditorPageCuts& cuts) {
    std::optional<PageHeadParts> head = SplitPageHead(text.substr(0, cuts.itemsStart));
    if (!head) {
        return std::nullopt;
    }
    EditorPageParts parts;
    parts.head = *head;
    parts.items.reserve(cuts.itemEnds.size());
    std::size_t start = cuts.itemsStart;
    for (const std::size_t end : cuts.itemEnds) {
        parts.items.push_back(text.substr(start, end - start));
        start = end;
    }
    parts.tail = text.substr(cuts.tailStart, cuts.tailEnd - cuts.tailStart);
    return parts;
}

std::optional<std::string> EditorPageUpdate(const EditorPageParts& before,
                                            const EditorPageParts& after,
                                            const EditorPageUpdateRequest& request) {
    // New font rules load new files: the page is loaded whole.
    if (before.head.container.empty() != after.head.container.empty() ||
        before.head.siteItemMark != after.head.siteItemMark ||
        before.head.fonts != after.head.fonts) {
        return std::nullopt;
    }
    // An item that only gained or lost its link keeps its content: the page wraps it in the
    // anchor or takes the anchor away, where swapping hundreds of pictures would cost a frame.
    std::unordered_map<std::string_view, std::size_t> shownAt;
    for (std::size_t i = 0; i < before.items.size(); ++i) {
        const std::string_view id = ItemId(before.items[i]);
        if (!id.empty()) {
            shownAt.emplace(id, i);
        }
    }
    std::vector<std::string_view> compared = after.items;
    std::vector<Relink> relinks;
    for (std::string_view& item : compared) {
        const auto shown = shownAt.find(ItemId(item));
        if (shown == shownAt.end() || before.items[shown->second] == item) {
            continue;
        }
        if (std::optional<Relink> relink = RelinkOf(before.items[shown->second], item)) {
            relink->at = shown->second;
            relinks.push_back(*relink);
            item = before.items[shown->second];
        }
    }
    const std::vector<ItemEdit> itemEdits = ItemEdits(before.items, compared);
    std::vector<bool> replaced(before.items.size(), false);
    for (const ItemEdit& edit : itemEdits) {
        std::fill_n(replaced.begin() + static_cast<std::ptrdiff_t>(edit.at), edit.removed, true);
    }
    std::string links;
    for (const Relink& relink : relinks) {
        if (!replaced[relink.at]) {
            links += (links.empty() ? "[" : ",[") + std::to_string(relink.at) + "," +
                     (relink.anchor.empty() ? std::string("null") : ScriptString(relink.anchor)) +
                     "]";
        }
    }
    std::string items;
    std::string edits;
    for (const ItemEdit& edit : itemEdits) {
        for (std::size_t i = edit.firstNew; i < edit.firstNew + edit.added; ++i) {
            items += after.items[i];
        }
        edits += (edits.empty() ? "[" : ",[") + std::to_string(edit.at) + "," +
                 std::to_string(edit.removed) + "," + std::to_string(edit.added) + "]";
    }
    std::string update =
        "{base:" + std::to_string(request.base) + ",version:" + std::to_string(request.version) +
        ",script:" + ChangedValue(before.head.script, after.head.script) +
        ",body:" + ChangedValue(before.head.bodyStart, after.head.bodyStart) +
        ",container:" + ChangedValue(before.head.container, after.head.container) +
        ",hasContainer:" + (after.head.container.empty() ? "false" : "true") +
        ",total:" + std::to_string(before.items.size()) + ",edits:[" + edits + "],links:[" + links +
        "],items:" + ScriptString(items) + ",tail:" + ScriptString(after.tail);
    update +=
        ",drag:" + (request.registration.empty() ? "null" : ScriptString(request.registration));
    update += ",run:" + (request.onLoad.empty() ? "null" : ScriptString(request.onLoad));
    update += ",controls:" + (request.controls.empty() ? "null" : ScriptString(request.controls));
    update += "}";
    // The page decodes its file by a guess when it holds more than ASCII; the update's text
    // would have to be guessed alike.
    if (std::any_of(update.begin(), update.end(),
                    [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
        return std::nullopt;
    }
    return update;
}
