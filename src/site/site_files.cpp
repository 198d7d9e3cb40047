#include "site/site_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/character_references.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
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
        if (lowered.rfind(scheme, 0) == 0) {
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
    return "User-agent: *\nAllow: /\nSitemap: " + site + "sitemap.xml\n";
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
    // Every page written rewrites them: a file already as it should be is left alone.
    const auto written = [](const std::string& path, const std::string& text) {
        return ReadTextFile(path) == text || WriteTextFile(path, text);
    };
    return written(JoinPath(siteFolder, "sitemap.xml"), SitemapXml(site, pages)) &&
           written(JoinPath(siteFolder, "robots.txt"), RobotsTxt(site));
}
