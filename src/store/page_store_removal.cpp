#include <ctime>

#include "page/site_items.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/page_store.h"

namespace {

// Every table holding rows of a page by its ID, the later ones only where the store has them.
constexpr const char* kPageTables[] = {"rtftexts",       "pageimages", "pagetexts",
                                       "textproperties", "pageextras", "phonechoices",
                                       "translations"};

}  // namespace

bool PageStore::deletePage(const std::string& folder, const std::string& fileName,
                           const std::string& menuPlaces) {
    try {
        SqliteTransaction transaction(db_);
        putAside(folder, fileName, menuPlaces);
        transaction.commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return false;
    }
    siteItems_.clear();
    return true;
}

void PageStore::putAside(const std::string& folder, const std::string& fileName,
                         const std::string& menuPlaces) {
    const std::string id = pageIdOf(folder, fileName);
    PageRecord design;
    const bool kept = !id.empty() && loadPage(design, folder, fileName);
    SplitSiteItems(design);
    const long long now = static_cast<long long>(std::time(nullptr));
    if (kept) {
        deleted_.keepAside(folder, fileName, design, menuPlaces, now);
    }
    for (const char* table : kPageTables) {
        if (id.empty() || db_.runScalar("select count(*) from sqlite_master where type = "
                                        "'table' and name = '" +
                                        std::string(table) + "'") == 0) {
            continue;
        }
        SqliteStatement rows =
            db_.prepare(std::string("delete from ") + table + " where PROJECTID = ?1");
        rows.bindInt64(1, std::stoll(id));
        rows.runStatement();
    }
    versions_.kept().remove(folder, fileName);
    SqliteStatement row =
        db_.prepare("delete from quillprojects where DIRECTORY = ?1 AND FILENAME = ?2");
    row.bindText(1, folder);
    row.bindText(2, fileName);
    row.runStatement();
    MarkPageDeleted(db_, folder, fileName, now);
}
