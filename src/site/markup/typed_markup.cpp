#include "site/markup/typed_markup.h"

#include <algorithm>
#include <array>
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

bool IsSafeStyle(std::string_view value) {
    const std::string style = LowerCase(Resolved(value));
    for (const std::string_view active :
         {"javascript:", "expression(", "behavior:", "-moz-binding"}) {
        if (style.find(active) != std::string::npos) {
            return false;
        }
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

}  // namespace

void AppendTypedMarkup(std::string& page, std::string_view typed) {
    std::vector<std::string> open;
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
        if (tagLike && ReadTag(typed, at, tag) && IsKeptTag(tag)) {
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
            at += tag.length - 1;
            continue;
        }
        page.append(typed, copied, at - copied);
        page += "&lt;";
        copied = at + 1;
    }
    page.append(typed, copied, std::string_view::npos);
    for (auto name = open.rbegin(); name != open.rend(); ++name) {
        page += "</" + *name + ">";
    }
}
