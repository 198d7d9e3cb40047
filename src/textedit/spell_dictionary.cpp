#include "textedit/spell_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/paths.h"
#include "common/text_case.h"

namespace {

constexpr const char* kOwnDictionary = "en_US";

bool Installed(const std::string& folder, const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(JoinPath(folder, name + ".aff"), error) &&
           std::filesystem::is_regular_file(JoinPath(folder, name + ".dic"), error);
}

// The names a tag may go by, most fitting first: "de-CH" gives de_CH, de, de_DE.
std::vector<std::string> NamesOf(const std::string& language) {
    const std::string primary = LowerCase(language.substr(0, language.find('-')));
    std::vector<std::string> names;
    const std::size_t dash = language.find('-');
    if (dash != std::string::npos) {
        std::string region = language.substr(dash + 1);
        region = region.substr(0, region.find('-'));
        names.push_back(primary + "_" + UpperCase(region));
    }
    names.push_back(primary);
    names.push_back(primary + "_" + UpperCase(primary));
    return names;
}

// Any region of the language the folder holds, the first by name.
std::optional<std::string> AnyRegion(const std::string& folder, const std::string& primary) {
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path path = entry->path();
        const std::string stem = path.stem().string();
        if (path.extension() == ".dic" && stem.size() > primary.size() &&
            stem.compare(0, primary.size() + 1, primary + "_") == 0 && Installed(folder, stem)) {
            found.push_back(stem);
        }
    }
    if (found.empty()) {
        return std::nullopt;
    }
    return *std::min_element(found.begin(), found.end());
}

}  // namespace

std::vector<std::string> SystemDictionaryFolders() {
    return {"/usr/share/hunspell", "/usr/share/myspell"};
}

std::optional<SpellDictionary> DictionaryFor(const std::string& language,
                                             const std::string& workingFolder,
                                             const std::vector<std::string>& systemFolders) {
    const SpellDictionary own{JoinPath(workingFolder, "LDB"), kOwnDictionary};
    if (language.empty()) {
        return own;
    }
    for (const std::string& name : NamesOf(language)) {
        for (const std::string& folder : systemFolders) {
            if (Installed(folder, name)) {
                return SpellDictionary{folder, name};
            }
        }
    }
    const std::string primary = LowerCase(language.substr(0, language.find('-')));
    for (const std::string& folder : systemFolders) {
        if (const std::optional<std::string> name = AnyRegion(folder, primary)) {
            return SpellDictionary{folder, *name};
        }
    }
    if (primary == "en") {
        return own;
    }
    return std::nullopt;
}
