#include "site/site_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/character_references.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "page/working_files.h"

namespace {

std::string Meta(const char* property, const std::string& content) {
    return std::string("<meta property='") + property + "' content='" +
           AsciiWithCharacterReferences(HtmlAttribute(content, '\'')) + "'>";
}

}  // namespace

std::optional<std::string> SiteAddressFrom(std::string typed) {
    const std::size_t first = typed.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return std::string();
    }
    typed = typed.substr(first, typed.find_last_not_of(" \t\r\n") - first + 1);
    const std::string lowered = LowerCase(typed);
    std::size_t hostStart = 0;
    for (const char* scheme : {"https://", "http://"}) {
        if (StartsWith(lowered, scheme)) {
            hostStart = std::string(scheme).size();
        }
    }
    const std::size_t hostEnd = typed.find('/', hostStart);
    const std::string host = typed.substr(
        hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
    const auto unfit = [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\'' || c == '<' ||
               c == '>' || c == '\\' || c == '`';
    };
    if (hostStart == 0 || host.empty() || std::any_of(typed.begin(), typed.end(), unfit)) {
        return std::nullopt;
    }
    if (typed.back() != '/') {
        typed += '/';
    }
    return typed;
}

std::string PageAddress(const std::string& site, const std::string& fileName) {
    return fileName == "index.html" ? site : site + PercentEncoded(fileName);
}

std::string SitemapXml(const std::string& site, const std::vector<std::string>& pageFiles) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (const std::string& file : pageFiles) {
        xml += "<url><loc>" + HtmlText(PageAddress(site, file)) + "</loc></url>\n";
    }
    return xml + "</urlset>\n";
}

std::string RobotsTxt(const std::string& site) {
    return "User-agent: *\nAllow: /\nSitemap: " + site + kSitemapFile + "\n";
}

std::string AddressedHead(const std::string& site, const std::string& fileName,
                          const std::string& title, const std::string& description,
                          const std::string& picture) {
    const std::string address = PageAddress(site, fileName);
    std::string head = "<link rel='canonical' href='" + HtmlAttribute(address, '\'') + "'>" +
                       Meta("og:type", "website") + Meta("og:url", address) +
                       Meta("og:title", title);
    if (!description.empty()) {
        head += Meta("og:description", description);
    }
    if (!picture.empty()) {
        head += Meta("og:image", site + PercentEncoded(picture));
    }
    return head;
}

bool IsProgramsSitemap(const std::string& text) {
    const std::string head = SitemapXml(std::string(), {});
    const std::string end = "</urlset>\n";
    const std::string opening = head.substr(0, head.size() - end.size());
    if (text.size() < head.size() || text.compare(0, opening.size(), opening) != 0 ||
        text.compare(text.size() - end.size(), end.size(), end) != 0) {
        return false;
    }
    // Between them, only lines of one address each.
    std::size_t at = opening.size();
    while (at < text.size() - end.size()) {
        const std::size_t lineEnd = text.find('\n', at);
        const std::string line = text.substr(at, lineEnd - at);
        if (!StartsWith(line, "<url><loc>") || line.size() < 22 ||
            line.compare(line.size() - 12, 12, "</loc></url>") != 0 ||
            line.find('<', 10) != line.size() - 12) {
            return false;
        }
        at = lineEnd + 1;
    }
    return true;
}

bool IsProgramsRobots(const std::string& text) {
    const std::string start = "User-agent: *\nAllow: /\nSitemap: ";
    const std::string end = std::string(kSitemapFile) + "\n";
    return text.size() >= start.size() + end.size() && text.compare(0, start.size(), start) == 0 &&
           text.compare(text.size() - end.size(), end.size(), end) == 0 &&
           text.find('\n', start.size()) == text.size() - 1;
}

namespace {

// A site file the user wrote: there, and not of the program's shape.
bool IsUsersOwn(const std::string& path, bool (*programs)(const std::string&)) {
    const std::optional<std::string> text = ReadTextFile(path);
    return text && !programs(*text);
}

}  // namespace

bool WriteSiteFiles(const std::string& siteFolder, const std::string& site) {
    std::vector<std::string> pages;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(siteFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && LowerCase(name).size() > 5 &&
            LowerCase(name).compare(name.size() - 5, 5, ".html") == 0 && name != kQuickstartPage) {
            pages.push_back(name);
        }
    }
    std::sort(pages.begin(), pages.end());
    // Every page written rewrites them: a file already as it should be is left alone, and so is
    // one the user wrote.
    const auto written = [](const std::string& path, const std::string& text,
                            bool (*programs)(const std::string&)) {
        const std::optional<std::string> now = ReadTextFile(path);
        return now == text || (now && !programs(*now)) || WriteTextFile(path, text);
    };
    return written(JoinPath(siteFolder, kSitemapFile), SitemapXml(site, pages),
                   IsProgramsSitemap) &&
           written(JoinPath(siteFolder, kRobotsFile), RobotsTxt(site), IsProgramsRobots);
}

std::vector<std::string> UsersOwnSiteFiles(const std::string& siteFolder) {
    std::vector<std::string> own;
    if (IsUsersOwn(JoinPath(siteFolder, kSitemapFile), IsProgramsSitemap)) {
        own.push_back(kSitemapFile);
    }
    if (IsUsersOwn(JoinPath(siteFolder, kRobotsFile), IsProgramsRobots)) {
        own.push_back(kRobotsFile);
    }
    return own;
}
