#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "page/page_record.h"
#include "platform/site_options.h"

class PageStore;
class Prompts;
class SqliteDatabase;

// A site carried away in one file: an SQLite database holding the site folder's stored designs
// (with its shared items, site options, page extras and phone choices, in the page store's own
// tables) and every picture and background the pages use, with the names the folder's copies
// of them carry. The format is described in docs/site-export.md.

// What an export or import did, or why nothing was done.
struct SiteArchiveResult {
    bool done = false;
    std::string message;
    std::size_t pages = 0;
    std::size_t files = 0;
};

// Writes the site folder's pages into the file, which is replaced whole or not at all.
SiteArchiveResult ExportSite(PageStore& store, const std::string& workingFolder,
                             const std::string& siteFolder, const std::string& file);

// An exported site, read whole into memory and checked before anything is brought in. The file
// is someone else's: every name must be a plain file name, every design is rebuilt in the
// program's own form, and the file may hold nothing but its own tables.
class SiteArchive {
  public:
    // False, with the reason, when the file is no exported site, is damaged or holds what no
    // export of this program holds.
    bool open(const std::string& file, std::string& refusal);
    // The pages it holds, by file name.
    const std::vector<std::string>& pages() const { return pages_; }
    // The files of the site folder an import would write over: its pages and the copies of
    // its pictures that are there already.
    std::vector<std::string> filesMet(const std::string& siteFolder) const;

    // Brings the site into the site folder of this working folder: the pictures into the
    // working folder (the paths they had are not here), the designs, shared items and site
    // options into the store (pages of the same names replaced), then every page written.
    // Pictures the file names without holding them are left out of the designs, and listed.
    SiteArchiveResult importInto(PageStore& store, Prompts& prompts,
                                 const std::string& workingFolder, const std::string& siteFolder);

    // The one design the file holds (a section's), its pictures brought into the working folder
    // as an import brings them and its picture list pointed at them; nothing, with the reason,
    // for a file of more designs or a picture that cannot be written.
    std::optional<PageRecord> takeDesign(const std::string& workingFolder,
                                         std::string& refusal) const;

  private:
    struct File {
        std::string kind;
        std::string original;
        std::string name;
        std::string hash;
        std::string bytes;
    };
    bool read(SqliteDatabase& db, const std::string& damaged, std::string& refusal);
    // The pictures, backgrounds and fonts written into the working folder; `moved` maps each
    // picture's original path to where it lies now.
    bool bringFiles(const std::string& workingFolder, std::map<std::string, std::string>& moved,
                    std::vector<std::string>& kept, SiteArchiveResult& result) const;
    bool check(std::string& refusal);

    std::vector<std::string> pages_;
    std::vector<PageRecord> designs_;
    std::optional<PageRecord> shared_;
    SiteOptions options_;
    std::vector<File> files_;
    std::vector<std::pair<std::string, std::string>> copies_;
};

// The folder's stored pages an import into it would meet (the quickstart page is none).
std::size_t PagesHeld(PageStore& store, const std::string& siteFolder);

// What an import into the folder would replace, in words for the user: the stored pages it
// holds and the files already there that the import would write. Nothing when it replaces
// nothing.
std::optional<std::string> ImportReplaces(std::size_t pagesHeld,
                                          const std::vector<std::string>& filesMet,
                                          const std::string& siteFolder);

// The file name an export is offered under: the site folder's name and ".qsite".
std::string SiteArchiveName(const std::string& siteFolder);
