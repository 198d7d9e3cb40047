#include "page/site_menu.h"

#include <algorithm>
#include <charconv>

#include "common/character_references.h"
#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/text_search.h"

namespace {

constexpr std::string_view kStart = "QUILLORA SITE MENU";

// A colour as #RRGGBB; anything else gives the fallback, so nothing can leave the style.
std::string Colour(const std::string& value, const std::string& fallback) {
    const bool hex =
        value.size() == 7 && value[0] == '#' &&
        std::all_of(value.begin() + 1, value.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        });
    return hex ? value : fallback;
}

// A face name as CSS takes it in quotes: no quote, backslash or angle bracket.
std::string Face(const std::string& face) {
    std::string plain;
    for (const char c : face) {
        if (c != '\'' && c != '"' && c != '\\' && c != '<' && c != '>' && c != ';') {
            plain += c;
        }
    }
    return plain.empty() ? "Arial" : plain;
}

}  // namespace

bool IsSiteMenu(const std::string& richText) {
    return StartsWith(richText, kStart);
}

bool HoldsSiteMenu(const PageRecord& page) {
    return std::any_of(page.richTexts.begin(), page.richTexts.end(), IsSiteMenu);
}

std::optional<SiteMenu> ReadSiteMenu(const std::string& richText) {
    if (!IsSiteMenu(richText)) {
        return std::nullopt;
    }
    SiteMenu menu;
    for (const std::string& line : SplitFields(richText, "\n")) {
        const std::size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (word == "LAYOUT") {
            menu.across = value != "down";
        } else if (word == "FACE") {
            menu.face = value;
        } else if (word == "SIZE") {
            std::from_chars(value.data(), value.data() + value.size(), menu.size);
            menu.size = std::clamp(menu.size, 6, 72);
        } else if (word == "COLOUR") {
            menu.colour = value;
        } else if (word == "CURRENT") {
            menu.currentColour = value;
        } else if (word == "NEWPAGES") {
            menu.newPages = value == "1";
        } else if (word == "LEFTOUT") {
            menu.leftOut.push_back(value);
        } else if (word == "PAGE") {
            const std::size_t bar = value.find('|');
            menu.pages.emplace_back(value.substr(0, bar),
                                    bar == std::string::npos ? value : value.substr(bar + 1));
        }
    }
    return menu;
}

std::string WriteSiteMenu(const SiteMenu& menu) {
    std::string text = std::string(kStart) + "\nLAYOUT " + (menu.across ? "across" : "down") +
                       "\nFACE " + menu.face + "\nSIZE " + std::to_string(menu.size) + "\nCOLOUR " +
                       menu.colour + "\nCURRENT " + menu.currentColour + "\nNEWPAGES " +
                       (menu.newPages ? "1" : "0");
    for (const auto& [file, label] : menu.pages) {
        // A line break would end the entry early.
        std::string oneLine = label;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        text += "\nPAGE " + file + "|" + oneLine;
    }
    for (const std::string& file : menu.leftOut) {
        text += "\nLEFTOUT " + file;
    }
    return text;
}

std::string MenuLabel(const std::string& file, const std::string& title) {
    return title.empty() || title == kDefaultPageTitle ? file : title;
}

SiteMenu MenuOfPages(const FolderPages& pages) {
    SiteMenu menu;
    for (const auto& [file, title] : pages) {
        menu.pages.emplace_back(file, MenuLabel(file, title));
    }
    return menu;
}

std::string SiteMenuMarkup(const SiteMenu& menu, const std::string& current,
                           const FolderPages& pages) {
    const auto exists = [&pages](const std::string& file) {
        return std::any_of(pages.begin(), pages.end(),
                           [&file](const auto& page) { return page.first == file; });
    };
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& entry : menu.pages) {
        if (exists(entry.first)) {
            shown.push_back(entry);
        }
    }
    if (menu.newPages) {
        for (const auto& page : pages) {
            const bool listed =
                std::any_of(menu.pages.begin(), menu.pages.end(),
                            [&page](const auto& entry) { return entry.first == page.first; }) ||
                std::find(menu.leftOut.begin(), menu.leftOut.end(), page.first) !=
                    menu.leftOut.end();
            if (!listed) {
                shown.emplace_back(page.first, MenuLabel(page.first, page.second));
            }
        }
    }
    const std::string colour = Colour(menu.colour, "#000000");
    const std::string currentColour = Colour(menu.currentColour, "#C00000");
    std::string markup =
        "<nav class='quillora-menu' aria-label='Site'><style>"
        ".quillora-menu ul{list-style:none;margin:0;padding:0;display:flex;flex-wrap:wrap;"
        "flex-direction:" +
        std::string(menu.across ? "row" : "column") +
        ";gap:4px 16px}"
        ".quillora-menu a{font-family:'" +
        Face(menu.face) + "',sans-serif;font-size:" + std::to_string(menu.size) +
        "pt;color:" + colour +
        ";text-decoration:none;padding:4px 2px;display:inline-block}"
        ".quillora-menu a[aria-current=page]{color:" +
        currentColour +
        ";text-decoration:underline;font-weight:bold}"
        ".quillora-menu a:focus-visible{outline:2px solid " +
        colour +
        ";outline-offset:2px}"
        "@media (max-width:599px){.quillora-menu ul{flex-direction:column}"
        ".quillora-menu a{display:block;min-height:48px;line-height:48px;padding:0 8px}}"
        "</style><ul>";
    for (const auto& [file, label] : shown) {
        markup += "<li><a href='" + HtmlAttribute(PercentEncoded(file), '\'') + "'";
        if (file == current) {
            markup += " aria-current='page'";
        }
        markup += ">" + AsciiWithCharacterReferences(HtmlText(label)) + "</a></li>";
    }
    return markup + "</ul></nav>";
}

