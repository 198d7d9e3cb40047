#include "site/site_fonts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "common/utf8.h"
#include "files/content_hash.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "store/page_store.h"

const char* const kFontCacheFolder = "fontcache";

namespace {

constexpr std::string_view kFontExtension = ".woff2";
constexpr std::size_t kNameHashDigits = 10;

// Every subset holds these too: a digit or a comma added later changes no file.
const std::u32string& BasicCharacters() {
    static const std::u32string basic = [] {
        std::u32string characters;
        for (char32_t c = 0x20; c <= 0x7E; ++c) {
            if (!((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))) {
                characters += c;
            }
        }
        characters += U"\u00A0\u2018\u2019\u201C\u201D\u2013\u2014\u2026\u20AC";
        return characters;
    }();
    return basic;
}

// A character reference's character; nothing for a name this reading does not know.
std::optional<char32_t> ReferenceAt(std::string_view text, std::size_t& at) {
    const std::size_t end = text.find(';', at);
    if (end == std::string_view::npos || end - at > 10) {
        return std::nullopt;
    }
    const std::string_view name = text.substr(at + 1, end - at - 1);
    at = end + 1;
    if (!name.empty() && name[0] == '#') {
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        const std::string digits(name.substr(hex ? 2 : 1));
        if (digits.empty() || digits.size() > 7) {
            return std::nullopt;
        }
        char* rest = nullptr;
        const unsigned long value = std::strtoul(digits.c_str(), &rest, hex ? 16 : 10);
        return *rest == '\0' && value <= 0x10FFFF ? std::optional<char32_t>(value) : std::nullopt;
    }
    static const std::pair<std::string_view, char32_t> kNamed[] = {
        {"amp", U'&'},  {"lt", U'<'},    {"gt", U'>'},
        {"quot", U'"'}, {"apos", U'\''}, {"nbsp", U'\u00A0'}};
    for (const auto& [known, character] : kNamed) {
        if (name == known) {
            return character;
        }
    }
    return std::nullopt;
}

// The value of the tag's attribute, quoted or bare; empty when it has none.
std::string AttributeOf(std::string_view tag, std::string_view attribute) {
    const std::string lower = LowerCase(std::string(tag));
    std::size_t at = 0;
    while ((at = lower.find(attribute, at)) != std::string::npos) {
        const bool startsWord = at > 0 && std::isspace(static_cast<unsigned char>(lower[at - 1]));
        std::size_t value = at + attribute.size();
        while (value < tag.size() && tag[value] == ' ') {
            ++value;
        }
        if (!startsWord || value >= tag.size() || tag[value] != '=') {
            at += attribute.size();
            continue;
        }
        ++value;
        while (value < tag.size() && tag[value] == ' ') {
            ++value;
        }
        if (value < tag.size() && (tag[value] == '\'' || tag[value] == '"')) {
            const std::size_t close = tag.find(tag[value], value + 1);
            return std::string(tag.substr(value + 1, close == std::string_view::npos
                                                         ? std::string_view::npos
                                                         : close - value - 1));
        }
        const std::size_t close = tag.find_first_of(" >", value);
        return std::string(tag.substr(
            value, close == std::string_view::npos ? std::string_view::npos : close - value));
    }
    return std::string();
}

std::u32string Decoded(std::string_view text) {
    std::u32string characters;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t amp = text.find('&', at);
        characters += DecodeUtf8(text.substr(at, amp == std::string_view::npos ? amp : amp - at));
        if (amp == std::string_view::npos) {
            break;
        }
        at = amp;
        if (const std::optional<char32_t> character = ReferenceAt(text, at)) {
            characters += *character;
        } else if (at == amp) {
            characters += U'&';
            ++at;
        }
    }
    return characters;
}

