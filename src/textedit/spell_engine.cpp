#include "textedit/spell_engine.h"

#include <hunspell/hunspell.hxx>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "common/paths.h"
#include "common/utf8.h"

namespace {

// Hunspell takes a dictionary it cannot read for an empty one: the files are looked at first.
bool Readable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char first = 0;
    return file.get(first).good();
}

// The text converted between encodings; nothing when a character has no place in the target.
std::optional<std::string> Converted(const std::string& text, const std::string& from,
                                     const std::string& to) {
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input = text;
    std::string output(text.size() * 4 + 4, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

bool IsUtf8Name(const std::string& encoding) {
    std::string bare;
    for (const char c : encoding) {
        if (c != '-' && c != '_') {
            bare += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
    return bare.empty() || bare == "UTF8";
}

}  // namespace

SpellEngine::SpellEngine(std::unique_ptr<Hunspell> hunspell) : hunspell_(std::move(hunspell)) {
    const std::string encoding = hunspell_->get_dict_encoding();
    if (!IsUtf8Name(encoding)) {
        encoding_ = encoding;
    }
}

std::optional<std::string> SpellEngine::toDictionary(const std::string& utf8) const {
    return encoding_.empty() ? std::optional<std::string>(utf8)
                             : Converted(utf8, "UTF-8", encoding_);
}

std::string SpellEngine::fromDictionary(const std::string& text) const {
    if (encoding_.empty()) {
        return text;
    }
    return Converted(text, encoding_, "UTF-8").value_or(std::string());
}

SpellEngine::~SpellEngine() = default;

std::unique_ptr<SpellEngine> SpellEngine::Load(const std::string& folder, std::string& failure,
                                               const std::string& name) {
    const std::string affixes = JoinPath(folder, name + ".aff");
    const std::string words = JoinPath(folder, name + ".dic");
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
        const std::optional<std::string> asked = toDictionary(word);
        if (!asked || !hunspell_->spell(*asked)) {
            std::vector<std::string> suggested;
            if (asked) {
                for (const std::string& suggestion : hunspell_->suggest(*asked)) {
                    suggested.push_back(fromDictionary(suggestion));
                }
            }
            answer = {Verdict::Incorrect, Offered(suggested)};
        }
        known = answers_.emplace(word, std::move(answer)).first;
    }
    suggestions = known->second.suggestions;
    return known->second.verdict;
}
