#include "site/markup/typed_markup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/text_case.h"

namespace {

constexpr std::array<std::string_view, 27> kKeptTags = {
    "a",  "b",     "big",  "br",     "em",     "font", "h1",  "h2", "h3",
    "h4", "h5",    "h6",   "hr",     "i",      "img",  "li",  "ol", "p",
    "s",  "small", "span", "strike", "strong", "sub",  "sup", "u",  "ul"};
// The tags a browser reopens after the section's end when they are left open.
constexpr std::array<std::string_view, 11> kFormattingTags = {
    "a", "b", "big", "em", "font", "i", "s", "small", "strike", "strong", "u"};
// The kept tags that have no end tag.
constexpr std::array<std::string_view, 3> kVoidTags = {"br", "hr", "img"};
constexpr std::array<std::string_view, 14> kKeptAttributes = {
    "align", "alt",  "border", "color", "face",   "height", "href",
    "id",    "size", "src",    "style", "target", "title",  "width"};
constexpr std::array<std::string_view, 5> kKeptSchemes = {"http", "https", "mailto", "ftp", "tel"};

template <std::size_t N>
bool In(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Attribute {
    std::string name;
    std::string_view value;
};

struct Tag {
    bool end = false;
    std::string name;
    std::vector<Attribute> attributes;
    std::size_t length = 0;
};

// The tag that starts at text[at] ("<" and a letter, or "</" and a letter), read as a browser
// reads it: quoted values may hold ">". False when the text ends before the tag does.
bool ReadTag(std::string_view text, std::size_t at, Tag& tag) {
    std::size_t i = at + 1;
    tag.end = text[i] == '/';
    if (tag.end) {
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '/' && text[i] != '>') {
        ++i;
    }
    tag.name = LowerCase(std::string(text.substr(nameStart, i - nameStart)));
    for (;;) {
        while (i < text.size() && (IsSpace(text[i]) || text[i] == '/')) {
            ++i;
        }
        if (i >= text.size()) {
            return false;
        }
        if (text[i] == '>') {
            tag.length = i + 1 - at;
            return true;
        }
        const std::size_t attributeStart = i++;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '/' && text[i] != '>' &&
               text[i] != '=') {
            ++i;
        }
        Attribute attribute{LowerCase(std::string(text.substr(attributeStart, i - attributeStart))),
                            {}};
        std::size_t afterName = i;
        while (afterName < text.size() && IsSpace(text[afterName])) {
            ++afterName;
        }
        if (afterName < text.size() && text[afterName] == '=') {
            i = afterName + 1;
            while (i < text.size() && IsSpace(text[i])) {
                ++i;
            }
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const std::size_t close = text.find(text[i], i + 1);
                if (close == std::string_view::npos) {
                    return false;
                }
                attribute.value = text.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < text.size() && !IsSpace(text[i]) && text[i] != '>') {
                    ++i;
                }
                attribute.value = text.substr(valueStart, i - valueStart);
            }
        }
        tag.attributes.push_back(std::move(attribute));
    }
}

// An attribute value as the browser hands it on: numeric references and the named ones that
// make a colon or a blank ("&colon;", "&Tab;", "&NewLine;") resolved.
std::string Resolved(std::string_view value) {
    std::string resolved;
    for (std::size_t i = 0; i < value.size();) {
        if (value[i] != '&') {
            resolved += value[i++];
            continue;
        }
        constexpr std::pair<std::string_view, char> kNamed[] = {
            {"&colon;", ':'}, {"&Tab;", '\t'}, {"&NewLine;", '\n'}};
        bool named = false;
        for (const auto& [reference, character] : kNamed) {
            if (value.substr(i, reference.size()) == reference) {
                resolved += character;
                i += reference.size();
                named = true;
                break;
            }
        }
        if (named) {
            continue;
        }
        if (i + 2 < value.size() && value[i + 1] == '#') {
            const bool hex = value[i + 2] == 'x' || value[i + 2] == 'X';
            std::size_t j = i + (hex ? 3 : 2);
            std::uint32_t code = 0;
            const std::size_t digits = j;
            for (; j < value.size(); ++j) {
                const char c = value[j];
                const int digit = IsDigit(c)                    ? c - '0'
                                  : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                : -1;
                if (digit < 0) {
                    break;
                }
                code = std::min<std::uint32_t>(code * (hex ? 16 : 10) + digit, 0x110000);
            }
            if (j > digits) {
                // Only whether a value names a scheme matters: beyond ASCII any mark will do.
                resolved += code < 0x80 ? static_cast<char>(code) : '?';
                i = j < value.size() && value[j] == ';' ? j + 1 : j;
                continue;
            }
        }
        resolved += value[i++];
    }
    return resolved;
}

