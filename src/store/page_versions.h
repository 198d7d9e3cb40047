#pragma once

#include <optional>
#include <string>
#include <vector>

#include "page/page_record.h"

class SqliteDatabase;
class SqliteStatement;

// A kept version of a page: when it was saved (milliseconds since 1970) and a small picture of
// the page then (empty when none was taken).
struct PageVersion {
    long long id = 0;
    long long savedAt = 0;
    std::string picture;
};

// Every design a page was saved with, kept in the page store beside the pages. A design is kept
// as pieces cut where its content says (so an edit changes few of them), each piece stored
// once for every version of every page that holds it. A page keeps at least its last
// kKeptVersions versions, and every version younger than kKeptDays days. Failures are thrown as
// SqliteException.
class PageVersions {
  public:
    static constexpr std::size_t kKeptVersions = 100;
    static constexpr long long kKeptDays = 90;
    static constexpr long long kKeptSeconds = kKeptDays * 24 * 60 * 60;

    explicit PageVersions(SqliteDatabase& db);

    // Keeps the design as the page's version saved at that time, unless it is the page's newest
    // version already; then lets go of the versions beyond keeping.
    void keep(const PageRecord& page, const std::string& picture, long long savedAt);
    // Whether the page has any version kept.
    bool holdsAny(const std::string& folder, const std::string& fileName);
    // The page's versions, newest first, with their pictures.
    std::vector<PageVersion> list(const std::string& folder, const std::string& fileName);
    // The design of a version; nothing when it is not kept or cannot be read.
    std::optional<PageRecord> design(long long id);
    std::optional<long long> lastSaved(const std::string& folder, const std::string& fileName);
    void rename(const std::string& folder, const std::string& oldName, const std::string& newName);
    // The page's versions kept under another folder's name (a deleted page's aside).
    void move(const std::string& folder, const std::string& fileName, const std::string& toFolder);
    void remove(const std::string& folder, const std::string& fileName);

  private:
    // Whether the store has versions at all (a store of an earlier version has not).
    bool kept();
    void prepareTables();
    // Lets go of the versions the query names (their ID and pieces).
    void forgetAll(SqliteStatement& versions);
    void forget(long long id, const std::string& chunks);

    SqliteDatabase& db_;
};

// The text cut where its content says (pieces of about 2 KB, none under 256 bytes or over
// 16 KB): an insertion or change moves only the cuts near it.
std::vector<std::string> ContentPieces(const std::string& text);
