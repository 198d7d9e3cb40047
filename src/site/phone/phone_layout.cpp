#include "site/phone/phone_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "common/fields.h"
#include "common/hex_text.h"
#include "common/number_text.h"
#include "site/markup/item_walk.h"
#include "site/phone/text_extent.h"

namespace {

struct PlacedItem {
    std::string_view id;
    double left = 0;
    double top = 0;
    double bottom = 0;
    // Read only where a full-screen page's width is asked for.
    double right = 0;
};

// The left, top and height a record's style gives ("top: 150px" or "top:150px"; "top" is not
// "margin-top").
struct StylePlace {
    double left = 0;
    double top = 0;
    double height = 0;
};

StylePlace PlaceIn(std::string_view style) {
    return {StyleNumberValue(style, "left"), StyleNumberValue(style, "top"),
            StyleNumberValue(style, "height")};
}

// The id as a CSS string in quotes: nothing in it can end the string or the style element.
void AppendCssString(std::string& quoted, std::string_view text) {
    quoted += '\'';
    for (const char c : text) {
        if (c == '\'' || c == '\\' || c == '<' || c == '>' || c == '\n' || c == '\r') {
            quoted += '\\';
            AppendHexByte(quoted, static_cast<unsigned char>(c));
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
}

// A full-screen page is read as a common desktop shows it.
constexpr double kFullScreenWidth = 1280;

// The container's width; 0 for a full-screen page.
double ContainerWidth(const PageRecord& page) {
    double width = 0;
    std::from_chars(page.pageWidth.data(), page.pageWidth.data() + page.pageWidth.size(), width);
    return width;
}

// How wide an item is: a picture's record ends "^width^height"; a section's width is its
// style's, with its padding and border on both sides.
double ItemWidth(std::string_view record, std::size_t caret) {
    if (caret != std::string_view::npos) {
        return LeadingReal(FieldAt(record, 1, "^"));
    }
    const double border =
        std::max(StyleNumberValue(record, "border-width"), StyleNumberValue(record, "border"));
    return StyleNumberValue(record, "width") + 2 * (StyleNumberValue(record, "padding") + border);
}

// Every item of the layout once, where its record first places it, as views into the styles
// data; with its right edge when asked.
std::vector<PlacedItem> PlacedItems(const PageRecord& page, bool withRight) {
    const std::string_view all = page.stylesData;
    const std::unordered_map<std::string_view, std::string_view> texts = SectionsById(page);
    double containerWidth = ContainerWidth(page);
    if (containerWidth <= 0) {
        containerWidth = kFullScreenWidth;
    }
    std::vector<PlacedItem> items;
    items.reserve(all.size() / 64 + 1);
    std::unordered_set<std::string_view> seen;
    seen.reserve(all.size() / 64 + 1);
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t end = all.find('|', start);
        if (end == std::string_view::npos) {
            end = all.size();
        }
        const std::string_view record = all.substr(start, end - start);
        start = end + 1;
        const std::string_view id = RecordIdIn(record);
        if (id.empty()) {
            continue;
        }
        // An id written twice counts where it stands first.
        if (!seen.insert(id).second) {
            continue;
        }
        // A picture's size follows its record; a text section's is in its style.
        const std::size_t caret = record.find('^');
        const StylePlace place = PlaceIn(record.substr(0, caret));
        double height = place.height;
        if (caret == std::string_view::npos && height <= 0) {
            const auto text = texts.find(id);
            height = EstimatedTextHeight(text == texts.end() ? std::string_view() : text->second,
                                         record, containerWidth - place.left);
        } else if (caret != std::string_view::npos) {
            // A picture record ends "^width^height".
            height = 0;
            const std::size_t sizes = record.find('^', caret + 1);
            if (sizes != std::string_view::npos) {
                std::from_chars(record.data() + sizes + 1, record.data() + record.size(), height);
            }
        }
        const double right = withRight ? place.left + ItemWidth(record, caret) : 0;
        items.push_back({id, place.left, place.top, place.top + height, right});
    }
    return items;
}

// The reading order of the placed items.
std::vector<std::string_view> OrderOf(std::vector<PlacedItem> items) {
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

std::vector<std::string> ReadingOrder(const PageRecord& page) {
    const std::vector<std::string_view> order = OrderOf(PlacedItems(page, false));
    return std::vector<std::string>(order.begin(), order.end());
}

namespace {

// The phone order of items in reading order.
std::vector<std::string_view> ColumnOf(const PageRecord& page,
                                       std::vector<std::string_view> order) {
    if (page.phoneChoices.empty()) {
        return order;
    }
    std::vector<std::pair<int, std::string_view>> placed;
    std::vector<std::string_view> rest;
    rest.reserve(order.size());
    for (const std::string_view id : order) {
        const std::string place = PhoneChoiceOf(page.phoneChoices, std::string(id), kPhoneOrder);
        if (place.empty()) {
            rest.push_back(id);
        } else {
            placed.emplace_back(std::stoi(place), id);
        }
    }
    // Equal places (a copy keeps its original's) stay in reading order.
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    order.clear();
    for (const auto& [place, id] : placed) {
        order.push_back(id);
    }
    order.insert(order.end(), rest.begin(), rest.end());
    return order;
}

// Body margins (8) and the container's borders (1) beside the column: a picture as wide as
// the screen reaches over them.
constexpr int kBodyMargin = 8;
constexpr int kContainerBorder = 1;
// What a desktop's vertical scroll bar may take of the window's width.
constexpr int kScrollBarAllowance = 17;
// Windows between phone and container width are scaled in steps of this many pixels.
constexpr int kScaleStep = 40;
constexpr int kPhoneWidthLimit = 600;

// Between phones and the page's width, the container (or a full-screen page's body, with its
// margins) scaled in steps so that it fits the narrowest window of each step, scroll bar
// included, without a sideways scroll.
std::string FittedPage(const PageRecord& page, const std::vector<PlacedItem>& items) {
    int width = static_cast<int>(ContainerWidth(page));
    std::string scaled = "#pagecontainer";
    // What stands beside the scaled part, unscaled: the body's margins around a container.
    int beside = 2 * kBodyMargin + kScrollBarAllowance;
    if (page.hasContainer()) {
        width += 2 * kContainerBorder;
    } else {
        scaled = "body";
        double right = 0;
        for (const PlacedItem& item : items) {
            right = std::max(right, item.right);
        }
        width = static_cast<int>(std::ceil(right)) + 2 * kBodyMargin;
        beside = kScrollBarAllowance;
    }
    if (width <= 2 * kBodyMargin + 2 * kContainerBorder) {
        return std::string();
    }
    const int fits = width + beside;
    std::string rules;
    for (int low = kPhoneWidthLimit; low < fits; low += kScaleStep) {
        const int high = std::min(low + kScaleStep, fits) - 1;
        const int thousandths = (low - beside) * 1000 / width;
        const std::string zoom = std::to_string(1000 + thousandths).substr(1);
        rules += "@media (min-width:" + std::to_string(low) +
                 "px) and (max-width:" + std::to_string(high) + "px){" + scaled + "{zoom:0." +
                 zoom + "}}";
    }
    return rules;
}

// The rules of the user's choices for one item of the column.
void AppendChoices(std::string& head, const std::string& item, std::string_view id,
                   const std::map<std::string, std::string>& choices, PhoneShown shown,
                   int sideMargin) {
    std::string selector = item.substr(0, item.size() - 3) + "[id=";
    AppendCssString(selector, id);
    selector += ']';
    const bool picture = !id.empty() && id.front() == 'd';
    for (const auto& [name, value] : choices) {
        if (name == kPhoneHidden) {
            head += selector +
                    (shown == PhoneShown::Published ? "{display:none!important}" : "{opacity:.35}");
        } else if (name == kPhoneWidth && picture && value == kPhoneFullWidth) {
            const std::string margin = std::to_string(-sideMargin) + "px";
            head += selector + "{margin-left:" + margin + ";margin-right:" + margin +
                    ";max-width:none}" + selector + " img{width:100%}";
        } else if (name == kPhoneTextSize && !picture && value != "0") {
            head += selector + (value == "1" ? "{zoom:1.2}" : "{zoom:0.85}");
        }
    }
}

}  // namespace

std::vector<std::string> PhoneColumn(const PageRecord& page) {
    const std::vector<std::string_view> order = ColumnOf(page, OrderOf(PlacedItems(page, false)));
    return std::vector<std::string>(order.begin(), order.end());
}

std::string PhoneHead(const PageRecord& page, PhoneShown shown) {
    // The items stand in the container, or in the body of a full-screen page.
    const std::string parent = page.hasContainer() ? "#pagecontainer" : "body";
    const std::string item = parent + ">div";
    // A full-screen page's width is where its rightmost item ends.
    const std::vector<PlacedItem> items = PlacedItems(page, !page.hasContainer());
    const std::vector<std::string_view> order = ColumnOf(page, OrderOf(items));
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
    const std::string spacing = PhoneChoiceOf(page.phoneChoices, "", kPhoneSpacing);
    if (!spacing.empty()) {
        head += item + "{margin-bottom:" + spacing + "px}";
    }
    // Every item the page writes has a record, so every one gets its place.
    head.reserve(head.size() + order.size() * 40 + 16);
    const int sideMargin = kBodyMargin + (page.hasContainer() ? kContainerBorder : 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        head += "[id=";
        AppendCssString(head, order[i]);
        head += "]{order:";
        head += std::to_string(i);
        head += '}';
        if (!page.phoneChoices.empty()) {
            const auto choices = page.phoneChoices.find(std::string(order[i]));
            if (choices != page.phoneChoices.end()) {
                AppendChoices(head, item, order[i], choices->second, shown, sideMargin);
            }
        }
    }
    head += '}';
    head += FittedPage(page, items);
    head += "</style>";
    return head;
}
