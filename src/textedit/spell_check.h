#pragma once

#include <cstddef>
#include <string>

class CustomWordList;
class Prompts;
class SpellEngine;

// The text the spell check walks: the editing area, or a model of it in tests. Positions count
// the text's own units; a paragraph break reads as "\r".
class SpellTarget {
  public:
    virtual ~SpellTarget() = default;
    virtual std::size_t length() const = 0;
    // The character at the position when it is ASCII, else a byte that is none of the
    // delimiters or punctuation.
    virtual char at(std::size_t position) const = 0;
    // The range as UTF-8.
    virtual std::string text(std::size_t start, std::size_t end) const = 0;
    // Shows the word being asked about.
    virtual void select(std::size_t start, std::size_t end) = 0;
    // Replaces the selection; gives the length the new text takes in the target's units.
    virtual std::size_t replaceSelection(const std::string& utf8) = 0;
};

// Walks the text word by word and asks about every word the dictionary does not know and the
// custom word list does not hold, skipping markup, addresses, numbers and common words. The
// answer replaces the word, joins the word list, or ends the run. Ends with "Spell check
// complete." unless the user cancelled.
void CheckSpelling(SpellTarget& text, SpellEngine& engine, CustomWordList& words, Prompts& prompts);

// The whole run of the editor's spell button: the dictionary of the language the words are
// written in (none given: the working folder's LDB) and the word list (quillwords.db). A
// language without an installed dictionary, or a dictionary that cannot be loaded, is reported
// and ends the run.
void RunSpellCheck(SpellTarget& text, const std::string& workingFolder, Prompts& prompts,
                   const std::string& language = std::string());
