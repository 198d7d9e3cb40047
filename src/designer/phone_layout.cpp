#include "designer/phone_layout.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "common/fields.h"
#include "designer/item_walk.h"

namespace {

struct PlacedItem {
    std::string id;
    double left = 0;
    double top = 0;
    double bottom = 0;
};

double Number(const std::string& text) {
    return text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr);
}

// The id inside a CSS string in quotes: nothing in it can end the string or the style element.
std::string CssString(const std::string& text) {
    std::string quoted = "'";
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
    return quoted + "'";
}

}  // namespace

std::vector<std::string> ReadingOrder(const std::string& stylesData) {
    std::vector<PlacedItem> items;
    std::set<std::string> seen;
    for (const std::string& record : SplitFields(stylesData, "|")) {
        const std::string id = RecordId(record);
        if (id.empty() || !seen.insert(id).second) {
            continue;
        }
        const std::string style = FieldAt(record, 0, "^");
        // A picture's size follows its record; a text section's is in its style.
        const bool picture = record.find('^') != std::string::npos;
        PlacedItem item{id, Number(StyleNumber(style, "left")), Number(StyleNumber(style, "top"))};
        item.bottom =
            item.top + Number(picture ? FieldAt(record, 2, "^") : StyleNumber(style, "height"));
        items.push_back(item);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const PlacedItem& a, const PlacedItem& b) { return a.top < b.top; });
    std::vector<std::string> order;
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

std::string PhoneHead(const PageRecord& page) {
    // The items stand in the container, or in the body of a full-screen page.
    const std::string parent = page.hasContainer() ? "#pagecontainer" : "body";
    const std::string item = parent + ">div";
    const std::vector<std::string> order = ReadingOrder(page.stylesData);
    std::string head =
        "<meta name='viewport' content='width=device-width, initial-scale=1'>"
        "<style>@media (max-width:599px){" +
        parent +
        "{display:flex!important;flex-direction:column;position:static!important;"
        "width:auto!important;height:auto!important}" +
        item +
        "{position:static!important;left:auto!important;top:auto!important;width:auto!important;"
        "height:auto!important;max-width:100%;box-sizing:border-box;margin:0 0 8px;"
        "overflow-wrap:anywhere;order:" +
        std::to_string(order.size()) + "}" + item + " img," + item +
        " table{max-width:100%;height:auto}";
    for (std::size_t i = 0; i < order.size(); ++i) {
        head += item + "[id=" + CssString(order[i]) + "]{order:" + std::to_string(i) + "}";
    }
    return head + "}</style>";
}
