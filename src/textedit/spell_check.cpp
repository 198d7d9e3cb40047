#include "textedit/spell_check.h"

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_search.h"
#include "page/site_languages.h"
#include "platform/prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "textedit/custom_word_list.h"
#include "textedit/spell_dictionary.h"
#include "textedit/spell_engine.h"
#include "textedit/spell_words.h"

namespace {

bool IsDelimiter(char c) {
    return c == ' ' || c == '\r' || c == '\t';
}

bool IsPunctuation(char c) {
    return c != '\0' && std::strchr(kSpellPunctuation, c) != nullptr;
}

bool IsCandidate(const std::string& lowered, CustomWordList& words) {
    if (Contains(lowered, "'") || Contains(lowered, "-")) {
        return false;
    }
    const std::string stripped = StripPunctuation(lowered);
    return !IsStopWordOrNumber(stripped) && !words.contains(stripped);
}

std::string SuggestionText(const std::vector<std::string>& suggestions) {
    std::string text;
    for (const std::string& suggestion : suggestions) {
        text += suggestion + " ";
    }
    return text;
}

}  // namespace

void CheckSpelling(SpellTarget& text, SpellEngine& engine, CustomWordList& words,
                   Prompts& prompts) {
    std::size_t length = text.length();
    std::optional<std::size_t> lastDelimiter;
    bool cancelled = false;
    std::vector<std::string> suggestions;
    for (std::size_t i = 0; i < length && !cancelled; ++i) {
        const bool delimiter = IsDelimiter(text.at(i));
        if (!delimiter && i + 1 != length) {
            continue;
        }
        const std::size_t start = lastDelimiter ? *lastDelimiter + 1 : 0;
        const std::size_t end = delimiter ? i : length;
        bool replaced = false;
        const std::string word = start < end ? text.text(start, end) : std::string();
        if (end - start >= 2 && !Contains(word, "<") && !Contains(word, ">") &&
            !Contains(word, "//") && !Contains(word, "http:") &&
            IsCandidate(LowerCase(word), words)) {
            std::size_t first = start;
            std::size_t last = end;
            if (IsPunctuation(text.at(start))) {
                ++first;
            }
            const char final = text.at(end - 1);
            if (IsPunctuation(final) && word.find(final) == word.size() - 1) {
                --last;
            }
            const std::string asked = text.text(first, last);
            if (engine.check(asked, suggestions) == SpellEngine::Verdict::Incorrect) {
                // Shown while the user is asked; a selection for every word would only flicker.
                text.select(first, last);
                const SpellAnswer answer =
                    prompts.spellReplacement(asked, SuggestionText(suggestions));
                if (answer.addWord && !answer.cancelAll) {
                    words.add(answer.replacement);
                }
                if (answer.cancelAll) {
                    cancelled = true;
                } else {
                    // An ignored word comes back as it was: the text need not change.
                    const std::size_t inserted = answer.replacement == asked
                                                     ? last - first
                                                     : text.replaceSelection(answer.replacement);
                    if (!delimiter) {
                        break;
                    }
                    // The scan goes on behind the new text, whatever its length: the
                    // delimiter, the position and the end all move by the difference.
                    i = i - last + first + inserted;
                    length = length - last + first + inserted;
                    lastDelimiter = i;
                    replaced = true;
                }
            }
        }
        if (delimiter && !replaced) {
            lastDelimiter = i;
        }
    }
    if (!cancelled) {
        prompts.messageBox("Spell check complete.", "SPELL CHECK MESSAGE", MessageButtons::Ok,
                           MessageIcon::None);
    }
}

void RunSpellCheck(SpellTarget& text, const std::string& workingFolder, Prompts& prompts,
                   const std::string& language) {
    const std::optional<SpellDictionary> dictionary =
        DictionaryFor(language, workingFolder, SystemDictionaryFolders());
    if (!dictionary) {
        prompts.messageBox("No spelling dictionary for " + OwnLanguageName(language) + " (" +
                               language +
                               ") is installed on this computer, so its words cannot be checked. "
                               "Debian's hunspell packages bring them (hunspell-fr, "
                               "hunspell-de-de, hunspell-es, ...).",
                           "SPELL CHECK MESSAGE", MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    SqliteDatabase db;
    try {
        db.open(JoinPath(workingFolder, "quillwords.db"));
    } catch (const SqliteException& failure) {
        prompts.messageBox(failure.message(), "db error", MessageButtons::Ok, MessageIcon::None);
    }
    std::string failure;
    const std::unique_ptr<SpellEngine> engine =
        SpellEngine::Load(dictionary->folder, failure, dictionary->name);
    if (!engine) {
        prompts.messageBox(failure, "Quillora spelling db load error", MessageButtons::Ok,
                           MessageIcon::Error);
        return;
    }
    CustomWordList words(db, prompts);
    CheckSpelling(text, *engine, words, prompts);
}
