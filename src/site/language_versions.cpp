#include "site/language_versions.h"

#include <filesystem>

#include "common/character_references.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "page/item_ids.h"
#include "page/site_languages.h"
#include "page/site_menu.h"
#include "site/site_files.h"

bool SeveralLanguages(const SiteOptions& options) {
    return options.languages.size() >= 2;
}

std::string MainLanguage(const SiteOptions& options) {
    return SeveralLanguages(options) ? options.languages.front() : std::string();
}

PageRecord InLanguage(const PageRecord& page, const std::string& language,
                      const TranslatedTitles& titles, std::set<std::string>& untranslated) {
    PageRecord version = page;
    const auto words = page.translations.find(language);
    const auto translated = [&](const std::string& item) -> const std::string* {
        if (words == page.translations.end()) {
            return nullptr;
        }
        const auto found = words->second.find(item);
        return found == words->second.end() || found->second.empty() ? nullptr : &found->second;
    };
    if (const std::string* title = translated(kTranslatedTitle)) {
        version.pageTitle = *title;
    }
    if (const std::string* description = translated(kTranslatedDescription)) {
        version.description = *description;
    }
    for (std::size_t i = 0; i < version.texts.size(); ++i) {
        std::string& entry = version.texts[i];
        if (entry == kRemovedItem) {
            continue;
        }
        const std::string id = ItemNameIn(entry);
        // Menus and switchers have no words of their own: they take each language's titles
        // and names.
        const std::string& rich = i < page.richTexts.size() ? page.richTexts[i] : std::string();
        if (rich == kLanguageSwitcher || ReadSiteMenu(rich)) {
            continue;
        }
        if (const std::string* text = translated(id)) {
            entry = id + *text;
        } else if (entry.size() > id.size()) {
            untranslated.insert(id);
        }
    }
    const auto languageTitles = titles.find(language);
    if (languageTitles != titles.end()) {
        for (auto& [file, title] : version.sitePages) {
            const auto found = languageTitles->second.find(file);
            if (found != languageTitles->second.end() && !found->second.empty()) {
                title = found->second;
            }
        }
    }
    return version;
}

std::string LanguageAddress(const SiteOptions& options, const std::string& fileName,
                            const std::string& language, const std::string& from) {
    const bool main = language == MainLanguage(options);
    if (!options.siteAddress.empty()) {
        return main ? PageAddress(options.siteAddress, fileName)
                    : options.siteAddress + language + "/" + PercentEncoded(fileName);
    }
    const bool fromMain = from == MainLanguage(options);
    if (language == from) {
        return PercentEncoded(fileName);
    }
    return (fromMain ? std::string() : std::string("../")) +
           (main ? std::string() : language + "/") + PercentEncoded(fileName);
}

std::string LanguageSwitcherMarkup(const SiteOptions& options, const std::string& fileName,
                                   const std::string& current) {
    if (!SeveralLanguages(options)) {
        return std::string();
    }
    std::string markup =
        "<nav class='quillora-languages' aria-label='Languages'><style>.quillora-languages ul{"
        "list-style:none;margin:0;padding:0;display:flex;flex-wrap:wrap;gap:4px 12px}"
        ".quillora-languages a{display:inline-block;min-height:24px;padding:2px}</style><ul>";
    for (const std::string& language : options.languages) {
        const std::string tag = HtmlAttribute(language, '\'');
        markup += "<li><a href='" +
                  HtmlAttribute(LanguageAddress(options, fileName, language, current), '\'') +
                  "' lang='" + tag + "' hreflang='" + tag + "'" +
                  (language == current ? " aria-current='page'" : "") + ">" +
                  AsciiWithCharacterReferences(HtmlText(OwnLanguageName(language))) + "</a></li>";
    }
    return markup + "</ul></nav>";
}

void RemoveLanguageVersions(const SiteOptions& options, const std::string& siteFolder,
                            const std::string& fileName) {
    for (std::size_t i = 1; i < options.languages.size(); ++i) {
        std::error_code error;
        std::filesystem::remove(JoinPath(JoinPath(siteFolder, options.languages[i]), fileName),
                                error);
    }
}

std::string AlternateLinks(const SiteOptions& options, const std::string& fileName,
                           const std::string& current) {
    std::string links;
    const auto link = [&](const std::string& hreflang, const std::string& language) {
        links += "<link rel='alternate' hreflang='" + HtmlAttribute(hreflang, '\'') + "' href='" +
                 HtmlAttribute(LanguageAddress(options, fileName, language, current), '\'') + "'>";
    };
    for (const std::string& language : options.languages) {
        link(language, language);
    }
    link("x-default", MainLanguage(options));
    return links;
}
