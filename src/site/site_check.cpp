#include "site/site_check.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "common/fields.h"
#include "common/markup_escaping.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "files/web_pictures.h"
#include "page/page_record.h"
#include "page/site_items.h"
#include "page/working_files.h"
#include "site/language_versions.h"
#include "site/link_follow.h"
#include "site/site_files.h"
#include "site/site_fonts.h"
#include "store/page_store.h"

namespace {

// Beyond this a picture is worth preparing: it carries more than twice the pixels its place
// shows, and this many bytes at least.
constexpr std::uintmax_t kHeavyBytes = 200 * 1024;

std::string Megabytes(std::uintmax_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

// The addresses a section's markup links to.
std::vector<std::string> LinksIn(const std::string& html) {
    std::vector<std::string> links;
    for (const auto& [start, length] : LinkSpans(html)) {
        links.push_back(html.substr(start, length));
    }
    return links;
}

// A link to another page of the site: relative, to an .html or .htm file. Its file name (what
// lies before "#" or "?"); empty for any other link.
std::string PageLinkedTo(const std::string& link) {
    std::string target = link.substr(0, link.find_first_of("#?"));
    const std::size_t colon = target.find(':');
    if (target.empty() || target[0] == '/' ||
        (colon != std::string::npos && colon < target.find('/'))) {
        return std::string();
    }
    const std::string lowered = LowerCase(target);
    const bool page =
        (lowered.size() > 5 && lowered.compare(lowered.size() - 5, 5, ".html") == 0) ||
        (lowered.size() > 4 && lowered.compare(lowered.size() - 4, 4, ".htm") == 0);
    return page ? target : std::string();
}

class PageChecker {
  public:
    PageChecker(const std::string& siteFolder, const std::set<std::string>& pages,
                const SiteOptions& options, std::vector<SiteFinding>& findings)
        : siteFolder_(siteFolder), pages_(pages), options_(options), findings_(findings) {}

    void check(const PageRecord& page) {
        page_ = page.fileName;
        if (!page.language || page.language->empty()) {
            add("",
                "The page has no language, so screen readers may read it in the wrong "
                "voice (Page > Page Options).");
        }
        if (!page.description || page.description->empty()) {
            add("", "The page has no description for search results (Page > Page Options).");
        }
        std::map<std::string, std::string> shown;
        for (const std::string& record : SplitFields(page.stylesData, "|")) {
            const std::string id = RecordId(record);
            if (id.size() > 1 && record.find('^') != std::string::npos) {
                shown.emplace(id.substr(1), record);
            }
        }
        for (std::size_t i = 0; i < page.pictures.size(); ++i) {
            checkPicture(page, page.pictures[i], shown);
            if (i < page.links.size() && page.links[i].size() > 4) {
                checkLink(ItemNameIn(page.pictures[i]), page.links[i]);
            }
        }
        for (const std::string& entry : page.texts) {
            const std::string id = ItemNameIn(entry);
            if (!id.empty()) {
                for (const std::string& link : LinksIn(entry.substr(id.size()))) {
                    checkLink(id, link);
                }
            }
        }
    }
    bool heavyPictures() const { return heavy_; }

  private:
    void add(const std::string& item, const std::string& text) {
        // An item every page shares is told once, on the first page that shows it.
        if (IsSiteItemId(item) && !toldShared_.insert(item + text).second) {
            return;
        }
        findings_.push_back({page_, item, text, ""});
    }

    void checkPicture(const PageRecord& page, const std::string& entry,
                      const std::map<std::string, std::string>& shown) {
        const std::string name = ItemNameIn(entry);
        const auto record = shown.find(name);
        if (name.empty() || entry == kDeletedPicture || record == shown.end()) {
            return;
        }
        const std::string path = entry.substr(name.size());
        const std::string file = FileNameOf(path);
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            add(name, "The picture file " + path + " is missing: the page shows an empty place.");
            return;
        }
        if (page.pictureDescriptions.count(name) == 0) {
            add(name, "The picture " + file +
                          " has no description for visitors who cannot see it (double-click it, "
                          "or mark it as decoration).");
        }
        const int width = LeadingInt(FieldAt(record->second, 1, "^"));
        const int height = LeadingInt(FieldAt(record->second, 2, "^"));
        const std::uintmax_t bytes = std::filesystem::file_size(path, error);
        if (options_.webPictures || error || bytes < kHeavyBytes || width <= 0 || height <= 0) {
            return;
        }
        const std::optional<std::pair<int, int>> size = PictureDimensions(path);
        if (size && (size->first > 2 * width || size->second > 2 * height)) {
            heavy_ = true;
            add(name, "The picture " + file + " is " + std::to_string(size->first) + " x " +
                          std::to_string(size->second) + " pixels (" + Megabytes(bytes) +
                          ") and shown at " + std::to_string(width) + " x " +
                          std::to_string(height) + ": visitors load far more than they see.");
        }
    }

    void checkLink(const std::string& item, const std::string& link) {
        const std::string target = PercentDecoded(PageLinkedTo(link));
        if (target.empty()) {
            return;
        }
        std::error_code error;
        if (pages_.count(target) == 0 &&
            !std::filesystem::exists(JoinPath(siteFolder_, target), error)) {
            add(item, "The link to " + link + " leads to no page of the site.");
        }
    }

    const std::string& siteFolder_;
    const std::set<std::string>& pages_;
    const SiteOptions& options_;
    std::vector<SiteFinding>& findings_;
    std::string page_;
    bool heavy_ = false;
    std::set<std::string> toldShared_;
};

}  // namespace

