#include "page/site_items.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "common/fields.h"
#include "common/text_search.h"
#include "page/item_ids.h"

namespace {

// The number a site id carries ("pagetextitemS12~" gives 12).
int SiteNumber(std::string_view id) {
    const std::size_t s = id.find("itemS");
    int number = 0;
    if (s != std::string_view::npos) {
        std::from_chars(id.data() + s + 5, id.data() + id.size(), number);
    }
    return number;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The item under a new name everywhere it is written: its layout record, its list entries
// (a section's words carry its id in their own ids), its description.
std::string Renamed(PageRecord& page, const std::string& name, const std::string& fresh) {
    const std::string oldId = ItemDivId(name);
    const std::string newId = ItemDivId(fresh);
    bool found = false;
    std::vector<std::string> records = SplitFields(page.stylesData, "|");
    for (std::string& record : records) {
        if (RecordIdIn(record) == oldId) {
            record.replace(kRecordStart.size(), oldId.size(), newId);
            found = true;
        }
    }
    if (!found) {
        return std::string();
    }
    page.stylesData = JoinRecords(records);
    for (std::vector<std::string>* list : {&page.texts, &page.textProperties, &page.pictures}) {
        for (std::string& entry : *list) {
            if (StartsWith(entry, name)) {
                ReplaceAll(entry, name, fresh);
            }
        }
    }
    const auto description = page.pictureDescriptions.find(name);
    if (description != page.pictureDescriptions.end()) {
        page.pictureDescriptions[fresh] = description->second;
        page.pictureDescriptions.erase(name);
    }
    CopyPhoneChoices(page.phoneChoices, oldId, newId);
    page.phoneChoices.erase(oldId);
    for (auto& [language, items] : page.translations) {
        const auto words = items.find(name);
        if (words != items.end()) {
            items[fresh] = words->second;
            items.erase(name);
        }
    }
    return fresh;
}

}  // namespace

bool IsSiteItemId(std::string_view id) {
    if (!id.empty() && id.front() == 'd') {
        id.remove_prefix(1);
    }
    for (const std::string_view prefix : {kTextIdPrefix, kPictureNamePrefix}) {
        if (id.size() > prefix.size() && id.compare(0, prefix.size(), prefix) == 0 &&
            id[prefix.size()] == 'S') {
            return true;
        }
    }
    return false;
}

bool SameItems(const PageRecord& a, const PageRecord& b) {
    return a.stylesData == b.stylesData && a.texts == b.texts && a.richTexts == b.richTexts &&
           a.textProperties == b.textProperties && a.pictures == b.pictures && a.links == b.links &&
           a.pictureDescriptions == b.pictureDescriptions && a.phoneChoices == b.phoneChoices &&
           a.translations == b.translations;
}

bool PlacesSiteItems(const PageRecord& page) {
    return page.stylesData.find("itemS") != std::string::npos;
}

bool HoldsItems(const PageRecord& record) {
    return !record.stylesData.empty() || !record.texts.empty() || !record.pictures.empty();
}

void MergeSiteItems(PageRecord& page, const PageRecord& site) {
    page.siteItemsShown = true;
    const std::vector<std::string> ids = SiteItemIds(site);
    page.siteItemsKnown.insert(page.siteItemsKnown.end(), ids.begin(), ids.end());
    page.siteElementCount = site.elementCount;
    if (!site.stylesData.empty()) {
        page.stylesData += (page.stylesData.empty() ? "" : "|") + site.stylesData;
    }
    page.texts.insert(page.texts.end(), site.texts.begin(), site.texts.end());
    page.richTexts.insert(page.richTexts.end(), site.richTexts.begin(), site.richTexts.end());
    page.textProperties.insert(page.textProperties.end(), site.textProperties.begin(),
                               site.textProperties.end());
    page.links.resize(page.pictures.size());
    page.pictures.insert(page.pictures.end(), site.pictures.begin(), site.pictures.end());
    std::vector<std::string> links = site.links;
    links.resize(site.pictures.size());
    page.links.insert(page.links.end(), links.begin(), links.end());
    for (const auto& [name, description] : site.pictureDescriptions) {
        page.pictureDescriptions[name] = description;
    }
    // A page's own phone choices for a shared item win: each page shapes its phone column.
    for (const auto& [item, choices] : site.phoneChoices) {
        page.phoneChoices.emplace(item, choices);
    }
    for (const auto& [language, items] : site.translations) {
        for (const auto& [item, words] : items) {
            page.translations[language][item] = words;
        }
    }
}

PageRecord SplitSiteItems(PageRecord& page) {
    PageRecord site;
    site.directory = page.directory;
    site.fileName = kSiteItemsFile;
    int highest = page.siteElementCount;
    const auto shared = [](const std::vector<std::string>& entries) {
        return std::any_of(entries.begin(), entries.end(), [](const std::string& entry) {
            return IsSiteItemId(ItemNameIn(entry));
        });
    };
    std::vector<std::string> own;
    std::vector<std::string> sharedRecords;
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        const std::string_view id = RecordIdIn(record);
        (IsSiteItemId(id) ? sharedRecords : own).push_back(record);
    }
    // Nothing shared: the page keeps its bytes.
    if (sharedRecords.empty() && !shared(page.texts) && !shared(page.pictures)) {
        site.elementCount = highest;
        return site;
    }
    page.stylesData = JoinRecords(own);
    site.stylesData = JoinRecords(sharedRecords);
    // Sections: three lists side by side, split by the id their words carry.
    std::vector<std::string> texts;
    std::vector<std::string> richTexts;
    std::vector<std::string> properties;
    for (std::size_t i = 0; i < page.texts.size(); ++i) {
        const bool siteItem = IsSiteItemId(ItemNameIn(page.texts[i]));
        (siteItem ? site.texts : texts).push_back(page.texts[i]);
        if (i < page.richTexts.size()) {
            (siteItem ? site.richTexts : richTexts).push_back(page.richTexts[i]);
        }
    }
    for (const std::string& entry : page.textProperties) {
        (IsSiteItemId(ItemNameIn(entry)) ? site.textProperties : properties).push_back(entry);
    }
    page.texts = std::move(texts);
    page.richTexts = std::move(richTexts);
    page.textProperties = std::move(properties);
    std::vector<std::string> pictures;
    std::vector<std::string> links;
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        const bool siteItem = IsSiteItemId(ItemNameIn(page.pictures[i]));
        (siteItem ? site.pictures : pictures).push_back(page.pictures[i]);
        (siteItem ? site.links : links).push_back(EntryAt(page.links, i));
    }
    page.pictures = std::move(pictures);
    page.links = std::move(links);
    for (auto description = page.pictureDescriptions.begin();
         description != page.pictureDescriptions.end();) {
        if (IsSiteItemId(description->first)) {
            site.pictureDescriptions.insert(*description);
            description = page.pictureDescriptions.erase(description);
        } else {
            ++description;
        }
    }
    // A shared section's translations are the site's, as its words are.
    for (auto language = page.translations.begin(); language != page.translations.end();) {
        std::map<std::string, std::string>& items = language->second;
        for (auto item = items.begin(); item != items.end();) {
            if (IsSiteItemId(item->first)) {
                site.translations[language->first].insert(*item);
                item = items.erase(item);
            } else {
                ++item;
            }
        }
        language = items.empty() ? page.translations.erase(language) : std::next(language);
    }
    // Phone choices stay with the page, shared items' too: moving the header in one page's
    // phone column must not reorder every other page's.
    for (const std::string& entry : site.texts) {
        highest = std::max(highest, SiteNumber(ItemNameIn(entry)));
    }
    for (const std::string& entry : site.pictures) {
        highest = std::max(highest, SiteNumber(ItemNameIn(entry)));
    }
    site.elementCount = highest;
    return site;
}

