#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "page/page_record.h"
#include "platform/console_prompts.h"
#include "platform/site_options.h"
#include "site/language_versions.h"
#include "site/published_page.h"
#include "site/site_finding.h"

class PageStore;

// For each section of a page file, the ids of the other items its words reach over, as a
// browser lays the page out; nothing when the page cannot be measured.
using ItemReach = std::map<std::string, std::vector<std::string>>;
using ReachMeasure = std::function<std::optional<ItemReach>(const std::string& pageFile)>;

// What a site of several languages still lacks on a page, language by language: the title,
// description and sections not yet translated, and a language switcher. With a measure, each
// language's version is laid out beside the main one (written to the working folder's
// kLanguageCheckPage), and the translated sections that reach over an item the main words leave
// alone are named.
class LanguageCheck {
  public:
    LanguageCheck(PageStore& store, const std::string& workingFolder, const std::string& siteFolder,
                  ReachMeasure measure);

    void check(const PageRecord& page, std::vector<SiteFinding>& findings);

  private:
    // Tells the finding; a shared section's once per language.
    void tell(std::vector<SiteFinding>& findings, const std::string& page,
              const std::string& language, const std::string& item, const std::string& text);
    // The main version is measured once a page, on the first language that needs it.
    void checkReach(const PageRecord& page, const std::string& language, const PageRecord& version,
                    const std::set<std::string>& untranslated,
                    std::optional<std::optional<ItemReach>>& main,
                    std::vector<SiteFinding>& findings);
    std::optional<ItemReach> measured(const PageRecord& version);

    std::ostringstream unheard_;
    ConsolePrompts quiet_;
    PagePublisher publisher_;
    ReachMeasure measure_;
    std::string checkPage_;
    // Shared sections are told once per language, on the first page that shows them.
    std::set<std::string> toldShared_;
};
