#include "site/picture_loading.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/fields.h"
#include "common/number_text.h"
#include "site/markup/item_walk.h"
#include "site/phone/phone_layout.h"
#include "site/phone/text_extent.h"

namespace {

// A first screen as laptops and phones show it, in CSS pixels.
constexpr double kFirstScreenHeight = 800;
// The phone's column: a small phone's width less the page's margins.
constexpr double kColumnWidth = 359;
// Where the container's content starts on the page.
constexpr double kContainerTop = 24;

struct Placed {
    std::string name;  // the picture's name; empty for a section
    double top = 0;
    double width = 0;
    double height = 0;
    // A section's words, whose height only the phone's column asks for.
    std::string_view words;
};

// The page's items in the order of their records, each id once.
std::vector<std::pair<std::string, Placed>> ItemsInOrder(const PageRecord& page) {
    const std::unordered_map<std::string_view, std::string_view> texts = SectionsById(page);
    std::vector<std::pair<std::string, Placed>> items;
    std::unordered_set<std::string> seen;
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        const std::string id = RecordId(record);
        if (id.empty() || !seen.insert(id).second) {
            continue;
        }
        Placed item;
        const std::string style = FieldAt(record, 0, "^");
        item.top = LeadingReal(StyleNumber(style, "top"));
        if (record.find('^') != std::string::npos) {
            item.name = id.substr(1);
            item.width = LeadingReal(FieldAt(record, 1, "^"));
            item.height = LeadingReal(FieldAt(record, 2, "^"));
        } else if (const auto text = texts.find(std::string_view(id)); text != texts.end()) {
            item.words = text->second;
        }
        items.emplace_back(id, item);
    }
    return items;
}

}  // namespace

std::map<std::string, std::string> PictureLoading(const PageRecord& page, bool phoneFriendly) {
    const std::vector<std::pair<std::string, Placed>> items = ItemsInOrder(page);
    const double offset = page.hasContainer() ? kContainerTop : 0;
    std::map<std::string, double> firstOnDesk;
    std::map<std::string, double> firstOnPhone;
    for (const auto& [id, item] : items) {
        if (!item.name.empty() && item.top + offset < kFirstScreenHeight) {
            firstOnDesk[item.name] = item.width * item.height;
        }
    }
    if (phoneFriendly) {
        double y = 0;
        std::unordered_map<std::string, const Placed*> byId;
        for (const auto& [id, item] : items) {
            byId.emplace(id, &item);
        }
        for (const std::string& id : PhoneColumn(page)) {
            const auto found = byId.find(id);
            // An item hidden on phones takes no room in the column.
            if (found == byId.end() ||
                !PhoneChoiceOf(page.phoneChoices, id, kPhoneHidden).empty()) {
                continue;
            }
            const Placed& item = *found->second;
            const double scale =
                item.width > kColumnWidth && item.width > 0 ? kColumnWidth / item.width : 1;
            if (!item.name.empty() && y < kFirstScreenHeight) {
                firstOnPhone[item.name] = item.width * item.height * scale * scale;
            }
            y += item.name.empty() ? EstimatedTextHeight(item.words, "", kColumnWidth)
                                   : item.height * scale;
        }
    }
    std::map<std::string, std::string> loading;
    for (const auto& [id, item] : items) {
        if (!item.name.empty() && firstOnDesk.count(item.name) == 0 &&
            firstOnPhone.count(item.name) == 0) {
            loading[item.name] = " loading=\"lazy\"";
        }
    }
    for (const auto* first : {&firstOnDesk, &firstOnPhone}) {
        const auto largest =
            std::max_element(first->begin(), first->end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        if (largest != first->end()) {
            loading[largest->first] = " fetchpriority=\"high\"";
        }
    }
    return loading;
}

std::string LargestPicture(const PageRecord& page) {
    std::string largest;
    double area = 0;
    for (const auto& [id, item] : ItemsInOrder(page)) {
        if (!item.name.empty() && item.width * item.height > area) {
            area = item.width * item.height;
            largest = item.name;
        }
    }
    return largest;
}
