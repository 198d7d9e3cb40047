#include "site/phone/text_extent.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>

#include "common/text_case.h"
#include "site/markup/item_walk.h"

namespace {

// A browser's default text, and the proportions of a common sans-serif face: a line about
// 1.15 of the font's size, a character about half of it on average.
constexpr double kDefaultFontPx = 16;
constexpr double kLineHeightPerPx = 1.15;
constexpr double kCharacterWidthPerPx = 0.5;
constexpr double kPxPerPt = 4.0 / 3.0;

// The largest font size the markup sets ("font-size:12pt" as the editor writes it, or px).
double LargestFontPx(std::string_view html) {
    double largest = 0;
    constexpr std::string_view kFontSize = "font-size:";
    for (std::size_t at = html.find(kFontSize); at != std::string_view::npos;
         at = html.find(kFontSize, at + 1)) {
        std::size_t value = at + kFontSize.size();
        while (value < html.size() && html[value] == ' ') {
            ++value;
        }
        double size = 0;
        const auto [end, error] =
            std::from_chars(html.data() + value, html.data() + html.size(), size);
        if (error != std::errc()) {
            continue;
        }
        const std::string_view unit = html.substr(static_cast<std::size_t>(end - html.data()), 2);
        largest = std::max(largest, unit == "pt" ? size * kPxPerPt : size);
    }
    return largest > 0 ? largest : kDefaultFontPx;
}

// A tag's name in lower case, without the "/" of an end tag.
std::string TagName(std::string_view tag) {
    const std::size_t start = !tag.empty() && tag.front() == '/' ? 1 : 0;
    const std::size_t end = tag.find_first_not_of(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", start);
    return LowerCase(
        std::string(tag.substr(start, end == std::string_view::npos ? end : end - start)));
}

// Tags after which text starts on a new line.
bool BreaksLine(const std::string& name) {
    return name == "br" || name == "p" || name == "li" || name == "hr" || name == "ul" ||
           name == "ol" || (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6');
}

}  // namespace

double EstimatedTextHeight(std::string_view html, std::string_view style, double room) {
    const double padding = StyleNumberValue(style, "padding");
    const double border = StyleNumberValue(style, "border-width");
    double width = StyleNumberValue(style, "width");
    if (width <= 0) {
        width = room - 2 * padding - 2 * border;
    }
    const double fontPx = LargestFontPx(html);
    const double characterWidth = fontPx * kCharacterWidthPerPx;
    width = std::max(width, characterWidth);

    double lines = 0;
    double paragraphs = 0;
    double characters = 0;
    bool blank = true;
    const auto endLine = [&](bool always) {
        if (characters > 0 || always) {
            lines += std::max(1.0, std::ceil(characters * characterWidth / width));
        }
        characters = 0;
        blank = true;
    };
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos) {
                break;
            }
            const std::string_view tag = html.substr(i + 1, close - i - 1);
            const std::string name = TagName(tag);
            if (BreaksLine(name)) {
                // A line break makes a line even when nothing stands on it.
                endLine(name == "br");
            }
            if (name == "p" && tag.front() != '/') {
                ++paragraphs;
            }
            i = close;
        } else if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
            // Blanks in a row show as one, and none at a line's start.
            if (!blank) {
                characters += 1;
                blank = true;
            }
        } else {
            if (c == '&') {
                const std::size_t end = html.find(';', i);
                if (end != std::string_view::npos && end - i < 10) {
                    i = end;
                }
            }
            // The bytes after the first of a UTF-8 character take no room of their own.
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                characters += 1;
            }
            blank = false;
        }
    }
    endLine(false);
    // Paragraphs keep a line's worth of margin above and below, shared between neighbours.
    const double margins = paragraphs > 0 ? (paragraphs + 1) * fontPx : 0;
    return std::max(lines, 1.0) * fontPx * kLineHeightPerPx + margins + 2 * padding + 2 * border;
}

std::unordered_map<std::string_view, std::string_view> SectionsById(const PageRecord& page) {
    std::unordered_map<std::string_view, std::string_view> texts;
    texts.reserve(page.texts.size());
    for (const std::string& entry : page.texts) {
        const std::size_t tilde = entry.find('~');
        if (tilde != std::string::npos) {
            texts.emplace(std::string_view(entry).substr(0, tilde + 1),
                          std::string_view(entry).substr(tilde + 1));
        }
    }
    return texts;
}
