#include "site/site_archive.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "common/paths.h"
#include "files/content_hash.h"
#include "files/font_file.h"
#include "files/font_match.h"
#include "page/site_items.h"
#include "platform/console_prompts.h"
#include "site/imported_design.h"
#include "site/site_archive_format.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

// The work a file's statements may do in all: far beyond any export's reads, short of a
// query that never ends.
constexpr long long kMostInstructions = 2'000'000'000;

std::string Info(SqliteDatabase& db, const std::string& name) {
    SqliteStatement row = db.prepare("select VALUE from siteexport where NAME = ?1");
    row.bindText(1, name);
    SqliteCursor value = row.runQuery();
    return value.atEnd() ? std::string() : value.textValue(0);
}

// Whether the file's header names this program's site format (byte 68, big-endian): read from
// the file itself, it tells a damaged export from a foreign file whatever else is broken.
bool MarkedAsSiteFile(const std::string& file) {
    std::string header(100, '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    const auto byte = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(header[at]));
    };
    return header.compare(0, 16, std::string("SQLite format 3\0", 16)) == 0 &&
           (byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71)) ==
               static_cast<std::uint32_t>(kSiteFileApplicationId);
}

// Every table and index an export makes, as "type name": those of a store that kept a page
// with its extras and phone choices and the folder's options, and the file's own.
std::set<std::string> ExportSchema() {
    SqliteDatabase reference;
    reference.open(":memory:");
    CreatePageStore(reference);
    reference.runStatement(kSiteFileTables);
    std::ostringstream told;
    ConsolePrompts quiet(told);
    PageStore store(reference, quiet);
    store.keepVersions(false);
    PageRecord page;
    page.directory = "site";
    page.description = "extra";
    page.phoneChoices["item"]["ORDER"] = "1";
    page.translations["fr"][kTranslatedTitle] = "extra";
    store.savePage(page);
    store.siteOptions().save(page.directory, SiteOptions{});
    std::set<std::string> entries;
    for (SqliteCursor row = reference.runQuery("select type,name from sqlite_master"); !row.atEnd();
         row.advance()) {
        entries.insert(row.textValue(0) + " " + row.textValue(1));
    }
    return entries;
}

// The first entry of the file's schema that no export makes (a view, a trigger, a table of
// its own); empty when there is none.
std::string ForeignSchemaEntry(SqliteDatabase& db) {
    const std::set<std::string> expected = ExportSchema();
    for (SqliteCursor row = db.runQuery("select type,name from sqlite_master"); !row.atEnd();
         row.advance()) {
        const std::string entry = row.textValue(0) + " " + row.textValue(1);
        if (expected.count(entry) == 0) {
            return entry;
        }
    }
    return std::string();
}

}  // namespace

bool SiteArchive::open(const std::string& file, std::string& refusal) {
    const std::string damaged = file + " is damaged, so nothing was imported: ";
    if (!fs::is_regular_file(file)) {
        refusal = file + " cannot be found.";
        return false;
    }
    if (!MarkedAsSiteFile(file)) {
        refusal = file + " is not a site exported by Quillora.";
        return false;
    }
    try {
        SqliteDatabase db;
        db.openUntrusted(file, kMostInstructions);
        const std::string foreign = ForeignSchemaEntry(db);
        if (!foreign.empty()) {
            refusal = file + " holds more than an exported site (the " + foreign +
                      "), so nothing was imported.";
            return false;
        }
        // One read transaction: every row is read once, from one state of the file.
        db.runStatement("BEGIN");
        const bool whole = read(db, damaged, refusal);
        db.runStatement("COMMIT");
        if (!whole) {
            return false;
        }
    } catch (const SqliteException& failure) {
        refusal = damaged + failure.message();
        return false;
    }
    if (!check(refusal)) {
        refusal = file + " cannot be imported safely, so nothing was imported: " + refusal + ".";
        return false;
    }
    return true;
}

