#include "textedit/custom_word_list.h"

#include "common/text_case.h"
#include "platform/prompts.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "textedit/spell_words.h"

namespace {

constexpr const char* kDbErrorCaption = "db error";

}  // namespace

void CustomWordList::report(const SqliteException& failure) {
    prompts_.messageBox(failure.message(), kDbErrorCaption, MessageButtons::Ok, MessageIcon::None);
}

CustomWordList::CustomWordList(SqliteDatabase& db, Prompts& prompts) : db_(db), prompts_(prompts) {}

bool CustomWordList::contains(const std::string& word) {
    try {
        if (!lookup_) {
            lookup_ = db_.prepareExplained("SELECT WORD FROM searchwords WHERE WORD = ?1");
        }
        lookup_->rewind();
        lookup_->bindText(1, word);
        return !lookup_->runQuery().atEnd();
    } catch (const SqliteException& failure) {
        report(failure);
        return false;
    }
}

void CustomWordList::add(const std::string& word) {
    try {
        SqliteStatement insert = db_.prepareExplained("INSERT INTO searchwords (WORD) VALUES(?1)");
        insert.bindText(1, StripPunctuation(LowerCase(word)));
        insert.runStatement();
    } catch (const SqliteException& failure) {
        report(failure);
    }
}
