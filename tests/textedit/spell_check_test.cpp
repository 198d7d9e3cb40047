#include "textedit/spell_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "store/db/sqlite_database.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "textedit/custom_word_list.h"
#include "textedit/rich_text.h"
#include "textedit/spell_dictionary.h"
#include "textedit/spell_engine.h"
#include "textedit/spell_words.h"

namespace {

constexpr const char* kSystemDictionary = "/usr/share/hunspell";

// The editing area as a plain rich text; records every selection it is asked to show.
class TextTarget : public SpellTarget {
  public:
    explicit TextTarget(const std::string& utf8) : text_(utf8, CharFormat()) {}

    std::size_t length() const override { return text_.length(); }
    char at(std::size_t position) const override {
        const char32_t c = text_.at(position);
        return c < 128 ? static_cast<char>(c) : '\x01';
    }
    std::string text(std::size_t start, std::size_t end) const override {
        return text_.text(start, end);
    }
    void select(std::size_t start, std::size_t end) override {
        text_.select(start, end);
        selected.push_back(text_.text(start, end));
    }
    std::size_t replaceSelection(const std::string& utf8) override {
        text_.replace(text_.selectionStart(), text_.selectionEnd(), utf8, CharFormat());
        return RichText(utf8, CharFormat()).length();
    }
    std::string all() const { return text_.text(); }

    std::vector<std::string> selected;

  private:
    RichText text_;
};

class SpellCheckTest : public ::testing::Test {
  protected:
    SpellCheckTest() {
        words.open(working / "quillwords.db");
        words.runStatement("CREATE TABLE searchwords (WORD TEXT)");
        std::string failure;
        engine = SpellEngine::Load(kSystemDictionary, failure);
    }

    // Checks the text and gives it back as it stands afterwards.
    std::string check(TextTarget& target) {
        CustomWordList list(words, prompts);
        CheckSpelling(target, *engine, list, prompts);
        return target.all();
    }

    TempFolder working;
    SqliteDatabase words;
    FakePrompts prompts;
    std::unique_ptr<SpellEngine> engine;
};

}  // namespace

TEST_F(SpellCheckTest, TheWalkChecksWordsAndSkipsWhatIsNoWord) {
    ASSERT_TRUE(engine);
    // The words asked about, each selected in the text first.
    const struct {
        const char* text;
        std::vector<std::string> checked;
    } cases[] = {
        {"Hello, wrold.", {"wrold"}},
        {"a.m. (qwrty) teh", {"a.m.", "qwrty", "teh"}},
        {"I'd e-mail don't uh-huh", {}},
        {"3.14 2009", {}},
        {"http://exampel.com x//qwrty <b>qwrty</b> <img>", {}},
        {"THE The a x", {}},
        {"speling", {"speling"}},
        {" \rqwrty", {"qwrty"}},
    };
    for (const auto& sample : cases) {
        TextTarget target(sample.text);
        check(target);
        EXPECT_EQ(target.selected, sample.checked) << sample.text;
    }
    EXPECT_EQ(prompts.shown.back().text, "Spell check complete.");
    EXPECT_EQ(prompts.shown.back().caption, "SPELL CHECK MESSAGE");
}

TEST_F(SpellCheckTest, AnswersReplaceAddOrStopAndTheScanFollowsTheNewText) {
    ASSERT_TRUE(engine);
    // A longer replacement early on: the misspelt last word is still reached.
    prompts.spellAnswers = {{"these", false, false}, {"wonderfully", false, false}};
    TextTarget longer("teh cat is wnderful");
    EXPECT_EQ(check(longer), "these cat is wonderfully");
    EXPECT_EQ(longer.selected, (std::vector<std::string>{"teh", "wnderful"}));

    // "dictionary" stores the stripped lower case and replaces with the text as typed; the
    // word is never asked about again.
    prompts.spellAnswers = {{"Blorp.", true, false}};
    TextTarget added("blorp bar");
    EXPECT_EQ(check(added), "Blorp. bar");
    EXPECT_EQ(words.runScalar("select count(*) from searchwords where WORD = 'blorp'"), 1);
    TextTarget again("blorp");
    check(again);
    EXPECT_TRUE(again.selected.empty());

    // Cancel ends the run at once: no completion message, earlier replacements stay.
    prompts.shown.clear();
    prompts.spellAnswers = {{"the", false, false}, {"", false, true}};
    TextTarget cancelled("teh qwrty zxcvb");
    EXPECT_EQ(check(cancelled), "the qwrty zxcvb");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SpellCheckTest, SuggestionsComeInTheDictionarysOrder) {
    ASSERT_TRUE(engine);
    std::vector<std::string> suggestions;
    EXPECT_EQ(engine->check("thier", suggestions), SpellEngine::Verdict::Incorrect);
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(suggestions.front(), "their");
    EXPECT_EQ(engine->check("their", suggestions), SpellEngine::Verdict::Correct);
    EXPECT_EQ(engine->check(std::string(32, 'a'), suggestions), SpellEngine::Verdict::Skipped);
    // Each offered once, whole: no split into two words, no single letters.
    EXPECT_EQ(engine->check("Thiss", suggestions), SpellEngine::Verdict::Incorrect);
    ASSERT_FALSE(suggestions.empty());
    EXPECT_EQ(std::count(suggestions.begin(), suggestions.end(), "This"), 1);
    for (const std::string& suggestion : suggestions) {
        EXPECT_GT(suggestion.size(), 1u) << suggestion;
        EXPECT_EQ(suggestion.find(' '), std::string::npos) << suggestion;
    }
    TextTarget target("thier");
    check(target);
    EXPECT_EQ(prompts.spellAsked.at(0).rfind("thier | their ", 0), 0u);
}

