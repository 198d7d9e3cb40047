#include "store/site_option_store.h"

#include "page/site_languages.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/store_access.h"
#include "store/table_columns.h"

namespace {

constexpr const char* kSiteOptionsTable =
    "CREATE TABLE IF NOT EXISTS siteoptions (DIRECTORY TEXT PRIMARY KEY, PHONEFRIENDLY INTEGER)";
constexpr const char* kHasSiteOptions =
    "select count(*) from sqlite_master where type = 'table' and name = 'siteoptions'";
constexpr const char* kWriteSiteOptions =
    "insert or replace into siteoptions (DIRECTORY,PHONEFRIENDLY,WEBPICTURES,SITEADDRESS,"
    "SITEFONTS,LANGUAGES) VALUES(?1,?2,?3,?4,?5,?6)";
// Columns later versions added to the table, added to an older store on its first save.
constexpr const char* kLaterSiteColumns[][2] = {{"WEBPICTURES", "INTEGER"},
                                                {"SITEADDRESS", "TEXT"},
                                                {"SITEFONTS", "INTEGER"},
                                                {"LANGUAGES", "TEXT"}};

}  // namespace

SiteOptions SiteOptionStore::load(const std::string& folder) {
    // Asked before every page is written: a store that cannot be read says "off" here and
    // tells its failure where the page is stored.
    SqliteDatabase& db = access_.db();
    SiteOptions options;
    try {
        if (db.runScalar(kHasSiteOptions) == 0) {
            return options;
        }
        std::string columns = "PHONEFRIENDLY";
        for (const auto& [column, type] : kLaterSiteColumns) {
            columns += HasColumn(db, "siteoptions", column) ? std::string(",") + column : ",NULL";
        }
        SqliteStatement lookup =
            db.prepare("select " + columns + " from siteoptions where DIRECTORY = ?1");
        lookup.bindText(1, folder);
        SqliteCursor row = lookup.runQuery();
        if (!row.atEnd()) {
            options.phoneFriendly = row.intValue(0) != 0;
            options.webPictures = row.intValue(1) != 0;
            options.siteAddress = row.textValue(2);
            options.siteFonts = row.intValue(3) != 0;
            // A list another program spoilt counts as one language.
            options.languages = LanguageList(row.textValue(4)).value_or(std::vector<std::string>());
        }
    } catch (const SqliteException&) {
        return SiteOptions();
    }
    return options;
}

bool SiteOptionStore::save(const std::string& folder, const SiteOptions& options) {
    if (!access_.runReported(kSiteOptionsTable, [](SqliteStatement&) {})) {
        return false;
    }
    for (const auto& [column, type] : kLaterSiteColumns) {
        bool present = false;
        try {
            present = HasColumn(access_.db(), "siteoptions", column);
        } catch (const SqliteException&) {
            present = false;
        }
        if (!present && !access_.runReported(std::string("ALTER TABLE siteoptions ADD COLUMN ") +
                                                 column + " " + type,
                                             [](SqliteStatement&) {})) {
            return false;
        }
    }
    return access_.runReported(kWriteSiteOptions, [&](SqliteStatement& statement) {
        statement.bindText(1, folder);
        statement.bindInt64(2, options.phoneFriendly ? 1 : 0);
        statement.bindInt64(3, options.webPictures ? 1 : 0);
        statement.bindText(4, options.siteAddress);
        statement.bindInt64(5, options.siteFonts ? 1 : 0);
        statement.bindText(6, LanguageListText(options.languages));
    });
}
