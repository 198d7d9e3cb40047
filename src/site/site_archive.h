#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

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

// An exported site, opened and checked whole before anything is brought in.
class SiteArchive {
  public:
    SiteArchive();
    ~SiteArchive();
    SiteArchive(const SiteArchive&) = delete;
    SiteArchive& operator=(const SiteArchive&) = delete;

    // False, with the reason, when the file is no exported site or is damaged.
    bool open(const std::string& file, std::string& refusal);
    // The pages it holds, by file name.
    const std::vector<std::string>& pages() const { return pages_; }

    // Brings the site into the site folder of this working folder: the pictures into the
    // working folder (the paths they had are not here), the designs, shared items and site
    // options into the store (pages of the same names replaced), then every page written.
    SiteArchiveResult importInto(PageStore& store, Prompts& prompts,
                                 const std::string& workingFolder, const std::string& siteFolder);

  private:
    std::unique_ptr<SqliteDatabase> db_;
    std::string folder_;
    std::vector<std::string> pages_;
};

// The folder's stored pages an import into it would meet (the quickstart page is none).
std::size_t PagesHeld(PageStore& store, const std::string& siteFolder);

// The file name an export is offered under: the site folder's name and ".qsite".
std::string SiteArchiveName(const std::string& siteFolder);