TEST(SpellWords, PunctuationIsStrippedPassByPassAndNumbersAreSkipped) {
    EXPECT_EQ(StripPunctuation("(see)"), "see");
    EXPECT_EQ(StripPunctuation("foo."), "foo");
    EXPECT_EQ(StripPunctuation("\"quoted\","), "quoted");
    // Only the first "." counts, and it is inside the word.
    EXPECT_EQ(StripPunctuation("a.m."), "a.m.");
    EXPECT_TRUE(IsStopWordOrNumber("3.14"));
    EXPECT_TRUE(IsStopWordOrNumber("2009"));
    EXPECT_FALSE(IsStopWordOrNumber("1.2.3"));
    EXPECT_TRUE(IsStopWordOrNumber("argh"));
    EXPECT_TRUE(IsStopWordOrNumber("Www"));
    EXPECT_FALSE(IsStopWordOrNumber("cat"));
}

TEST(SpellRun, AMissingDictionaryOrWordListIsReported) {
    TempFolder working;
    FakePrompts prompts;
    TextTarget target("teh");
    RunSpellCheck(target, working.path(), prompts);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "Quillora spelling db load error");
    EXPECT_EQ(prompts.shown[0].text, "The spelling dictionary " + working / "LDB/en_US.aff" +
                                         " is missing or cannot be read.");

    // A word list without its table: each look-up says so, and the word is still checked.
    std::filesystem::create_directories(working / "LDB");
    for (const char* file : {"en_US.aff", "en_US.dic"}) {
        std::filesystem::copy_file(std::string(kSystemDictionary) + "/" + file,
                                   working / ("LDB/" + std::string(file)));
    }
    prompts.shown.clear();
    RunSpellCheck(target, working.path(), prompts);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].caption, "db error");
    EXPECT_EQ(prompts.shown[0].text, "SQLITE_ERROR[1]: no such table: searchwords");
    EXPECT_EQ(prompts.spellAsked.size(), 1u);
}

// Each language is checked in the dictionary installed for it, found by its tag, whatever that
// dictionary's own encoding; a language without one is said, and nothing is asked.
TEST(SpellRun, EachLanguageIsCheckedInItsOwnDictionary) {
    TempFolder system;
    for (const char* name : {"fr", "de_DE", "de_CH", "pt_BR"}) {
        WriteFile(system / (std::string(name) + ".aff"), "SET UTF-8\n");
        WriteFile(system / (std::string(name) + ".dic"), "1\nmot\n");
    }
    TempFolder working;
    const struct {
        const char* language;
        const char* folder;
        const char* name;
    } cases[] = {
        {"", "working", "en_US"},
        {"fr-CA", "system", "fr"},
        {"de-AT", "system", "de_DE"},
        {"de-CH", "system", "de_CH"},
        {"pt", "system", "pt_BR"},
        {"en-GB", "working", "en_US"},
        {"tlh", "", ""},
    };
    for (const auto& language : cases) {
        const std::optional<SpellDictionary> found =
            DictionaryFor(language.language, working.path(), {working / "none", system.path()});
        const std::string folder = std::string(language.folder) == "system"    ? system.path()
                                   : std::string(language.folder) == "working" ? working / "LDB"
                                                                               : "";
        EXPECT_EQ(found ? found->folder + " " + found->name : std::string(),
                  folder.empty() ? "" : folder + " " + language.name)
            << language.language;
    }

    // A dictionary in Latin-1 takes and gives UTF-8 words.
    WriteFile(system / "la_LA.aff", "SET ISO8859-1\nTRY ae\xe9\n");
    WriteFile(system / "la_LA.dic", "2\ncaf\xe9\nna\xefve\n");
    std::string failure;
    const std::unique_ptr<SpellEngine> latin = SpellEngine::Load(system.path(), failure, "la_LA");
    ASSERT_TRUE(latin) << failure;
    std::vector<std::string> suggestions;
    EXPECT_EQ(latin->check("café", suggestions), SpellEngine::Verdict::Correct);
    EXPECT_EQ(latin->check("cafe", suggestions), SpellEngine::Verdict::Incorrect);
    EXPECT_EQ(suggestions, std::vector<std::string>{"café"});
    EXPECT_EQ(latin->check("日本", suggestions), SpellEngine::Verdict::Incorrect);

    // The real French dictionary asks about French mistakes only.
    SqliteDatabase words;
    words.open(working / "quillwords.db");
    words.runStatement("CREATE TABLE searchwords (WORD TEXT)");
    FakePrompts prompts;
    TextTarget french("Bonjour, voilà le mond entier");
    RunSpellCheck(french, working.path(), prompts, "fr");
    ASSERT_EQ(prompts.spellAsked.size(), 1u);
    EXPECT_EQ(prompts.spellAsked[0].substr(0, 7), "mond | ");
    prompts.spellAsked.clear();
    RunSpellCheck(french, working.path(), prompts, "tlh");
    EXPECT_TRUE(prompts.spellAsked.empty());
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(
        prompts.shown.back().text.rfind("No spelling dictionary for tlh (tlh) is installed", 0),
        0u);
}
