#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "page/page_record.h"
#include "platform/site_options.h"
#include "store/page_versions.h"

class Prompts;
class SqliteCursor;
class SqliteDatabase;
class SqliteException;
class SqliteStatement;

// A deleted page's design, kept aside with its versions for kKeptDays days.
struct DeletedDesign {
    long long id = 0;
    std::string fileName;
    std::string title;
    // When it was deleted (seconds since 1970).
    long long deleted = 0;
};
// A deleted page's design taken back, with where the menus had it (`MenuPlaces`).
struct TakenDesign {
    PageRecord design;
    std::string menuPlaces;
};

// The pages kept in quilldata.db: one row per page in quillprojects and its lists in four child
// tables. Every value reaches SQL as a bound parameter. No database failure escapes: each is
// shown to the user as "db error" and the program goes on.
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
    // The page's kept versions, newest first; none when the store cannot be read (told).
    std::vector<PageVersion> versions(const std::string& folder, const std::string& fileName);
    std::optional<PageRecord> versionDesign(long long id);
    // When the page was last saved (seconds since 1970); nothing when no version says.
    std::optional<long long> lastSaved(const std::string& folder, const std::string& fileName);
    // Removes the page's stored design, and remembers that it was deleted, in one transaction;
    // the design (without the folder's shared items) and its versions are kept aside with where
    // the menus had it, to be taken back within kKeptDays days.
    bool deletePage(const std::string& folder, const std::string& fileName,
                    const std::string& menuPlaces = std::string());
    // The folder's deleted designs still kept, newest first; those past keeping are let go.
    std::vector<DeletedDesign> deletedDesigns(const std::string& folder);
    // The deleted design back out of the aside, its versions under its name again, in one
    // transaction; nothing when it is no longer kept or cannot be read (told). The caller
    // stores it.
    std::optional<TakenDesign> takeDeletedDesign(long long id);
    // The folder's pages deleted by the user and not made again since, oldest first, with when
    // each was deleted (seconds since 1970).
    std::vector<std::pair<std::string, long long>> deletedPages(const std::string& folder);

    // The folder's renames, oldest first: old name, new name and when (milliseconds since 1970,
    // as versions count).
    struct PageRename {
        std::string oldName;
        std::string newName;
        long long when = 0;
    };
    std::vector<PageRename> renames(const std::string& folder);

    // Where the site folder is published, each as quillora-publish names a target after
    // --upload ("git+ssh://git@host/site.git --branch pages"), in the user's order.
    std::vector<std::string> publishTargets(const std::string& folder);
    bool setPublishTargets(const std::string& folder, const std::vector<std::string>& targets);

    // The site folder's options; all off when none were set or the store cannot be read.
    SiteOptions siteOptions(const std::string& folder);
    bool setSiteOptions(const std::string& folder, const SiteOptions& options);
    // The folder's pages, file name and title, in the order they were first stored.
    std::vector<std::pair<std::string, std::string>> sitePages(const std::string& folder);

    // Shows the failure as the user sees every database failure.
    void report(const SqliteException& failure);

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
    // Binds the parameters of a statement before it runs.
    using Binder = std::function<void(SqliteStatement&)>;
    using RowReader = std::function<void(const SqliteCursor&)>;

    bool runReported(const std::string& sql, const Binder& bind);
    // Runs the query and hands each row over; false (reported) when it fails.
    bool readRows(const std::string& sql, const Binder& bind, const RowReader& read);
    // The insert runs once per entry with the entry's values bound; a statement that cannot
    // be compiled is reported once for the whole list.
    bool insertEach(const std::string& sql, std::size_t count,
                    const std::function<void(SqliteStatement&, std::size_t)>& bind);
    // SQLite rolled the save's transaction back by itself (a full disk, say): going on would
    // store the rest of the page without its beginning.
    bool saveBrokenOff() const;
    bool saveInTransaction(const PageRecord& page);
    bool writeRow(const PageRecord& page, std::string& id);
    bool writeChildRows(const PageRecord& page, long long id);
    bool readChildRows(PageRecord& page, const std::string& id);
    bool rememberRename(const std::string& folder, const std::string& oldName,
                        const std::string& newName);
    // A page stored or renamed under a deleted page's name is no longer deleted.
    bool forgetDeletion(const std::string& folder, const std::string& fileName);
    // The page's design and versions moved among the deleted pages and its rows removed,
    // inside the caller's transaction.
    void putAside(const std::string& folder, const std::string& fileName,
                  const std::string& menuPlaces);
    // Whether the count query (of sqlite_master) finds its table.
    bool tableExists(const char* countQuery);

    // Keeps the design saved as a version; failures are told.
    void keepVersion(const PageRecord& page, const std::string& picture);

    SqliteDatabase& db_;
    Prompts& prompts_;
    PageVersions versions_;
    bool keepsVersions_ = true;
    bool saving_ = false;
    bool inTransaction_ = false;
    // The reason a save cannot store anything, shown once when the save ends.
    std::optional<std::string> storeFailure_;
};
