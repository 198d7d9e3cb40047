#include "page/item_ids.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/text_search.h"

namespace {

// Which entries of the list to keep: each named entry's first, every unnamed entry; nothing
// when every entry stays.
std::optional<std::vector<bool>> FirstOfEach(const std::vector<std::string>& list) {
    std::unordered_set<std::string_view> seen;
    std::vector<bool> kept;
    kept.reserve(list.size());
    bool dropped = false;
    for (const std::string& entry : list) {
        const std::size_t tilde = entry.find('~');
        kept.push_back(tilde == std::string::npos ||
                       seen.insert(std::string_view(entry).substr(0, tilde + 1)).second);
        dropped = dropped || !kept.back();
    }
    return dropped ? std::optional<std::vector<bool>>(std::move(kept)) : std::nullopt;
}

void KeepMarked(std::vector<std::string>& list, const std::optional<std::vector<bool>>& kept) {
    if (!kept) {
        return;
    }
    std::size_t to = 0;
    for (std::size_t from = 0; from < list.size(); ++from) {
        if (from < kept->size() && !(*kept)[from]) {
            continue;
        }
        if (to != from) {
            list[to] = std::move(list[from]);
        }
        ++to;
    }
    list.resize(to);
}

// Hands over each record whose id no record before it had, in order; gives how many records
// were passed over for an id seen before.
std::size_t EachFirstRecord(std::string_view layout,
                            const std::function<void(std::string_view)>& visit) {
    std::unordered_set<std::string_view> seen;
    std::size_t repeated = 0;
    for (std::size_t start = 0; start <= layout.size();) {
        const std::size_t end = std::min(layout.find('|', start), layout.size());
        const std::string_view record = layout.substr(start, end - start);
        const std::string_view id = RecordIdIn(record);
        if (id.empty() || seen.insert(id).second) {
            visit(record);
        } else {
            ++repeated;
        }
        start = end + 1;
    }
    return repeated;
}

}  // namespace

std::string JoinRecords(const std::vector<std::string>& records) {
    std::string joined;
    for (const std::string& record : records) {
        joined += (joined.empty() ? "" : "|") + record;
    }
    return joined;
}

std::string FreeTextId(PageRecord& page) {
    const auto used = [&page](const std::string& id) {
        return std::any_of(page.texts.begin(), page.texts.end(),
                           [&id](const std::string& entry) { return StartsWith(entry, id); });
    };
    std::string id;
    do {
        id = TextId(++page.elementCount);
    } while (used(id));
    return id;
}

std::string EntryUnderId(const std::string& entry, const std::string& oldId,
                         const std::string& newId) {
    std::string body = entry.substr(std::min(oldId.size(), entry.size()));
    for (std::size_t at = body.find(oldId); at != std::string::npos;
         at = body.find(oldId, at + newId.size())) {
        body.replace(at, oldId.size(), newId);
    }
    return newId + body;
}

std::string LayoutWithEachIdOnce(const std::string& layout) {
    // Read in place, and copied only when an id repeats: every command hands a layout over, and
    // a page may hold thousands of items.
    if (EachFirstRecord(layout, [](std::string_view) {}) == 0) {
        return layout;
    }
    std::string kept;
    EachFirstRecord(layout, [&kept](std::string_view record) {
        kept.append(kept.empty() ? "" : "|").append(record);
    });
    return kept;
}

bool HasRepeatedItems(const PageRecord& page) {
    return EachFirstRecord(page.stylesData, [](std::string_view) {}) > 0 ||
           FirstOfEach(page.texts) || FirstOfEach(page.pictures) ||
           FirstOfEach(page.textProperties);
}

void KeepEachItemOnce(PageRecord& page) {
    page.stylesData = LayoutWithEachIdOnce(page.stylesData);
    const std::optional<std::vector<bool>> texts = FirstOfEach(page.texts);
    KeepMarked(page.texts, texts);
    KeepMarked(page.richTexts, texts);
    KeepMarked(page.textProperties, FirstOfEach(page.textProperties));
    const std::optional<std::vector<bool>> pictures = FirstOfEach(page.pictures);
    KeepMarked(page.pictures, pictures);
    KeepMarked(page.links, pictures);
}
