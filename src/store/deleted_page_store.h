#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "page/page_record.h"

class PageVersions;
class SqliteDatabase;
class StoreAccess;

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

// The pages the user deleted: their names, so that every upload target still holding one learns
// of it and no stored design brings it back (deletedpages), and their designs with their
// versions, kept aside to be taken back (deleteddesigns).
class DeletedPageStore {
  public:
    DeletedPageStore(StoreAccess& access, PageVersions& versions);

    // Inside the caller's transaction, failures thrown: the design and its versions kept aside,
    // with where the menus had it.
    void keepAside(const std::string& folder, const std::string& fileName, const PageRecord& design,
                   const std::string& menuPlaces, long long when);
    // The folder's deleted designs still kept, newest first; those past keeping are let go.
    std::vector<DeletedDesign> designs(const std::string& folder);
    // The deleted design back out of the aside, its versions under its name again, in one
    // transaction; nothing when it is no longer kept or cannot be read (told). The caller
    // stores it.
    std::optional<TakenDesign> take(long long id);
    // The folder's pages deleted by the user and not made again since, oldest first, with when
    // each was deleted (seconds since 1970).
    std::vector<std::pair<std::string, long long>> pages(const std::string& folder);
    // A page stored or renamed under a deleted page's name is no longer deleted.
    bool forget(const std::string& folder, const std::string& fileName);

  private:
    StoreAccess& access_;
    PageVersions& versions_;
};

// The page remembered as deleted then, once; inside the caller's transaction, failures thrown.
void MarkPageDeleted(SqliteDatabase& db, const std::string& folder, const std::string& fileName,
                     long long when);