// A section's markup read as the browser shows it: the face of each font tag, with bold and
// italic as the tags around the text set them.
void AddMarkupFaces(std::string_view html, FaceCharacters& faces) {
    std::vector<std::string> families;
    int bold = 0;
    int italic = 0;
    std::size_t at = 0;
    while (at < html.size()) {
        if (html[at] == '<') {
            const std::size_t end = html.find('>', at);
            if (end == std::string_view::npos) {
                break;
            }
            const std::string_view tag = html.substr(at + 1, end - at - 1);
            const bool closing = !tag.empty() && tag[0] == '/';
            const std::string name = LowerCase(std::string(
                tag.substr(closing ? 1 : 0,
                           tag.find_first_of(" \t\r\n", closing ? 1 : 0) - (closing ? 1 : 0))));
            const int step = closing ? -1 : 1;
            if (name == "font") {
                if (closing) {
                    if (!families.empty()) {
                        families.pop_back();
                    }
                } else {
                    const std::u32string face = Decoded(AttributeOf(tag, "face"));
                    families.push_back(face.empty() && !families.empty() ? families.back()
                                                                         : EncodeUtf8(face));
                }
            } else if (name == "b" || name == "strong") {
                bold = std::max(0, bold + step);
            } else if (name == "i" || name == "em") {
                italic = std::max(0, italic + step);
            }
            at = end + 1;
            continue;
        }
        const std::size_t next = html.find('<', at);
        const std::string_view text =
            html.substr(at, next == std::string_view::npos ? next : next - at);
        at = next == std::string_view::npos ? html.size() : next;
        if (families.empty() || families.back().empty()) {
            continue;
        }
        std::set<char32_t>& shown = faces[{families.back(), bold > 0, italic > 0}];
        for (const char32_t character : Decoded(text)) {
            if (character >= 0x20) {
                shown.insert(character);
            }
        }
    }
}

void AddMenuFaces(const SiteMenu& menu, const PageRecord& page, FaceCharacters& faces) {
    // The current page's entry is bold.
    for (const bool bold : {false, true}) {
        std::set<char32_t>& shown = faces[{menu.face, bold, false}];
        const auto add = [&](const std::string& label) {
            for (const char32_t character : DecodeUtf8(label)) {
                shown.insert(character);
            }
        };
        for (const auto& [file, label] : menu.pages) {
            add(label);
        }
        for (const auto& [file, title] : page.sitePages) {
            add(MenuLabel(file, title));
        }
    }
}

std::string Slug(const std::string& family) {
    std::string slug;
    for (const char c : family) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    return slug.empty() ? std::string("font") : slug;
}

// A family as a CSS string can hold it: only what family names are made of.
std::string CssFamily(const std::string& family) {
    std::string kept;
    for (const char c : family) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == ' ' || c == '-' || c == '_' ||
            c == '.' || (static_cast<unsigned char>(c) & 0x80) != 0) {
            kept += c;
        }
    }
    return kept;
}

std::string FileKey(const MatchedFont& font, const std::set<char32_t>& characters) {
    std::error_code error;
    const auto size = std::filesystem::file_size(font.path, error);
    const auto time = std::filesystem::last_write_time(font.path, error).time_since_epoch();
    std::u32string all(characters.begin(), characters.end());
    return ContentHashOfText(font.path + "|" + std::to_string(font.index) + "|" +
                             std::to_string(size) + "|" + std::to_string(time.count()) + "|" +
                             EncodeUtf8(all));
}

}  // namespace

void AddPageFaces(const PageRecord& page, FaceCharacters& faces) {
    for (std::size_t i = 0; i < page.texts.size(); ++i) {
        const std::string& entry = page.texts[i];
        if (i < page.richTexts.size()) {
            if (const std::optional<SiteMenu> menu = ReadSiteMenu(page.richTexts[i])) {
                AddMenuFaces(*menu, page, faces);
                continue;
            }
        }
        const std::size_t markup = entry.find('<');
        if (markup != std::string::npos) {
            AddMarkupFaces(std::string_view(entry).substr(markup), faces);
        }
    }
}

FaceCharacters FolderFaces(PageStore& store, const std::string& folder) {
    FaceCharacters faces;
    const std::vector<std::pair<std::string, std::string>> pages = store.sitePages(folder);
    for (PageRecord& record : store.folderSections(folder)) {
        record.sitePages = pages;
        AddPageFaces(record, faces);
    }
    return faces;
}

FaceStanding StandingOf(const FontFace& face, const std::string& workingFolder) {
    const std::optional<MatchedFont> matched = MatchFont(face, workingFolder);
    if (!matched) {
        return FaceStanding::Missing;
    }
    if (!matched->travels) {
        return FaceStanding::OnlyHere;
    }
    const std::optional<std::string> bytes = ReadTextFile(matched->path);
    return bytes && LicenceOf(*bytes, static_cast<unsigned>(matched->index)) ==
                        FontLicence::Embeddable
               ? FaceStanding::Travels
               : FaceStanding::Restricted;
}

