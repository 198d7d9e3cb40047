#pragma once

#include <optional>
#include <string>

#include "store/db/sqlite_statement.h"

class Prompts;
class SqliteDatabase;
class SqliteException;

// The words the user added to the spelling dictionary: table searchwords of quillwords.db in
// the working folder. A failing statement is shown as "db error"; the check goes on.
class CustomWordList {
  public:
    CustomWordList(SqliteDatabase& db, Prompts& prompts);

    // True when the word (already lowered and stripped) is in the list; false, after the
    // message, when the list cannot be read, so that the word is checked.
    bool contains(const std::string& word);
    // Stores the word lowered and stripped of punctuation.
    void add(const std::string& word);

  private:
    void report(const SqliteException& failure);

    SqliteDatabase& db_;
    Prompts& prompts_;
    // Compiled once: a check looks up nearly every word of the text.
    std::optional<SqliteStatement> lookup_;
};
