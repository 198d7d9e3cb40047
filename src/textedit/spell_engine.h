#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Hunspell;

// A spelling dictionary on Hunspell: the working folder's (LDB/en_US.aff and en_US.dic) or one
// of the system's. Words come and go as UTF-8 whatever the dictionary's own encoding.
class SpellEngine {
  public:
    enum class Verdict { Skipped, Correct, Incorrect };
    // Words longer than this are not checked.
    static constexpr std::size_t kLongestWord = 31;

    // The engine on the named dictionary of the folder; nothing, with the reason, when the
    // dictionary is missing or cannot be read.
    static std::unique_ptr<SpellEngine> Load(const std::string& folder, std::string& failure,
                                             const std::string& name = "en_US");
    ~SpellEngine();
    SpellEngine(const SpellEngine&) = delete;
    SpellEngine& operator=(const SpellEngine&) = delete;

    // The verdict on the word (UTF-8); the suggestions of an incorrect word in the
    // dictionary's order. Each word is looked up once per engine: texts repeat their words,
    // and finding suggestions is the slow part of a check.
    Verdict check(const std::string& word, std::vector<std::string>& suggestions);

  private:
    explicit SpellEngine(std::unique_ptr<Hunspell> hunspell);

    struct Answer {
        Verdict verdict;
        std::vector<std::string> suggestions;
    };

    // The word in the dictionary's encoding and back; nothing for a word it cannot hold.
    std::optional<std::string> toDictionary(const std::string& utf8) const;
    std::string fromDictionary(const std::string& text) const;

    std::unique_ptr<Hunspell> hunspell_;
    // Empty for a UTF-8 dictionary.
    std::string encoding_;
    std::unordered_map<std::string, Answer> answers_;
};
