#pragma once

#include <optional>
#include <string>
#include <vector>

// The languages of a site: BCP 47 tags ("en", "fr", "de-CH"), the first the main language.

// Whether the text is a language tag this program writes: a language of two or three letters,
// then subtags of two to eight letters or digits, joined by "-".
bool IsLanguageTag(const std::string& tag);

// The tags of a list as stored ("en,fr, de"): blanks dropped, each tag once; nothing when one
// of them is no tag.
std::optional<std::vector<std::string>> LanguageList(const std::string& text);
// The list as stored: the tags joined by commas.
std::string LanguageListText(const std::vector<std::string>& tags);

// The rich text of a section that is the language switcher: its links are made for each page.
inline constexpr const char* kLanguageSwitcher = "{\\rtf1 QUILLORA LANGUAGE SWITCHER}";

// The language's name in its own language ("Deutsch", "Français"); the tag itself for one this
// program does not know.
std::string OwnLanguageName(const std::string& tag);
