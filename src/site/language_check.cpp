#include "site/language_check.h"

#include <algorithm>

#include "common/text_file.h"
#include "page/site_items.h"
#include "page/site_languages.h"
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

LanguageCheck::LanguageCheck(const SiteOptions& options, TranslatedTitles titles,
                             PagePublisher& publisher, ReachMeasure measure, std::string checkPage)
    : options_(options),
      titles_(std::move(titles)),
      publisher_(publisher),
      measure_(std::move(measure)),
      checkPage_(std::move(checkPage)) {}

void LanguageCheck::check(const PageRecord& page, std::vector<SiteFinding>& findings) {
    const std::string& file = page.fileName;
    if (!HasSwitcher(page)) {
        findings.push_back({file, "",
                            "The page has no language switcher, so its visitors cannot reach it "
                            "in the site's other languages (Site > Add Language Switcher).",
                            ""});
    }
    for (std::size_t i = 1; i < options_.languages.size(); ++i) {
        const std::string& language = options_.languages[i];
        const std::string named = NamedLanguage(language);
        const auto add = [&](const std::string& item, const std::string& text) {
            if (!IsSiteItemId(item) || toldShared_.insert(language + item + text).second) {
                findings.push_back({file, item, text, language});
            }
        };
        if (!page.pageTitle.empty() && !Translated(page, language, kTranslatedTitle)) {
            add("", "The title is not yet translated into " + named +
                        " (choose the language above the page, then Page > Page Title...).");
        }
        if (page.description && !page.description->empty() &&
            !Translated(page, language, kTranslatedDescription)) {
            add("", "The description is not yet translated into " + named +
                        " (choose the language above the page, then Page > Page Options...).");
        }
        std::set<std::string> untranslated;
        const PageRecord version = InLanguage(page, language, titles_, untranslated);
        for (const std::string& id : untranslated) {
            add(id, "The section is not yet translated into " + named +
                        ": its visitors read the main words (double-click it in that language).");
        }
        if (measure_) {
            checkReach(page, language, version, untranslated, findings);
        }
    }
}

void LanguageCheck::checkReach(const PageRecord& page, const std::string& language,
                               const PageRecord& version, const std::set<std::string>& untranslated,
                               std::vector<SiteFinding>& findings) {
    const auto words = page.translations.find(language);
    if (words == page.translations.end()) {
        return;
    }
    const std::optional<ItemReach> translated = measured(version);
    std::set<std::string> none;
    const std::optional<ItemReach> main =
        translated ? measured(InLanguage(page, MainLanguage(options_), titles_, none))
                   : std::nullopt;
    if (!translated || !main) {
        return;
    }
    for (const auto& [id, reached] : *translated) {
        if (untranslated.count(id) != 0 || words->second.count(id) == 0) {
            continue;
        }
        const auto before = main->find(id);
        for (const std::string& other : reached) {
            if (before == main->end() || std::find(before->second.begin(), before->second.end(),
                                                   other) == before->second.end()) {
                if (!IsSiteItemId(id) || toldShared_.insert(language + id + "reach").second) {
                    findings.push_back({page.fileName, id,
                                        "The section's words in " + NamedLanguage(language) +
                                            " run past its box into the next item: shorten "
                                            "them or give the box more room.",
                                        language});
                }
                break;
            }
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
