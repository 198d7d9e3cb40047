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

namespace {

constexpr const char* kSitemapStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\"";
constexpr const char* kAlternatesNamespace = " xmlns:xhtml=\"http://www.w3.org/1999/xhtml\"";

}  // namespace

std::string PageAddress(const std::string& site, const std::string& fileName) {
    return fileName == "index.html" ? site : site + PercentEncoded(fileName);
}

std::string SitemapXml(const std::string& site, const std::vector<std::string>& pageFiles,
                       const std::vector<std::string>& languages) {
    const bool several = languages.size() >= 2;
    std::string xml = several ? std::string(kSitemapStart) + kAlternatesNamespace + ">\n"
                              : std::string(kSitemapStart) + ">\n";
    for (const std::string& file : pageFiles) {
        if (!several) {
            xml += "<url><loc>" + HtmlText(PageAddress(site, file)) + "</loc></url>\n";
            continue;
        }
        const auto address = [&](const std::string& language) {
            return language == languages.front() ? PageAddress(site, file)
                                                 : site + language + "/" + PercentEncoded(file);
        };
        std::string alternates;
        for (const std::string& language : languages) {
            alternates += "<xhtml:link rel=\"alternate\" hreflang=\"" + HtmlText(language) +
                          "\" href=\"" + HtmlText(address(language)) + "\"/>";
        }
        alternates += "<xhtml:link rel=\"alternate\" hreflang=\"x-default\" href=\"" +
                      HtmlText(address(languages.front())) + "\"/>";
        for (const std::string& language : languages) {
            xml += "<url><loc>" + HtmlText(address(language)) + "</loc>" + alternates + "</url>\n";
        }
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
    const std::string end = "</urlset>\n";
    std::size_t at = 0;
    for (const std::string& opening : {std::string(kSitemapStart) + ">\n",
                                       std::string(kSitemapStart) + kAlternatesNamespace + ">\n"}) {
        if (StartsWith(text, opening)) {
            at = opening.size();
        }
    }
    if (at == 0 || text.size() < at + end.size() ||
        text.compare(text.size() - end.size(), end.size(), end) != 0) {
        return false;
    }
    // Between them, only lines of one address each, with its alternates.
    while (at < text.size() - end.size()) {
        const std::size_t lineEnd = text.find('\n', at);
        const std::string line = text.substr(at, lineEnd - at);
        const std::size_t locEnd = line.find("</loc>");
        if (!StartsWith(line, "<url><loc>") || locEnd == std::string::npos ||
            line.find('<', 10) != locEnd || line.compare(line.size() - 6, 6, "</url>") != 0) {
            return false;
        }
        for (std::size_t link = locEnd + 6; link < line.size() - 6;) {
            const std::size_t close = line.find("\"/>", link);
            if (!StartsWith(line, "<xhtml:link rel=\"alternate\" hreflang=\"", link) ||
                close == std::string::npos || line.find('<', link + 1) < close) {
                return false;
            }
            link = close + 3;
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

bool WriteSiteFiles(const std::string& siteFolder, const std::string& site,
                    const std::vector<std::string>& languages) {
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
    return written(JoinPath(siteFolder, kSitemapFile), SitemapXml(site, pages, languages),
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