bool SiteArchive::read(SqliteDatabase& db, const std::string& damaged, std::string& refusal) {
    if (Info(db, "FORMAT") != kSiteFileFormat) {
        refusal = damaged + "it does not say what it holds.";
        return false;
    }
    if (Info(db, "VERSION") != std::to_string(kSiteFileVersion)) {
        refusal = "The file was exported by a later version of Quillora; update to import it.";
        return false;
    }
    SqliteCursor check = db.runQuery("PRAGMA quick_check");
    if (check.atEnd() || check.textValue(0) != "ok") {
        refusal = damaged + "its database does not hold together.";
        return false;
    }
    const std::string folder = Info(db, "FOLDER");
    std::ostringstream told;
    ConsolePrompts quiet(told);
    PageStore stored(db, quiet);
    for (const std::string& name : stored.pageNames(folder)) {
        PageRecord page;
        if (!stored.loadPage(page, folder, name)) {
            refusal = damaged + "the design of " + name + " cannot be read.";
            return false;
        }
        DropMergedPageFormItems(page);
        pages_.push_back(name);
        designs_.push_back(page);
    }
    if (pages_.empty() || std::to_string(pages_.size()) != Info(db, "PAGES")) {
        refusal = damaged + "pages are missing.";
        return false;
    }
    PageRecord shared;
    if (stored.loadPage(shared, folder, kSiteItemsFile)) {
        shared_ = shared;
    }
    options_ = stored.siteOptions().load(folder);
    for (SqliteCursor row = db.runQuery("select KIND,ORIGINAL,NAME,HASH,DATA from sitefiles");
         !row.atEnd(); row.advance()) {
        File read{row.textValue(0), row.textValue(1), row.textValue(2), std::string(),
                  row.blobValue(4)};
        read.hash = ContentHashOfText(read.bytes);
        if (read.hash != row.textValue(3)) {
            refusal = damaged + "the " + (read.kind == kSiteFileFont ? "font " : "picture ") +
                      read.name + " is not whole.";
            return false;
        }
        files_.push_back(std::move(read));
    }
    for (SqliteCursor row = db.runQuery("select COPY,ORIGINAL from sitecopies"); !row.atEnd();
         row.advance()) {
        copies_.emplace_back(row.textValue(0), row.textValue(1));
    }
    return true;
}

bool SiteArchive::check(std::string& refusal) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (!IsPlainFileName(pages_[i])) {
            refusal = "the page name \"" + pages_[i] + "\" is not a plain file name";
            return false;
        }
        if (const std::optional<std::string> refused = RebuildDesign(designs_[i])) {
            refusal = "in the page " + pages_[i] + ", " + *refused + " is not of this program";
            return false;
        }
    }
    if (shared_) {
        if (const std::optional<std::string> refused = RebuildDesign(*shared_)) {
            refusal = "in the shared items, " + *refused + " is not of this program";
            return false;
        }
        GiveSharedIds(*shared_);
    }
    if (const std::optional<std::string> refused = CheckSiteOptions(options_)) {
        refusal = *refused + " is not a web address";
        return false;
    }
    for (const File& file : files_) {
        const bool font = file.kind == kSiteFileFont;
        if (file.kind != kSiteFilePicture && file.kind != kSiteFileBackground && !font) {
            refusal = "the file " + file.name + " is of no kind this program exports";
            return false;
        }
        if (!IsPlainFileName(file.name)) {
            refusal = "the " + file.kind + " name \"" + file.name + "\" is not a plain file name";
            return false;
        }
        // A font joins this computer's fonts: only one a page may carry.
        if (font &&
            (!IsOwnFontName(file.name) || LicenceOf(file.bytes) != FontLicence::Embeddable)) {
            refusal = "the font " + file.name +
                      " is not a font file a page may carry (unreadable, or its licence "
                      "forbids embedding)";
            return false;
        }
    }
    for (const auto& [copy, original] : copies_) {
        if (!IsPlainFileName(copy)) {
            refusal = "the picture copy name \"" + copy + "\" is not a plain file name";
            return false;
        }
    }
    return true;
}

std::vector<std::string> SiteArchive::filesMet(const std::string& siteFolder) const {
    std::vector<std::string> met;
    std::error_code error;
    const auto meet = [&](const std::string& name) {
        if (fs::exists(JoinPath(siteFolder, name), error)) {
            met.push_back(name);
        }
    };
    for (const std::string& name : pages_) {
        meet(name);
    }
    for (const auto& [copy, original] : copies_) {
        meet(copy);
    }
    return met;
}

std::optional<std::string> ImportReplaces(std::size_t pagesHeld,
                                          const std::vector<std::string>& filesMet,
                                          const std::string& siteFolder) {
    if (pagesHeld == 0 && filesMet.empty()) {
        return std::nullopt;
    }
    std::string text = siteFolder + " already has ";
    if (pagesHeld > 0) {
        text += Counted(pagesHeld, "page", "pages") +
                ". The imported pages replace those of the same names, and the folder's shared "
                "items and site options become the imported ones.";
    } else {
        text += "files the import would write over:";
        constexpr std::size_t kNamed = 5;
        for (std::size_t i = 0; i < filesMet.size() && i < kNamed; ++i) {
            text += (i == 0 ? " " : ", ") + filesMet[i];
        }
        if (filesMet.size() > kNamed) {
            text += " and " + std::to_string(filesMet.size() - kNamed) + " more";
        }
        text += ".";
    }
    return text;
}
