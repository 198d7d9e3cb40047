#pragma once

#include <map>
#include <set>
#include <string>

#include "page/page_record.h"
#include "platform/site_options.h"

// A site of several languages: one layout, its words per language. The main language's pages
// lie at the site folder's root, each other language's in a folder named by its tag.

// Translated titles of a folder's pages: language, then file name, then title.
using TranslatedTitles = std::map<std::string, std::map<std::string, std::string>>;

// Whether the options make a site of several languages (two or more).
bool SeveralLanguages(const SiteOptions& options);

// The main language; empty for a site of one language.
std::string MainLanguage(const SiteOptions& options);

// The page as the language shows it: its translated title and description, its translated
// sections, its menus listing the pages under their titles in that language. The ids of the
// sections that show the main words for want of a translation are put in `untranslated`.
PageRecord InLanguage(const PageRecord& page, const std::string& language,
                      const TranslatedTitles& titles, std::set<std::string>& untranslated);

// The page's address in a language, from the version in `from`: under the site's address when
// it has one, else relative to the folder of `from`.
std::string LanguageAddress(const SiteOptions& options, const std::string& fileName,
                            const std::string& language, const std::string& from);

// The language switcher of the page in the language `current`: a link to the same page in every
// language, labelled by the language's own name, with its lang and hreflang; the current one
// marked. Nothing for a site of one language.
std::string LanguageSwitcherMarkup(const SiteOptions& options, const std::string& fileName,
                                   const std::string& current);

// The page's versions in the site's other languages, removed from their folders (a page
// deleted or renamed); a version that is not there is no failure.
void RemoveLanguageVersions(const SiteOptions& options, const std::string& siteFolder,
                            const std::string& fileName);

// The hreflang links of a page, as the version in `current` writes them: every language, that
// one included, and x-default for the main one.
std::string AlternateLinks(const SiteOptions& options, const std::string& fileName,
                           const std::string& current);
