#include "site/link_follow.h"

#include <optional>

#include "common/text_case.h"
#include "page/site_menu.h"

namespace {

// The address leads to the page: its name, then nothing or a fragment or query.
bool LeadsTo(const std::string& address, const std::string& name) {
    return address.compare(0, name.size(), name) == 0 &&
           (address.size() == name.size() || address[name.size()] == '#' ||
            address[name.size()] == '?');
}

}  // namespace

std::vector<std::pair<std::size_t, std::size_t>> LinkSpans(const std::string& markup) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    const std::string lowered = LowerCase(markup);
    for (std::size_t at = lowered.find("href"); at != std::string::npos;
         at = lowered.find("href", at + 4)) {
        std::size_t value = lowered.find_first_not_of(" \t\r\n", at + 4);
        if (value == std::string::npos || markup[value] != '=') {
            continue;
        }
        value = markup.find_first_not_of(" \t\r\n", value + 1);
        if (value == std::string::npos) {
            break;
        }
        const char quote = markup[value];
        const bool quoted = quote == '\'' || quote == '"';
        const std::size_t start = quoted ? value + 1 : value;
        std::size_t end =
            quoted ? markup.find(quote, start) : markup.find_first_of(" \t\r\n>", start);
        if (end == std::string::npos) {
            end = markup.size();
        }
        spans.emplace_back(start, end - start);
    }
    return spans;
}

int RewriteLinks(std::string& markup, const std::string& oldName, const std::string& newName) {
    int changed = 0;
    std::string rewritten;
    std::size_t copied = 0;
    for (const auto& [start, length] : LinkSpans(markup)) {
        if (!LeadsTo(markup.substr(start, length), oldName)) {
            continue;
        }
        rewritten.append(markup, copied, start - copied);
        rewritten += newName;
        copied = start + oldName.size();
        ++changed;
    }
    if (changed > 0) {
        rewritten.append(markup, copied, std::string::npos);
        markup = std::move(rewritten);
    }
    return changed;
}

bool FollowRename(PageRecord& page, const std::string& oldName, const std::string& newName) {
    bool changed = false;
    for (std::string& entry : page.texts) {
        const std::string id = ItemNameIn(entry);
        if (id.empty()) {
            continue;
        }
        std::string html = entry.substr(id.size());
        if (RewriteLinks(html, oldName, newName) > 0) {
            entry = id + html;
            changed = true;
        }
    }
    // The link button typed the link into the words, so the rich text holds it as text; a
    // site menu's definition names its pages.
    changed = ChangeSiteMenus(
                  page, [&](SiteMenu& menu) { return RenameInMenu(menu, oldName, newName); }) ||
              changed;
    for (std::string& rich : page.richTexts) {
        if (!IsSiteMenu(rich)) {
            changed = RewriteLinks(rich, oldName, newName) > 0 || changed;
        }
    }
    for (std::string& link : page.links) {
        if (LeadsTo(link, oldName)) {
            link = newName + link.substr(oldName.size());
            changed = true;
        }
    }
    return changed;
}

bool LinksTo(const PageRecord& page, const std::string& name) {
    for (const std::string& entry : page.texts) {
        const std::string id = ItemNameIn(entry);
        for (const auto& [start, length] : LinkSpans(entry)) {
            if (!id.empty() && start >= id.size() && LeadsTo(entry.substr(start, length), name)) {
                return true;
            }
        }
    }
    for (const std::string& link : page.links) {
        if (LeadsTo(link, name)) {
            return true;
        }
    }
    return false;
}
