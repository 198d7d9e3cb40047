#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Hunspell;

// The spelling dictionary of the working folder (LDB/en_US.aff and en_US.dic) on Hunspell.
class SpellEngine {
  public:
    enum class Verdict { Skipped, Correct, Incorrect };
    // Words longer than this are not checked.
    static constexpr std::size_t kLongestWord = 31;

    // The engine on the dictionary folder; nothing, with the reason, when the dictionary is
    // missing or cannot be read.
    static std::unique_ptr<SpellEngine> Load(const std::string& folder, std::string& failure);
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

    std::unique_ptr<Hunspell> hunspell_;
    std::unordered_map<std::string, Answer> answers_;
};
