#include "site/language_check.h"

#include <algorithm>

#include "common/paths.h"
#include "common/text_file.h"
#include "page/site_items.h"
#include "page/site_languages.h"
#include "page/working_files.h"
#include "site/published_page.h"

namespace {

std::string NamedLanguage(const std::string& tag) {
    return OwnLanguageName(tag) + " (" + tag + ")";
}

bool HasSwitcher(const PageRecord& page) {
    return std::find(page.richTexts.begin(), page.richTexts.end(), kLanguageSwitcher) !=
           page.richTexts.end();
}

bool Translated(const PageRecord& page, const std::string& language, const std::string& item) {
    return !TranslationOr(page, language, item, std::string()).empty();
}

}  // namespace

LanguageCheck::LanguageCheck(PageStore& store, const std::string& workingFolder,
                             const std::string& siteFolder, ReachMeasure measure)
    : quiet_(unheard_),
      publisher_(workingFolder, quiet_),
      measure_(std::move(measure)),
      checkPage_(JoinPath(workingFolder, kLanguageCheckPage)) {
    publisher_.setUpFor(store, siteFolder);
}

void LanguageCheck::tell(std::vector<SiteFinding>& findings, const std::string& page,
                         const std::string& language, const std::string& item,
                         const std::string& text) {
    if (!IsSiteItemId(item) || toldShared_.insert(language + item + text).second) {
        findings.push_back({page, item, text, language});
    }
}

void LanguageCheck::check(const PageRecord& page, std::vector<SiteFinding>& findings) {
    const std::string& file = page.fileName;
    if (!HasSwitcher(page)) {
        findings.push_back({file, "",
                            "The page has no language switcher, so its visitors cannot reach it "
                            "in the site's other languages (Site > Add Language Switcher).",
                            ""});
    }
    const std::vector<std::string>& languages = publisher_.siteOptions().languages;
    std::optional<std::optional<ItemReach>> main;
    for (std::size_t i = 1; i < languages.size(); ++i) {
        const std::string& language = languages[i];
        const std::string named = NamedLanguage(language);
        if (!page.pageTitle.empty() && !Translated(page, language, kTranslatedTitle)) {
            tell(findings, file, language, "",
                 "The title is not yet translated into " + named +
                     " (choose the language above the page, then Page > Page Title...).");
        }
        if (page.description && !page.description->empty() &&
            !Translated(page, language, kTranslatedDescription)) {
            tell(findings, file, language, "",
                 "The description is not yet translated into " + named +
                     " (choose the language above the page, then Page > Page Options...).");
        }
        std::set<std::string> untranslated;
        const PageRecord version =
            InLanguage(page, language, publisher_.translatedTitles(), untranslated);
        for (const std::string& id : untranslated) {
            tell(findings, file, language, id,
                 "The section is not yet translated into " + named +
                     ": its visitors read the main words (double-click it in that language).");
        }
        if (measure_) {
            checkReach(page, language, version, untranslated, main, findings);
        }
    }
}

void LanguageCheck::checkReach(const PageRecord& page, const std::string& language,
                               const PageRecord& version, const std::set<std::string>& untranslated,
                               std::optional<std::optional<ItemReach>>& main,
                               std::vector<SiteFinding>& findings) {
    const auto words = page.translations.find(language);
    if (words == page.translations.end()) {
        return;
    }
    const std::optional<ItemReach> translated = measured(version);
    if (!translated) {
        return;
    }
    // The page itself is its main version: it has no words of other languages.
    if (!main) {
        main = measured(page);
    }
    if (!*main) {
        return;
    }
    const ItemReach& before = **main;
    for (const auto& [id, reached] : *translated) {
        if (untranslated.count(id) != 0 || words->second.count(id) == 0) {
            continue;
        }
        const auto known = before.find(id);
        const bool further =
            std::any_of(reached.begin(), reached.end(), [&](const std::string& other) {
                return known == before.end() ||
                       std::find(known->second.begin(), known->second.end(), other) ==
                           known->second.end();
            });
        if (further) {
            tell(findings, page.fileName, language, id,
                 "The section's words in " + NamedLanguage(language) +
                     " run past its box into the next item: shorten them or give the box more "
                     "room.");
        }
    }
}

std::optional<ItemReach> LanguageCheck::measured(const PageRecord& version) {
    if (!WriteTextFile(checkPage_,
                       publisher_.pageText(version, PublishVariant::Preview, version.directory))) {
        return std::nullopt;
    }
    return measure_(checkPage_);
}
