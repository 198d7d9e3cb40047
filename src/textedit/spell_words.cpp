#include "textedit/spell_words.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "common/text_case.h"

namespace {

// The common words in lower case.
const std::unordered_set<std::string>& CommonWords() {
    static const std::unordered_set<std::string> words = [] {
        const std::string text =
            "I the to a as on then when in was were so "
            "for have had into be you we them use make used their of that at "
            "this his her my our there mine it always about with all some by "
            "like and more less an been done each up very what I'd hadn't is "
            "but can from he not one or out will your she than because if "
            "href img src http http:// mp3 www html login logon internet webpage website "
            "no e.g. i.e. oh wow eh ah uh-huh huh hmm argh above after against too";
        std::unordered_set<std::string> tokens;
        std::size_t start = 0;
        for (std::size_t space = text.find(' '); space != std::string::npos;
             space = text.find(' ', start)) {
            tokens.insert(LowerCase(text.substr(start, space - start)));
            start = space + 1;
        }
        tokens.insert(LowerCase(text.substr(start)));
        return tokens;
    }();
    return words;
}

}  // namespace

std::string StripPunctuation(std::string word) {
    bool changed = true;
    while (changed) {
        changed = false;
        const std::string before = word;
        std::string result = word;
        for (const char* c = kSpellPunctuation; *c != '\0'; ++c) {
            std::size_t at = before.find(*c);
            if (at == std::string::npos) {
                continue;
            }
            if (at == 0) {
                result.erase(0, 1);
                changed = true;
                at = before.find(*c);
            }
            if (at + 1 == before.size()) {
                result.resize(std::min(result.size(), at));
                changed = true;
                at = before.find(*c);
            }
            if (at + 2 == before.size()) {
                result.resize(std::min(result.size(), at));
                changed = true;
            }
        }
        word = result;
    }
    return word;
}

bool IsStopWordOrNumber(const std::string& word) {
    if (word.size() < 2) {
        return true;
    }
    if (CommonWords().count(LowerCase(word)) > 0) {
        return true;
    }
    std::string digits = word;
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
    return allDigits && word.size() - digits.size() < 2;
}