// An address a visitor may follow: relative, or of a scheme that only leads somewhere.
bool IsSafeAddress(std::string_view value) {
    std::string address;
    for (const char c : Resolved(value)) {
        // Browsers drop tabs and line breaks anywhere in an address, and blanks around it.
        if (c != '\t' && c != '\n' && c != '\r' &&
            !(address.empty() && static_cast<unsigned char>(c) <= ' ')) {
            address += c;
        }
    }
    address = LowerCase(std::move(address));
    if (address.empty() || !IsLetter(address[0])) {
        return true;
    }
    const std::size_t schemeEnd =
        address.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789+-.");
    if (schemeEnd == std::string::npos || address[schemeEnd] != ':') {
        return true;
    }
    return In(kKeptSchemes, std::string_view(address).substr(0, schemeEnd));
}

// The editor's own ids of words ("pagetextitem3~5"): they never equal an item's id, which
// ends with "~", nor the page's own "pagecontainer" and "target".
bool IsWordId(std::string_view value) {
    const std::size_t tilde = value.find('~');
    if (tilde == 0 || tilde == std::string_view::npos || tilde + 1 == value.size()) {
        return false;
    }
    const auto isLetterOrDigit = [](char c) { return IsLetter(c) || IsDigit(c); };
    return std::all_of(value.begin(), value.begin() + tilde, isLetterOrDigit) &&
           std::all_of(value.begin() + tilde + 1, value.end(), IsDigit);
}

// Properties that shape the words and their box; none can lift the section off its place
// (position, top, z-index, transform) and lay it over the page.
constexpr std::array<std::string_view, 31> kKeptProperties = {"background",
                                                              "background-color",
                                                              "background-image",
                                                              "background-position",
                                                              "background-repeat",
                                                              "clear",
                                                              "color",
                                                              "display",
                                                              "float",
                                                              "font",
                                                              "font-family",
                                                              "font-size",
                                                              "font-style",
                                                              "font-variant",
                                                              "font-weight",
                                                              "height",
                                                              "letter-spacing",
                                                              "line-height",
                                                              "list-style",
                                                              "list-style-position",
                                                              "list-style-type",
                                                              "max-height",
                                                              "max-width",
                                                              "text-align",
                                                              "text-decoration",
                                                              "text-indent",
                                                              "text-transform",
                                                              "vertical-align",
                                                              "white-space",
                                                              "width",
                                                              "word-spacing"};

bool IsKeptProperty(std::string_view name) {
    for (const std::string_view side : {"margin", "padding", "border"}) {
        if (name == side || (name.size() > side.size() && name.compare(0, side.size(), side) == 0 &&
                             name[side.size()] == '-')) {
            return true;
        }
    }
    return In(kKeptProperties, name);
}

bool IsSafeStyle(std::string_view value) {
    const std::string style = LowerCase(Resolved(value));
    for (const std::string_view active :
         {"javascript:", "expression(", "behavior:", "-moz-binding", "\\", "/*"}) {
        if (style.find(active) != std::string::npos) {
            return false;
        }
    }
    std::size_t start = 0;
    while (start < style.size()) {
        const std::size_t end = std::min(style.find(';', start), style.size());
        const std::string_view declaration(style.data() + start, end - start);
        const std::size_t colon = declaration.find(':');
        std::string_view name = declaration.substr(0, colon);
        while (!name.empty() && IsSpace(name.front())) {
            name.remove_prefix(1);
        }
        while (!name.empty() && IsSpace(name.back())) {
            name.remove_suffix(1);
        }
        if (!name.empty() && (colon == std::string_view::npos || !IsKeptProperty(name))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool IsKeptAttribute(const Attribute& attribute) {
    if (!In(kKeptAttributes, attribute.name)) {
        return false;
    }
    if (attribute.name == "href" || attribute.name == "src") {
        return IsSafeAddress(attribute.value);
    }
    if (attribute.name == "id") {
        return IsWordId(attribute.value);
    }
    if (attribute.name == "style") {
        return IsSafeStyle(attribute.value);
    }
    return true;
}

bool IsKeptTag(const Tag& tag) {
    if (!In(kKeptTags, tag.name)) {
        return false;
    }
    if (tag.end) {
        return tag.attributes.empty();
    }
    return std::all_of(tag.attributes.begin(), tag.attributes.end(), IsKeptAttribute);
}

// Where a browser starts markup at a "<": a tag, an end tag, a comment or a declaration.
bool StartsMarkup(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size()) {
        return false;
    }
    const char next = text[at + 1];
    return IsLetter(next) || next == '/' || next == '!' || next == '?';
}

// The length of the character reference a browser reads at "&" ("&lt;", "&#60;", "&#x3C;");
// 0 when there is none, and the "&" shows as it stands ("Tom & Jerry", "AT&T").
std::size_t ReferenceAt(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    if (end < text.size() && text[end] == '#') {
        ++end;
        const bool hex = end < text.size() && (text[end] == 'x' || text[end] == 'X');
        end += hex ? 1 : 0;
        const std::size_t digits = end;
        while (end < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[end])) != 0
                                         : IsDigit(text[end]))) {
            ++end;
        }
        return end > digits && end < text.size() && text[end] == ';' ? end + 1 - at : 0;
    }
    const std::size_t letters = end;
    while (end < text.size() && (IsLetter(text[end]) || IsDigit(text[end]))) {
        ++end;
    }
    return end > letters && IsLetter(text[letters]) && end < text.size() && text[end] == ';'
               ? end + 1 - at
               : 0;
}