std::vector<SiteFinding> CheckSite(PageStore& store, const std::string& workingFolder,
                                   const std::string& siteFolder, const ReachMeasure& measure) {
    std::vector<SiteFinding> findings;
    const SiteOptions options = store.siteOptions().load(siteFolder);
    std::set<std::string> pages;
    for (const std::string& name : store.pageNames(siteFolder)) {
        if (name != kQuickstartPage) {
            pages.insert(name);
        }
    }
    PageChecker checker(siteFolder, pages, options, findings);
    std::optional<LanguageCheck> languages;
    if (SeveralLanguages(options)) {
        languages.emplace(store, workingFolder, siteFolder, measure);
    }
    bool heavy = false;
    for (const std::string& name : pages) {
        PageRecord page;
        page.directory = siteFolder;
        page.fileName = name;
        if (store.loadPage(page, siteFolder, name)) {
            checker.check(page);
            heavy = heavy || checker.heavyPictures();
            if (languages) {
                languages->check(page, findings);
            }
        }
    }
    const auto help = [&](const std::string& text) { findings.push_back({"", "", text, ""}); };
    for (const std::string& font :
         FontFindings(FolderFaces(store, siteFolder), options.siteFonts, workingFolder)) {
        help(font);
    }
    if (!options.phoneFriendly) {
        help(
            "Phone-friendly pages are off: phones show each page as designed, too wide to read "
            "(Page > Site Options).");
    }
    if (heavy) {
        help(
            "Pictures prepared for the web are off: visitors load whole camera photos where a "
            "small copy would do (Page > Site Options).");
    }
    if (options.siteAddress.empty()) {
        help(
            "The address of the site is not set: search engines get no site map, and pages "
            "do not name their own address (Page > Site Options).");
        if (SeveralLanguages(options)) {
            help(
                "The address of the site is not set: the versions of each page in its other "
                "languages can name each other only by relative addresses, which search "
                "engines do not take (Page > Site Options).");
        }
    } else {
        for (const std::string& own : UsersOwnSiteFiles(siteFolder)) {
            help(own +
                 " in the site folder is your own: Quillora leaves it as it is and writes none "
                 "in its place, so it may not list every page or name the site map. Remove it "
                 "to have Quillora write one.");
        }
    }
    return findings;
}

std::string FindingLine(const SiteFinding& finding) {
    return (finding.page.empty() ? std::string("site") : finding.page) + ": " + finding.text;
}