std::vector<std::string> FontFindings(const FaceCharacters& faces, bool siteFonts,
                                      const std::string& workingFolder) {
    std::vector<std::string> findings;
    if (!faces.empty() && !siteFonts) {
        findings.push_back(
            "Fonts travel with the site is off: visitors see the sections in the faces their "
            "own computers have, and the lines break elsewhere (Page > Site Options).");
    }
    for (const auto& [face, characters] : faces) {
        const std::string name = FaceName(face);
        switch (StandingOf(face, workingFolder)) {
            case FaceStanding::Travels:
                break;
            case FaceStanding::Restricted:
                findings.push_back(name +
                                   ": the licence of its font forbids putting it in a page, so "
                                   "visitors see another face. Choose a face the text editor "
                                   "lists first.");
                break;
            case FaceStanding::OnlyHere:
                findings.push_back(name +
                                   " is only on this computer and does not travel with the "
                                   "site. Choose a face the text editor lists first, or add "
                                   "its font file there.");
                break;
            case FaceStanding::Missing:
                findings.push_back(name +
                                   " is not on this computer: the editor and every visitor show "
                                   "another face. Choose a face the text editor lists first.");
                break;
        }
    }
    return findings;
}

SiteFontSet FolderFonts::prepare(PageStore& store, const std::string& folder,
                                 const PageRecord* current) {
    const long long generation = store.generation();
    if (folder != folder_ || generation != generation_) {
        stored_ = FolderFaces(store, folder);
        folder_ = folder;
        generation_ = generation;
    }
    if (current == nullptr) {
        return fonts_.prepare(stored_);
    }
    FaceCharacters faces = stored_;
    AddPageFaces(*current, faces);
    return fonts_.prepare(faces);
}

std::string FaceName(const FontFace& face) {
    return face.family + (face.bold ? " bold" : "") + (face.italic ? " italic" : "");
}

SiteFontSet SiteFonts::prepare(const FaceCharacters& faces) {
    SiteFontSet set;
    // The faces one file shows under one family name share its subset.
    struct FileUse {
        MatchedFont font;
        std::set<char32_t> characters;
        std::vector<FontFace> shows;
    };
    std::map<std::pair<std::string, std::string>, FileUse> files;
    for (const auto& [face, characters] : faces) {
        const std::optional<MatchedFont> matched = MatchFont(face, workingFolder_);
        if (!matched) {
            set.missing.push_back(FaceName(face));
            continue;
        }
        if (!matched->travels) {
            set.localOnly.push_back(FaceName(face));
            continue;
        }
        FileUse& use = files[{face.family, matched->path + "#" + std::to_string(matched->index)}];
        use.font = *matched;
        use.characters.insert(characters.begin(), characters.end());
        use.shows.push_back(face);
    }
    const std::u32string& basic = BasicCharacters();
    const std::string cache = JoinPath(workingFolder_, kFontCacheFolder);
    for (auto& [key, use] : files) {
        const MatchedFont& font = use.font;
        std::set<char32_t>& characters = use.characters;
        characters.insert(basic.begin(), basic.end());
        const std::string cachedName = FileKey(font, characters) + std::string(kFontExtension);
        const std::string cachedPath = JoinPath(cache, cachedName);
        std::error_code error;
        auto named = names_.find(cachedName);
        if (named == names_.end() || !std::filesystem::exists(cachedPath, error)) {
            std::optional<std::string> woff2 = ReadTextFile(cachedPath);
            if (!woff2 || woff2->empty()) {
                const std::optional<std::string> bytes = ReadTextFile(font.path);
                if (!bytes || LicenceOf(*bytes, static_cast<unsigned>(font.index)) !=
                                  FontLicence::Embeddable) {
                    set.restricted.push_back(FaceName({key.first, font.bold, font.italic}));
                    continue;
                }
                woff2 =
                    SubsetAsWoff2(*bytes, static_cast<unsigned>(font.index), characters, &set.work);
                std::filesystem::create_directories(cache, error);
                if (!woff2 || !WriteTextFile(cachedPath, *woff2)) {
                    continue;
                }
            }
            const std::string name = Slug(key.first) + "-" + (font.bold ? "700" : "400") +
                                     (font.italic ? "i" : "") + "-" +
                                     ContentHashOfText(*woff2).substr(0, kNameHashDigits) +
                                     std::string(kFontExtension);
            named = names_.insert_or_assign(cachedName, name).first;
        }
        set.fonts.push_back(
            {key.first, font.bold, font.italic, named->second, cachedPath, cachedName, use.shows});
    }
    return set;
}