// Whether the reference is the text editor's own way of writing a character beyond ASCII
// ("&#233;"): it names a letter, never markup.
bool WritesLetterBeyondAscii(std::string_view reference) {
    if (reference.size() < 4 || reference[1] != '#') {
        return false;
    }
    const bool hex = reference[2] == 'x' || reference[2] == 'X';
    const std::string digits(reference.substr(hex ? 3 : 2, reference.size() - (hex ? 4 : 3)));
    return digits.size() <= 7 && std::stoul(digits, nullptr, hex ? 16 : 10) >= 0x80;
}

// Words as typed: a reference the user typed ("&lt;b&gt;") shows as typed, not as the
// character it names; the editor's own references to letters beyond ASCII stay.
void AppendWords(std::string& page, std::string_view words) {
    std::size_t copied = 0;
    for (std::size_t at = words.find('&'); at != std::string_view::npos;
         at = words.find('&', at + 1)) {
        const std::size_t length = ReferenceAt(words, at);
        if (length > 0 && !WritesLetterBeyondAscii(words.substr(at, length))) {
            page.append(words, copied, at + 1 - copied);
            page += "amp;";
            copied = at + 1;
        }
    }
    page.append(words, copied, std::string_view::npos);
}

}  // namespace

void AppendTypedMarkup(std::string& page, std::string_view typed) {
    std::vector<std::string> open;
    // Every element opened, kept or shown as text: the end tag of one shown as text shows as
    // text too, or the browser would take it (an "</a>" gone, a "</p>" making an empty
    // paragraph). An end tag with no opening (the editor's own "</p>") stays.
    std::vector<std::pair<std::string, bool>> opened;
    std::size_t copied = 0;
    for (std::size_t at = typed.find('<'); at != std::string_view::npos;
         at = typed.find('<', at + 1)) {
        if (!StartsMarkup(typed, at)) {
            continue;
        }
        Tag tag;
        const bool tagLike =
            IsLetter(typed[at + 1]) ||
            (typed[at + 1] == '/' && at + 2 < typed.size() && IsLetter(typed[at + 2]));
        const bool read = tagLike && ReadTag(typed, at, tag);
        bool kept = read && IsKeptTag(tag);
        if (read && In(kKeptTags, tag.name) && !In(kVoidTags, tag.name)) {
            if (!tag.end) {
                opened.emplace_back(tag.name, kept);
            } else {
                const auto last =
                    std::find_if(opened.rbegin(), opened.rend(),
                                 [&](const auto& element) { return element.first == tag.name; });
                if (last != opened.rend()) {
                    kept = kept && last->second;
                    opened.erase(std::next(last).base());
                }
            }
        }
        if (kept) {
            if (In(kFormattingTags, tag.name)) {
                if (!tag.end) {
                    open.push_back(tag.name);
                } else {
                    const auto last = std::find(open.rbegin(), open.rend(), tag.name);
                    if (last != open.rend()) {
                        open.erase(std::next(last).base());
                    }
                }
            }
            // The words before it as typed, the tag as written.
            AppendWords(page, typed.substr(copied, at - copied));
            page.append(typed, at, tag.length);
            copied = at + tag.length;
            at += tag.length - 1;
            continue;
        }
        AppendWords(page, typed.substr(copied, at - copied));
        page += "&lt;";
        copied = at + 1;
    }
    AppendWords(page, typed.substr(copied));
    for (auto name = open.rbegin(); name != open.rend(); ++name) {
        page += "</" + *name + ">";
    }
}
