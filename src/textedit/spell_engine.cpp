#include "textedit/spell_engine.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <fstream>

#include "common/paths.h"
#include "common/utf8.h"

namespace {

constexpr const char* kDictionary = "en_US";

// Hunspell takes a dictionary it cannot read for an empty one: the files are looked at first.
bool Readable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char first = 0;
    return file.get(first).good();
}

}  // namespace

SpellEngine::SpellEngine(std::unique_ptr<Hunspell> hunspell) : hunspell_(std::move(hunspell)) {}

SpellEngine::~SpellEngine() = default;

std::unique_ptr<SpellEngine> SpellEngine::Load(const std::string& folder, std::string& failure) {
    const std::string affixes = JoinPath(folder, std::string(kDictionary) + ".aff");
    const std::string words = JoinPath(folder, std::string(kDictionary) + ".dic");
    for (const std::string& file : {affixes, words}) {
        if (!Readable(file)) {
            failure = "The spelling dictionary " + file + " is missing or cannot be read.";
            return nullptr;
        }
    }
    return std::unique_ptr<SpellEngine>(
        new SpellEngine(std::make_unique<Hunspell>(affixes.c_str(), words.c_str())));
}

namespace {

// The suggestions the dialog can offer: whole single words, each once. The dictionary also
// proposes splits ("This s"), whose parts would show as words of their own, and repeats.
std::vector<std::string> Offered(const std::vector<std::string>& suggested) {
    std::vector<std::string> offered;
    for (const std::string& suggestion : suggested) {
        if (DecodeUtf8(suggestion).size() > 1 && suggestion.find(' ') == std::string::npos &&
            std::find(offered.begin(), offered.end(), suggestion) == offered.end()) {
            offered.push_back(suggestion);
        }
    }
    return offered;
}

}  // namespace

SpellEngine::Verdict SpellEngine::check(const std::string& word,
                                        std::vector<std::string>& suggestions) {
    suggestions.clear();
    if (word.empty() || DecodeUtf8(word).size() > kLongestWord) {
        return Verdict::Skipped;
    }
    auto known = answers_.find(word);
    if (known == answers_.end()) {
        Answer answer{Verdict::Correct, {}};
        if (!hunspell_->spell(word)) {
            answer = {Verdict::Incorrect, Offered(hunspell_->suggest(word))};
        }
        known = answers_.emplace(word, std::move(answer)).first;
    }
    suggestions = known->second.suggestions;
    return known->second.verdict;
}
