#pragma once

#include <optional>
#include <string>
#include <vector>

// A Hunspell dictionary: its folder and its name (fr_FR for fr_FR.aff and fr_FR.dic).
struct SpellDictionary {
    std::string folder;
    std::string name;
};

// Where Debian's hunspell-* packages put their dictionaries.
std::vector<std::string> SystemDictionaryFolders();

// The dictionary that checks a language (a BCP 47 tag). No tag means the working folder's own
// (LDB/en_US). A tag looks among the system's for its own region (de-CH: de_CH), the bare
// language (de), the language's region of the same name (de_DE), then any region of it, in
// name order; English without one of its own falls back to the working folder's. Nothing when
// no dictionary of the language is installed.
std::optional<SpellDictionary> DictionaryFor(const std::string& language,
                                             const std::string& workingFolder,
                                             const std::vector<std::string>& systemFolders);
