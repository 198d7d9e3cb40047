#include "store/page_versions.h"

#include <array>
#include <cstdint>
#include <set>

#include "files/content_hash.h"
#include "page/design_text.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"

namespace {

constexpr const char* kTables =
    "CREATE TABLE IF NOT EXISTS pageversions (ID INTEGER PRIMARY KEY, DIRECTORY TEXT, "
    "FILENAME TEXT, SAVED INTEGER, DESIGNHASH TEXT, PIECES TEXT, PICTURE BLOB);"
    "CREATE INDEX IF NOT EXISTS pageversions_page ON pageversions (DIRECTORY, FILENAME, SAVED);"
    "CREATE TABLE IF NOT EXISTS versionpieces (HASH TEXT PRIMARY KEY, USES INTEGER, DATA BLOB);";
constexpr const char* kHasTable =
    "select count(*) from sqlite_master where type = 'table' and name = 'pageversions'";
constexpr std::size_t kHashDigits = 32;
constexpr long long kDayMs = 24LL * 60 * 60 * 1000;

constexpr std::size_t kSmallestPiece = 256;
constexpr std::size_t kLargestPiece = 16 * 1024;
// A cut where the rolling hash's top 11 bits are all zero: about every 2 KB. The top bits hang
// on the last 64 bytes; the low ones on the last few only, which a repetitive text never
// brings to zero.
constexpr std::uint64_t kCutMask = ~std::uint64_t{0} << 53;

// One fixed pseudo-random number per byte value, for the rolling hash.
const std::array<std::uint64_t, 256>& Gear() {
    static const std::array<std::uint64_t, 256> gear = [] {
        std::array<std::uint64_t, 256> values{};
        std::uint64_t state = 0x9E3779B97F4A7C15ULL;
        for (std::uint64_t& value : values) {
            state += 0x9E3779B97F4A7C15ULL;
            std::uint64_t mixed = state;
            mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
            mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
            value = mixed ^ (mixed >> 31);
        }
        return values;
    }();
    return gear;
}

SqliteStatement Bound(SqliteDatabase& db, const char* sql, const std::string& folder,
                      const std::string& fileName) {
    SqliteStatement statement = db.prepare(sql);
    statement.bindText(1, folder);
    statement.bindText(2, fileName);
    return statement;
}

}  // namespace

std::vector<std::string> ContentPieces(const std::string& text) {
    std::vector<std::string> pieces;
    const std::array<std::uint64_t, 256>& gear = Gear();
    std::size_t start = 0;
    std::uint64_t hash = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        hash = (hash << 1) + gear[static_cast<unsigned char>(text[i])];
        const std::size_t length = i + 1 - start;
        if ((length >= kSmallestPiece && (hash & kCutMask) == 0) || length >= kLargestPiece) {
            pieces.push_back(text.substr(start, length));
            start = i + 1;
            hash = 0;
        }
    }
    if (start < text.size()) {
        pieces.push_back(text.substr(start));
    }
    return pieces;
}

PageVersions::PageVersions(SqliteDatabase& db) : db_(db) {}

bool PageVersions::kept() {
    return db_.runScalar(kHasTable) != 0;
}

void PageVersions::prepareTables() {
    // Asked each time: another program may have made the store anew meanwhile.
    db_.runStatement(kTables);
}

bool PageVersions::holdsAny(const std::string& folder, const std::string& fileName) {
    if (!kept()) {
        return false;
    }
    SqliteStatement any =
        Bound(db_, "select 1 from pageversions where DIRECTORY = ?1 AND FILENAME = ?2 limit 1",
              folder, fileName);
    return !any.runQuery().atEnd();
}

void PageVersions::keep(const PageRecord& page, const std::string& picture, long long savedAt) {
    prepareTables();
    const std::string text = DesignText(page);
    const std::string designHash = ContentHashOfText(text);
    SqliteTransaction transaction(db_);
    {
        SqliteStatement newest =
            Bound(db_,
                  "select DESIGNHASH from pageversions where DIRECTORY = ?1 AND FILENAME = ?2 "
                  "order by SAVED desc, ID desc limit 1",
                  page.directory, page.fileName);
        SqliteCursor row = newest.runQuery();
        if (!row.atEnd() && row.textValue(0) == designHash) {
            return;
        }
    }
    std::string list;
    std::set<std::string> counted;
    SqliteStatement store = db_.prepare(
        "insert into versionpieces (HASH,USES,DATA) VALUES(?1,1,?2) "
        "on conflict(HASH) do update set USES = USES + 1");
    for (const std::string& piece : ContentPieces(text)) {
        const std::string hash = ContentHashOfText(piece);
        list += hash;
        // A piece is counted once for each version holding it.
        if (counted.insert(hash).second) {
            store.rewind();
            store.bindText(1, hash);
            store.bindBlob(2, piece.data(), piece.size());
            store.runStatement();
        }
    }
    SqliteStatement version =
        Bound(db_,
              "insert into pageversions (DIRECTORY,FILENAME,SAVED,DESIGNHASH,PIECES,PICTURE) "
              "VALUES(?1,?2,?3,?4,?5,?6)",
              page.directory, page.fileName);
    version.bindInt64(3, savedAt);
    version.bindText(4, designHash);
    version.bindText(5, list);
    version.bindBlob(6, picture.data(), picture.size());
    version.runStatement();

    // Beyond the newest versions kept by number, those older than the kept days go.
    SqliteStatement old =
        Bound(db_,
              "select ID,PIECES from pageversions where DIRECTORY = ?1 AND FILENAME = ?2 AND "
              "SAVED < ?3 order by SAVED desc, ID desc limit -1 offset ?4",
              page.directory, page.fileName);
    old.bindInt64(3, savedAt - kKeptDays * kDayMs);
    // The younger versions are kept anyway, and so many of the older as the number still asks.
    SqliteStatement younger =
        Bound(db_,
              "select count(*) from pageversions where DIRECTORY = ?1 AND FILENAME = ?2 AND "
              "SAVED >= ?3",
              page.directory, page.fileName);
    younger.bindInt64(3, savedAt - kKeptDays * kDayMs);
    const long long young = younger.runQuery().intValue(0);
    const long long stillKept =
        young >= static_cast<long long>(kKeptVersions) ? 0 : kKeptVersions - young;
    old.bindInt64(4, stillKept);
    forgetAll(old);
    transaction.commit();
}