bool RenameInMenu(SiteMenu& menu, const std::string& oldName, const std::string& newName) {
    bool renamed = false;
    for (auto& entry : menu.pages) {
        if (entry.first == oldName) {
            entry.first = newName;
            renamed = true;
        }
    }
    for (std::string& file : menu.leftOut) {
        if (file == oldName) {
            file = newName;
            renamed = true;
        }
    }
    return renamed;
}

bool RetitleInMenu(SiteMenu& menu, const std::string& file, const std::string& oldTitle,
                   const std::string& newTitle) {
    bool changed = false;
    for (auto& [entry, label] : menu.pages) {
        if (entry == file && label == MenuLabel(file, oldTitle) &&
            label != MenuLabel(file, newTitle)) {
            label = MenuLabel(file, newTitle);
            changed = true;
        }
    }
    return changed;
}

bool RemoveFromMenu(SiteMenu& menu, const std::string& file) {
    const bool listed = MenuNames(menu, file);
    menu.pages.erase(std::remove_if(menu.pages.begin(), menu.pages.end(),
                                    [&](const auto& entry) { return entry.first == file; }),
                     menu.pages.end());
    menu.leftOut.erase(std::remove(menu.leftOut.begin(), menu.leftOut.end(), file),
                       menu.leftOut.end());
    return listed;
}

bool MenuNames(const SiteMenu& menu, const std::string& file) {
    return std::any_of(menu.pages.begin(), menu.pages.end(),
                       [&](const auto& entry) { return entry.first == file; }) ||
           std::find(menu.leftOut.begin(), menu.leftOut.end(), file) != menu.leftOut.end();
}

bool MenuShows(const SiteMenu& menu, const std::string& file) {
    return std::any_of(menu.pages.begin(), menu.pages.end(),
                       [&](const auto& entry) { return entry.first == file; }) ||
           (menu.newPages &&
            std::find(menu.leftOut.begin(), menu.leftOut.end(), file) == menu.leftOut.end());
}

bool MenusReach(const PageRecord& page, const std::string& file) {
    return std::any_of(page.richTexts.begin(), page.richTexts.end(), [&](const std::string& rich) {
        const std::optional<SiteMenu> menu = ReadSiteMenu(rich);
        return menu && (MenuShows(*menu, file) || MenuNames(*menu, file));
    });
}

bool ChangeSiteMenus(PageRecord& page, const std::function<bool(SiteMenu&)>& change) {
    bool changed = false;
    for (std::string& richText : page.richTexts) {
        std::optional<SiteMenu> menu = ReadSiteMenu(richText);
        if (menu && change(*menu)) {
            richText = WriteSiteMenu(*menu);
            changed = true;
        }
    }
    return changed;
}

bool RetitleInMenus(PageRecord& page, const std::string& file, const std::string& oldTitle,
                    const std::string& newTitle) {
    return ChangeSiteMenus(
        page, [&](SiteMenu& menu) { return RetitleInMenu(menu, file, oldTitle, newTitle); });
}

std::string MenuPlacesOf(const PageRecord& record, const std::string& recordName,
                         const std::string& file) {
    std::string places;
    int number = 0;
    for (const std::string& rich : record.richTexts) {
        const std::optional<SiteMenu> menu = ReadSiteMenu(rich);
        if (!menu) {
            continue;
        }
        const std::string prefix = recordName + "\t" + std::to_string(number++) + "\t";
        for (std::size_t i = 0; i < menu->pages.size(); ++i) {
            if (menu->pages[i].first == file) {
                places += prefix + std::to_string(i) + "\t" + menu->pages[i].second + "\n";
            }
        }
        if (std::find(menu->leftOut.begin(), menu->leftOut.end(), file) != menu->leftOut.end()) {
            places += prefix + "LEFTOUT\n";
        }
    }
    return places;
}

bool PutBackInMenus(PageRecord& record, const std::string& recordName, const std::string& file,
                    const std::string& places) {
    std::vector<std::vector<std::string>> lines;
    for (const std::string& line : SplitFields(places, "\n")) {
        std::vector<std::string> fields = SplitFields(line, "\t");
        if (fields.size() >= 3 && fields[0] == recordName) {
            lines.push_back(std::move(fields));
        }
    }
    int number = 0;
    return ChangeSiteMenus(record, [&](SiteMenu& menu) {
        const std::string index = std::to_string(number++);
        if (MenuNames(menu, file)) {
            return false;
        }
        bool changed = false;
        for (const std::vector<std::string>& fields : lines) {
            if (fields[1] != index) {
                continue;
            }
            if (fields[2] == "LEFTOUT") {
                menu.leftOut.push_back(file);
            } else {
                std::size_t at = 0;
                std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), at);
                at = std::min(at, menu.pages.size());
                menu.pages.insert(menu.pages.begin() + static_cast<std::ptrdiff_t>(at),
                                  {file, fields.size() > 3 ? fields[3] : file});
            }
            changed = true;
        }
        return changed;
    });
}

std::vector<std::string> RecordsOfMenuPlaces(const std::string& places) {
    std::vector<std::string> records;
    for (const std::string& line : SplitFields(places, "\n")) {
        const std::string record = FieldAt(line, 0, "\t");
        if (!line.empty() && std::find(records.begin(), records.end(), record) == records.end()) {
            records.push_back(record);
        }
    }
    return records;
}