std::string FontFaceStyle(const std::vector<TravellingFont>& fonts,
                          const std::function<std::string(const TravellingFont&)>& address) {
    if (fonts.empty()) {
        return std::string();
    }
    std::string style = "<style>";
    for (const TravellingFont& font : fonts) {
        // Shown at once in its own face: the file is small and on the site itself, and a
        // fallback face drawn first would move the lines when it is replaced.
        style += "@font-face{font-family:'" + CssFamily(font.family) +
                 "';font-style:" + (font.italic ? "italic" : "normal") +
                 ";font-weight:" + (font.bold ? "700" : "400") + ";font-display:block;src:url('" +
                 address(font) + "') format('woff2')}";
    }
    return style + "</style>";
}

std::vector<TravellingFont> FontsOfPage(const SiteFontSet& set, const PageRecord& page) {
    FaceCharacters faces;
    AddPageFaces(page, faces);
    std::vector<TravellingFont> used;
    for (const TravellingFont& font : set.fonts) {
        const bool shown = std::any_of(font.shows.begin(), font.shows.end(),
                                       [&](const FontFace& face) { return faces.count(face) > 0; });
        if (shown) {
            used.push_back(font);
        }
    }
    return used;
}

bool PlaceFonts(const std::vector<TravellingFont>& fonts, const std::string& siteFolder) {
    bool placed = true;
    for (const TravellingFont& font : fonts) {
        const std::string target = JoinPath(siteFolder, font.fileName);
        std::error_code error;
        if (std::filesystem::exists(target, error)) {
            continue;
        }
        const std::optional<std::string> bytes = ReadTextFile(font.cachedPath);
        placed = bytes && WriteTextFile(target, *bytes) && placed;
    }
    return placed;
}

bool IsTravellingFontName(const std::string& name) {
    // "<family>-<400|700>[i]-<10 hex digits>.woff2"
    if (name.size() < kFontExtension.size() + kNameHashDigits + 6 ||
        name.compare(name.size() - kFontExtension.size(), kFontExtension.size(), kFontExtension) !=
            0) {
        return false;
    }
    const std::size_t hashStart = name.size() - kFontExtension.size() - kNameHashDigits;
    if (name[hashStart - 1] != '-') {
        return false;
    }
    for (std::size_t i = hashStart; i < hashStart + kNameHashDigits; ++i) {
        if (std::isxdigit(static_cast<unsigned char>(name[i])) == 0) {
            return false;
        }
    }
    const std::string_view weight = std::string_view(name).substr(0, hashStart - 1);
    return EndsWith(weight, "-400") || EndsWith(weight, "-700") || EndsWith(weight, "-400i") ||
           EndsWith(weight, "-700i");
}

void RemoveUnreferencedFonts(const std::string& siteFolder,
                             const std::vector<TravellingFont>& current,
                             const std::function<std::vector<std::string>()>& pageTexts) {
    std::vector<std::filesystem::path> others;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(siteFolder, error)) {
        const std::string name = entry.path().filename().string();
        const bool currentFont =
            std::any_of(current.begin(), current.end(),
                        [&](const TravellingFont& font) { return font.fileName == name; });
        if (!currentFont && entry.is_regular_file(error) && IsTravellingFontName(name)) {
            others.push_back(entry.path());
        }
    }
    if (others.empty()) {
        return;
    }
    const std::vector<std::string> texts = pageTexts();
    for (const std::filesystem::path& font : others) {
        const std::string name = font.filename().string();
        const bool referenced = std::any_of(texts.begin(), texts.end(), [&](const auto& text) {
            return text.find(name) != std::string::npos;
        });
        if (!referenced) {
            std::filesystem::remove(font, error);
        }
    }
}
