#include "designer/phone_layout.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <string_view>
#include <utility>

namespace {

struct PlacedItem {
    std::string_view id;
    double left = 0;
    double top = 0;
    double bottom = 0;
};

// The left, top and height a style gives ("top: 150px" or "top:150px"), read in one pass over
// its declarations; "top" is not "margin-top". The styles data is read in place.
struct StylePlace {
    double left = 0;
    double top = 0;
    double height = 0;
};

double NumberAt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    double number = 0;
    std::from_chars(text.data() + at, text.data() + text.size(), number);
    return number;
}

// The first letter tells the three names apart before the whole name is compared.
bool Named(std::string_view name, std::string_view wanted) {
    return name.size() == wanted.size() && name.front() == wanted.front() && name == wanted;
}

StylePlace PlaceIn(std::string_view style) {
    StylePlace place;
    // Declarations follow each ";"; the first one follows "style='".
    std::size_t at = 0;
    bool first = true;
    while (at < style.size()) {
        std::size_t end = style.find(';', at);
        if (end == std::string_view::npos) {
            end = style.size();
        }
        std::string_view declaration = style.substr(at, end - at);
        at = end + 1;
        if (first) {
            first = false;
            const std::size_t open = declaration.find("style='");
            declaration.remove_prefix(open == std::string_view::npos ? 0 : open + 7);
        }
        while (!declaration.empty() && declaration.front() == ' ') {
            declaration.remove_prefix(1);
        }
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view name = declaration.substr(0, colon);
        while (!name.empty() && name.back() == ' ') {
            name.remove_suffix(1);
        }
        const std::string_view value = declaration.substr(colon + 1);
        if (name.empty()) {
            continue;
        }
        if (Named(name, "left")) {
            place.left = NumberAt(value);
        } else if (Named(name, "top")) {
            place.top = NumberAt(value);
        } else if (Named(name, "height")) {
            place.height = NumberAt(value);
        }
    }
    return place;
}

// The field after the n-th "^" of a picture record, as a number.
double FieldValue(std::string_view record, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        at = record.find('^', at);
        if (at == std::string_view::npos) {
            return 0;
        }
        ++at;
    }
    double number = 0;
    std::from_chars(record.data() + at, record.data() + record.size(), number);
    return number;
}

// The id as a CSS string in quotes: nothing in it can end the string or the style element.
void AppendCssString(std::string& quoted, std::string_view text) {
    quoted += '\'';
    for (const char c : text) {
        if (c == '\'' || c == '\\' || c == '<' || c == '>' || c == '\n' || c == '\r') {
            constexpr char kDigits[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(c);
            quoted += '\\';
            quoted += kDigits[byte >> 4];
            quoted += kDigits[byte & 0x0F];
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
}

// The reading order as views into the styles data.
std::vector<std::string_view> OrderOf(std::string_view all) {
    constexpr std::string_view kDivStart = "<div id='";
    std::vector<PlacedItem> items;
    items.reserve(all.size() / 64 + 1);
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t end = all.find('|', start);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        const std::string_view record = all.substr(start, end - start);
        start = end + 1;
        // The record's id, as RecordId reads it: from behind "<div id='" to the first "~".
        const std::size_t tilde =
            record.size() > kDivStart.size() ? record.find('~', kDivStart.size()) : record.npos;
        if (tilde == std::string_view::npos) {
            continue;
        }
        // A picture's size follows its record; a text section's is in its style.
        const std::size_t caret = record.find('^');
        const StylePlace place = PlaceIn(record.substr(0, caret));
        items.push_back(
            {record.substr(kDivStart.size(), tilde + 1 - kDivStart.size()), place.left, place.top,
             place.top + (caret == std::string_view::npos ? place.height : FieldValue(record, 2))});
    }
    // An id written twice counts where it stands first: ids are compared by their hashes
    // first, sorted as numbers, and by their text only where the hashes meet.
    std::vector<std::pair<std::size_t, std::size_t>> byHash(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        byHash[i] = {std::hash<std::string_view>()(items[i].id), i};
    }
    std::sort(byHash.begin(), byHash.end());
    std::vector<bool> repeated(items.size(), false);
    for (std::size_t i = 1; i < byHash.size(); ++i) {
        for (std::size_t j = i; j-- > 0 && byHash[j].first == byHash[i].first;) {
            if (items[byHash[j].second].id == items[byHash[i].second].id) {
                repeated[byHash[i].second] = true;
                break;
            }
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!repeated[i]) {
            items[kept++] = items[i];
        }
    }
    items.resize(kept);
    std::stable_sort(items.begin(), items.end(),
                     [](const PlacedItem& a, const PlacedItem& b) { return a.top < b.top; });
    std::vector<std::string_view> order;
    order.reserve(items.size());
    for (auto rowStart = items.begin(); rowStart != items.end();) {
        double rowBottom = rowStart->bottom;
        auto rowEnd = rowStart + 1;
        while (rowEnd != items.end() && rowEnd->top < rowBottom) {
            rowBottom = std::max(rowBottom, rowEnd->bottom);
            ++rowEnd;
        }
        std::stable_sort(rowStart, rowEnd,
                         [](const PlacedItem& a, const PlacedItem& b) { return a.left < b.left; });
        for (auto item = rowStart; item != rowEnd; ++item) {
            order.push_back(item->id);
        }
        rowStart = rowEnd;
    }
    return order;
}

}  // namespace

std::vector<std::string> ReadingOrder(const std::string& stylesData) {
    const std::vector<std::string_view> order = OrderOf(stylesData);
    return std::vector<std::string>(order.begin(), order.end());
}

std::string PhoneHead(const PageRecord& page) {
    // The items stand in the container, or in the body of a full-screen page.
    const std::string parent = page.hasContainer() ? "#pagecontainer" : "body";
    const std::string item = parent + ">div";
    const std::vector<std::string_view> order = OrderOf(page.stylesData);
    std::string head =
        "<meta name='viewport' content='width=device-width, initial-scale=1'>"
        "<style>@media (max-width:599px){" +
        parent +
        "{display:flex!important;flex-direction:column;position:static!important;"
        "width:auto!important;height:auto!important}" +
        item +
        "{position:static!important;left:auto!important;top:auto!important;width:auto!important;"
        "height:auto!important;max-width:100%;box-sizing:border-box;margin:0 0 8px;"
        "overflow-wrap:anywhere}" +
        item + " img," + item + " table{max-width:100%;height:auto}";
    // Every item the page writes has a record, so every one gets its place.
    head.reserve(head.size() + order.size() * 40 + 16);
    for (std::size_t i = 0; i < order.size(); ++i) {
        head += "[id=";
        AppendCssString(head, order[i]);
        head += "]{order:";
        head += std::to_string(i);
        head += '}';
    }
    head += "}</style>";
    return head;
}