void PageVersions::forgetAll(SqliteStatement& versions) {
    // Read whole first: forgetting deletes rows of the table the query walks.
    std::vector<std::pair<long long, std::string>> named;
    for (SqliteCursor row = versions.runQuery(); !row.atEnd(); row.advance()) {
        named.emplace_back(std::stoll(row.textValue(0)), row.textValue(1));
    }
    for (const auto& [id, pieces] : named) {
        forget(id, pieces);
    }
}

void PageVersions::forget(long long id, const std::string& pieces) {
    std::set<std::string> hashes;
    for (std::size_t at = 0; at + kHashDigits <= pieces.size(); at += kHashDigits) {
        hashes.insert(pieces.substr(at, kHashDigits));
    }
    SqliteStatement release =
        db_.prepare("update versionpieces set USES = USES - 1 where HASH = ?1");
    for (const std::string& hash : hashes) {
        release.rewind();
        release.bindText(1, hash);
        release.runStatement();
    }
    db_.runStatement("delete from versionpieces where USES <= 0");
    SqliteStatement row = db_.prepare("delete from pageversions where ID = ?1");
    row.bindInt64(1, id);
    row.runStatement();
}

std::vector<PageVersion> PageVersions::list(const std::string& folder,
                                            const std::string& fileName) {
    std::vector<PageVersion> versions;
    if (!kept()) {
        return versions;
    }
    SqliteStatement rows = Bound(db_,
                                 "select ID,SAVED,PICTURE from pageversions where DIRECTORY = "
                                 "?1 AND FILENAME = ?2 order by SAVED desc, ID desc",
                                 folder, fileName);
    for (SqliteCursor row = rows.runQuery(); !row.atEnd(); row.advance()) {
        versions.push_back({std::stoll(row.textValue(0)), std::stoll(row.textValue(1)),
                            row.isNull(2) ? std::string() : row.blobValue(2)});
    }
    return versions;
}

std::optional<PageRecord> PageVersions::design(long long id) {
    if (!kept()) {
        return std::nullopt;
    }
    SqliteStatement version = db_.prepare("select PIECES from pageversions where ID = ?1");
    version.bindInt64(1, id);
    SqliteCursor row = version.runQuery();
    if (row.atEnd()) {
        return std::nullopt;
    }
    const std::string pieces = row.textValue(0);
    SqliteStatement piece = db_.prepare("select DATA from versionpieces where HASH = ?1");
    std::string text;
    for (std::size_t at = 0; at + kHashDigits <= pieces.size(); at += kHashDigits) {
        piece.rewind();
        piece.bindText(1, pieces.substr(at, kHashDigits));
        SqliteCursor data = piece.runQuery();
        if (data.atEnd()) {
            return std::nullopt;
        }
        text += data.blobValue(0);
    }
    return ParseDesignText(text);
}

std::optional<long long> PageVersions::lastSaved(const std::string& folder,
                                                 const std::string& fileName) {
    if (!kept()) {
        return std::nullopt;
    }
    SqliteStatement newest =
        Bound(db_, "select max(SAVED) from pageversions where DIRECTORY = ?1 AND FILENAME = ?2",
              folder, fileName);
    SqliteCursor row = newest.runQuery();
    if (row.atEnd() || row.isNull(0)) {
        return std::nullopt;
    }
    return std::stoll(row.textValue(0));
}

void PageVersions::rename(const std::string& folder, const std::string& oldName,
                          const std::string& newName) {
    if (!kept()) {
        return;
    }
    SqliteStatement rename =
        db_.prepare("update pageversions set FILENAME = ?1 where DIRECTORY = ?2 AND FILENAME = ?3");
    rename.bindText(1, newName);
    rename.bindText(2, folder);
    rename.bindText(3, oldName);
    rename.runStatement();
}

void PageVersions::move(const std::string& folder, const std::string& fileName,
                        const std::string& toFolder) {
    if (!kept()) {
        return;
    }
    SqliteStatement move =
        Bound(db_, "update pageversions set DIRECTORY = ?3 where DIRECTORY = ?1 AND FILENAME = ?2",
              folder, fileName);
    move.bindText(3, toFolder);
    move.runStatement();
}

void PageVersions::remove(const std::string& folder, const std::string& fileName) {
    if (!kept()) {
        return;
    }
    SqliteStatement rows =
        Bound(db_, "select ID,PIECES from pageversions where DIRECTORY = ?1 AND FILENAME = ?2",
              folder, fileName);
    forgetAll(rows);
}