std::vector<std::string> SiteItemIds(const PageRecord& site) {
    std::vector<std::string> ids;
    for (const std::vector<std::string>* list : {&site.texts, &site.pictures}) {
        for (const std::string& entry : *list) {
            ids.push_back(ItemNameIn(entry));
        }
    }
    return ids;
}

void UpdateSiteItems(PageRecord& site, const PageRecord& changed) {
    RemoveSiteItems(site, SiteItemIds(changed));
    MergeSiteItems(site, changed);
    site.siteItemsShown = false;
    site.siteElementCount = 0;
    site.siteItemsKnown.clear();
    site.elementCount = std::max(site.elementCount, changed.elementCount);
}

void RemoveSiteItems(PageRecord& site, const std::vector<std::string>& ids) {
    const auto replaced = [&ids](const std::string& entry) {
        return std::find(ids.begin(), ids.end(), ItemNameIn(entry)) != ids.end();
    };
    std::vector<std::string> records;
    for (const std::string& record : SplitFields(site.stylesData, "|")) {
        std::string_view id = RecordIdIn(record);
        if (!id.empty() && id.front() == 'd') {
            id.remove_prefix(1);
        }
        if (!record.empty() && std::find(ids.begin(), ids.end(), id) == ids.end()) {
            records.push_back(record);
        }
    }
    site.stylesData = JoinRecords(records);
    PageRecord kept = site;
    kept.texts.clear();
    kept.richTexts.clear();
    kept.textProperties.clear();
    kept.pictures.clear();
    kept.links.clear();
    for (std::size_t i = 0; i < site.texts.size(); ++i) {
        if (!replaced(site.texts[i])) {
            kept.texts.push_back(site.texts[i]);
            kept.richTexts.push_back(EntryAt(site.richTexts, i));
        }
    }
    for (const std::string& entry : site.textProperties) {
        if (!replaced(entry)) {
            kept.textProperties.push_back(entry);
        }
    }
    for (std::size_t i = 0; i < site.pictures.size(); ++i) {
        if (!replaced(site.pictures[i])) {
            kept.pictures.push_back(site.pictures[i]);
            kept.links.push_back(EntryAt(site.links, i));
        }
    }
    for (const std::string& name : ids) {
        kept.phoneChoices.erase(ItemDivId(name));
        for (auto& [language, items] : kept.translations) {
            items.erase(name);
        }
    }
    site = std::move(kept);
}

std::string MakeSiteItem(PageRecord& page, const std::string& name) {
    if (IsSiteItemId(name)) {
        return std::string();
    }
    const bool picture = StartsWith(name, kPictureNamePrefix);
    const std::string number = "S" + std::to_string(page.siteElementCount + 1);
    const std::string fresh =
        (picture ? std::string(kPictureNamePrefix) : std::string(kTextIdPrefix)) + number + "~";
    const std::string made = Renamed(page, name, fresh);
    if (!made.empty()) {
        ++page.siteElementCount;
    }
    return made;
}

std::string MakePageItem(PageRecord& page, const std::string& name) {
    if (!IsSiteItemId(name)) {
        return std::string();
    }
    const bool picture = StartsWith(name, kPictureNamePrefix);
    const int count = page.elementCount;
    const std::string fresh = picture ? PictureName(++page.elementCount) : FreeTextId(page);
    const std::string made = Renamed(page, name, fresh);
    if (made.empty()) {
        page.elementCount = count;
    }
    return made;
}
