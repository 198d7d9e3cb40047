#include "page/item_ids.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "common/fields.h"
#include "common/text_search.h"

namespace {

// Whether some id (named by the key) comes twice in the list; an entry without one is free.
template <typename Key>
bool RepeatsAny(const std::vector<std::string>& list, Key key) {
    std::unordered_set<std::string> seen;
    return std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
        const std::string id = key(entry);
        return !id.empty() && !seen.insert(id).second;
    });
}

// The indexes of the list to keep: each named entry's first, every unnamed entry.
std::vector<bool> FirstOfEach(const std::vector<std::string>& list) {
    std::unordered_set<std::string> seen;
    std::vector<bool> kept;
    kept.reserve(list.size());
    for (const std::string& entry : list) {
        const std::string id = ItemNameIn(entry);
        kept.push_back(id.empty() || seen.insert(id).second);
    }
    return kept;
}

void KeepMarked(std::vector<std::string>& list, const std::vector<bool>& kept) {
    std::size_t to = 0;
    for (std::size_t from = 0; from < list.size(); ++from) {
        if (from < kept.size() && !kept[from]) {
            continue;
        }
        if (to != from) {
            list[to] = std::move(list[from]);
        }
        ++to;
    }
    list.resize(to);
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
    std::unordered_set<std::string> used;
    for (const std::string& entry : page.texts) {
        used.insert(ItemNameIn(entry));
    }
    std::string id;
    do {
        id = TextId(++page.elementCount);
    } while (used.count(id) > 0);
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
    if (!Contains(layout, "|")) {
        return layout;
    }
    std::vector<std::string> records = SplitFields(layout, "|");
    if (!RepeatsAny(records, RecordId)) {
        return layout;
    }
    std::unordered_set<std::string> seen;
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [&](const std::string& record) {
                                     const std::string id = RecordId(record);
                                     return !id.empty() && !seen.insert(id).second;
                                 }),
                  records.end());
    return JoinRecords(records);
}

bool HasRepeatedItems(const PageRecord& page) {
    return LayoutWithEachIdOnce(page.stylesData).size() != page.stylesData.size() ||
           RepeatsAny(page.texts, ItemNameIn) || RepeatsAny(page.pictures, ItemNameIn) ||
           RepeatsAny(page.textProperties, ItemNameIn);
}

void KeepEachItemOnce(PageRecord& page) {
    page.stylesData = LayoutWithEachIdOnce(page.stylesData);
    const std::vector<bool> texts = FirstOfEach(page.texts);
    KeepMarked(page.texts, texts);
    KeepMarked(page.richTexts, texts);
    KeepMarked(page.textProperties, FirstOfEach(page.textProperties));
    const std::vector<bool> pictures = FirstOfEach(page.pictures);
    KeepMarked(page.pictures, pictures);
    KeepMarked(page.links, pictures);
}
