#pragma once

#include <map>
#include <string>
#include <vector>

#include "page/page_record.h"
#include "store/deleted_page_store.h"
#include "store/page_renames.h"
#include "store/publish_target_store.h"
#include "store/site_option_store.h"
#include "store/store_access.h"
#include "store/version_store.h"

class Prompts;
class SqliteDatabase;
class SqliteException;

// The pages kept in quilldata.db: one row per page in quillprojects and its lists in four child
// tables. Every value reaches SQL as a bound parameter. No database failure escapes: each is
// shown to the user as "db error" and the program goes on. What the store keeps beside the
// pages (versions, deleted pages, renames, site options, publish targets) has a part of its own,
// reached through the store.
class PageStore {
  public:
    PageStore(SqliteDatabase& db, Prompts& prompts);
    // A store that is no working folder's (an exported site) keeps no versions.
    void keepVersions(bool keep) { keepsVersions_ = keep; }

    // Stores the page under its directory and file name, replacing its earlier row and child
    // rows, in one transaction. A failing statement is reported and the rest still runs; a page
    // whose row cannot be written gets no child rows. A store that cannot be written at all
    // (read-only, locked, full, gone) ends the save at once with one message. False when
    // anything failed.
    // The design is kept as the page's newest version too, with the picture of the page given
    // (the version it replaces is kept already, or, for a page stored before versions were
    // kept, kept first).
    bool savePage(const PageRecord& page, const std::string& picture = std::string());
    // The folder's shared items as a page hands them back: the stored record without the items
    // the page knew (its own version of them, or their removal, stands) and with the items it
    // holds; every other stored item stays, such as one another program added meanwhile.
    bool handBackSiteItems(const PageRecord& shared, const std::vector<std::string>& known);
    // Reads the stored page into the record: the row's values when it has one (the directory
    // and file name are left alone), and always the lists, emptied first. False when the page
    // has no row or a read failed.
    bool loadPage(PageRecord& page, const std::string& folder, const std::string& fileName);
    // The stored page's ID as decimal text; empty when it has none or the lookup failed.
    std::string pageIdOf(const std::string& folder, const std::string& fileName);
    std::vector<std::string> folderNames();
    std::vector<std::string> pageNames(const std::string& folder);
    // Gives a stored page a new file name in the same folder. The old name counts as deleted
    // (every upload target removes its file), and the rename is remembered for older versions'
    // links.
    bool renamePage(const std::string& folder, const std::string& oldName,
                    const std::string& newName);
    // Removes the page's stored design, and remembers that it was deleted, in one transaction;
    // the design (without the folder's shared items) and its versions are kept aside with where
    // the menus had it, to be taken back within kKeptDays days.
    bool deletePage(const std::string& folder, const std::string& fileName,
                    const std::string& menuPlaces = std::string());

    // The sections of every record of the folder (its pages and its shared items) and nothing
    // else: each record's texts and rich texts, in their order.
    std::vector<PageRecord> folderSections(const std::string& folder);
    // The titles of the folder's pages in other languages: language, file name, title.
    std::map<std::string, std::map<std::string, std::string>> translatedTitles(
        const std::string& folder);
    // The folder's pages, file name and title, in the order they were first stored.
    std::vector<std::pair<std::string, std::string>> sitePages(const std::string& folder);

    VersionStore& versions() { return versions_; }
    DeletedPageStore& deleted() { return deleted_; }
    PageRenames& renames() { return renames_; }
    SiteOptionStore& siteOptions() { return siteOptions_; }
    PublishTargetStore& publishTargets() { return publishTargets_; }

    // Changes whenever anything in the store may have changed, by this program or another.
    long long generation();

    // Shows the failure as the user sees every database failure.
    void report(const SqliteException& failure) { access_.report(failure); }

  private:
    // The folder's shared items as last read; none when the folder has none.
    const PageRecord* siteItems(const std::string& folder);
    struct CachedSiteItems {
        long long version = -1;
        bool found = false;
        PageRecord record;
    };
    std::map<std::string, CachedSiteItems> siteItems_;
    // The page stored with the folder's shared items split out into their own record.
    bool saveSplit(const PageRecord& page);
    // One record as it is, in one transaction.
    bool saveRecord(const PageRecord& page);
    bool saveInTransaction(const PageRecord& page);
    bool writeRow(const PageRecord& page, std::string& id);
    bool writeChildRows(const PageRecord& page, long long id);
    bool readChildRows(PageRecord& page, const std::string& id);
    // The page's design and versions moved among the deleted pages and its rows removed,
    // inside the caller's transaction.
    void putAside(const std::string& folder, const std::string& fileName,
                  const std::string& menuPlaces);

    SqliteDatabase& db_;
    StoreAccess access_;
    VersionStore versions_;
    DeletedPageStore deleted_;
    PageRenames renames_;
    SiteOptionStore siteOptions_;
    PublishTargetStore publishTargets_;
    bool keepsVersions_ = true;
};
