#include "store/page_store.h"

#include <chrono>
#include <optional>

#include "common/fields.h"
#include "common/number_text.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "page/working_files.h"
#include "platform/prompts.h"
#include "store/db/sqlite_cursor.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/db/sqlite_statement.h"
#include "store/db/sqlite_transaction.h"
#include "store/rich_text_block.h"
#include "store/table_columns.h"

namespace {

constexpr const char* kLookup =
    "SELECT ID FROM quillprojects WHERE DIRECTORY = ?1 AND FILENAME = ?2";
constexpr const char* kInsertRow =
    "insert into quillprojects (DIRECTORY,FILENAME,PAGETITLE,BACKIMAGE,PAGEIMAGE,"
    "BACKCOLOR,PAGECOLOR,PAGECONTAINER,PAGEWIDTH,STYLESDATA,PAGELENGTH,ELEMENTCOUNT) "
    "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)";
constexpr const char* kUpdateRow =
    "update quillprojects set DIRECTORY = ?1,FILENAME = ?2,PAGETITLE = ?3,BACKIMAGE = ?4,"
    "PAGEIMAGE = ?5,BACKCOLOR = ?6,PAGECOLOR = ?7,PAGECONTAINER = ?8,PAGEWIDTH = ?9,"
    "STYLESDATA = ?10,PAGELENGTH = ?11,ELEMENTCOUNT = ?12 WHERE ID = ?13";
constexpr const char* kReadRow =
    "select ID,PAGETITLE,BACKIMAGE,PAGEIMAGE,BACKCOLOR,PAGECOLOR,PAGECONTAINER"
    ",PAGEWIDTH,STYLESDATA,PAGELENGTH,ELEMENTCOUNT from quillprojects where DIRECTORY = ?1 "
    "AND FILENAME = ?2";
constexpr const char* kFolders = "SELECT DISTINCT DIRECTORY FROM quillprojects";
constexpr const char* kPageNames = "select FILENAME from quillprojects where DIRECTORY = ?1;";
constexpr const char* kRename =
    "UPDATE quillprojects SET FILENAME = ?1 WHERE DIRECTORY = ?2 AND FILENAME = ?3";
constexpr const char* kNoRowText =
    "The page's sections and pictures were not stored: its row could not be written.";
constexpr const char* kDbErrorCaption = "db error";
constexpr const char* kNotStoredText = "The page design was not stored: ";

// The child tables in the order a save replaces them. Earlier versions wrote the page ID as a
// number into three of them and as text into rtftexts, and read every table by the ID as
// text; the parameters keep those types so their rows keep matching.
struct ChildTable {
    const char* deleteRows;
    const char* insertRow;
};
constexpr ChildTable kRichTexts{"delete from rtftexts where PROJECTID = ?1",
                                "insert into rtftexts values (?1, ?2);"};
constexpr ChildTable kImages{
    "delete from pageimages where PROJECTID = ?1",
    "insert into pageimages (PROJECTID,IMAGESOURCE,LINKINFO) VALUES(?1,?2,?3)"};
constexpr ChildTable kTexts{"delete from pagetexts where PROJECTID = ?1",
                            "insert into pagetexts (PROJECTID,TEXTDATA) VALUES(?1,?2)"};
constexpr ChildTable kProperties{
    "delete from textproperties where PROJECTID = ?1",
    "insert into textproperties (PROJECTID,PROPERTIESDATA) VALUES(?1,?2)"};

// Tables later versions keep beside a page; stores made before them have no such table until
// a page with rows for it is saved.
struct LaterTable {
    const char* create;
    const char* exists;
    ChildTable rows;
    const char* read;
};
// The page's language, description and picture descriptions.
constexpr LaterTable kExtras{
    "CREATE TABLE IF NOT EXISTS pageextras (PROJECTID INTEGER, NAME TEXT, VALUE TEXT)",
    "select count(*) from sqlite_master where type = 'table' and name = 'pageextras'",
    {"delete from pageextras where PROJECTID = ?1",
     "insert into pageextras (PROJECTID,NAME,VALUE) VALUES(?1,?2,?3)"},
    "select NAME,VALUE from pageextras where PROJECTID = ?1;"};
// How phones show the page's items.
constexpr LaterTable kPhoneChoices{
    "CREATE TABLE IF NOT EXISTS phonechoices (PROJECTID INTEGER, ITEM TEXT, NAME TEXT, VALUE "
    "TEXT)",
    "select count(*) from sqlite_master where type = 'table' and name = 'phonechoices'",
    {"delete from phonechoices where PROJECTID = ?1",
     "insert into phonechoices (PROJECTID,ITEM,NAME,VALUE) VALUES(?1,?2,?3,?4)"},
    "select ITEM,NAME,VALUE from phonechoices where PROJECTID = ?1;"};
// The page's words in the site's other languages.
constexpr LaterTable kTranslations{
    "CREATE TABLE IF NOT EXISTS translations (PROJECTID INTEGER, ITEM TEXT, LANGUAGE TEXT, "
    "TEXTDATA TEXT)",
    "select count(*) from sqlite_master where type = 'table' and name = 'translations'",
    {"delete from translations where PROJECTID = ?1",
     "insert into translations (PROJECTID,ITEM,LANGUAGE,TEXTDATA) VALUES(?1,?2,?3,?4)"},
    "select ITEM,LANGUAGE,TEXTDATA from translations where PROJECTID = ?1 order by rowid;"};

constexpr const char* kReadRichTexts = "select RTFDATA from rtftexts where PROJECTID = ?1;";
constexpr const char* kReadImages =
    "select IMAGESOURCE,LINKINFO from pageimages where PROJECTID = ?1;";
constexpr const char* kReadTexts = "select TEXTDATA from pagetexts where PROJECTID = ?1;";
constexpr const char* kReadProperties =
    "select PROPERTIESDATA from textproperties where PROJECTID = ?1;";

void BindRowValues(SqliteStatement& statement, const PageRecord& page) {
    statement.bindText(1, page.directory);
    statement.bindText(2, page.fileName);
    statement.bindText(3, page.pageTitle);
    statement.bindText(4, page.backImage);
    statement.bindText(5, page.pageImage);
    statement.bindText(6, page.backColor);
    statement.bindText(7, page.pageColor);
    statement.bindText(8, page.pageContainer);
    statement.bindText(9, page.pageWidth);
    statement.bindText(10, page.stylesData);
    statement.bindText(11, page.pageLength);
    statement.bindText(12, std::to_string(page.elementCount));
}

}  // namespace

PageStore::PageStore(SqliteDatabase& db, Prompts& prompts)
    : db_(db),
      access_(db, prompts),
      versions_(access_),
      deleted_(access_, versions_.kept()),
      renames_(access_),
      siteOptions_(access_),
      publishTargets_(access_) {}

long long PageStore::generation() {
    long long version = 0;
    try {
        version = db_.runScalar("PRAGMA data_version");
    } catch (const SqliteException&) {
        version = -1;
    }
    return version * 1000000000LL + db_.totalChanges();
}

std::string PageStore::pageIdOf(const std::string& folder, const std::string& fileName) {
    std::string id;
    access_.readRows(
        kLookup,
        [&](SqliteStatement& statement) {
            statement.bindText(1, folder);
            statement.bindText(2, fileName);
        },
        [&](const SqliteCursor& row) {
            if (id.empty()) {
                id = row.textValue(0);
            }
        });
    return id;
}

bool PageStore::savePage(const PageRecord& given, const std::string& picture) {
    // A design that lists an id twice would be written twice into every page made from it.
    std::optional<PageRecord> mended;
    if (HasRepeatedItems(given)) {
        KeepEachItemOnce(mended.emplace(given));
    }
    const PageRecord& page = mended ? *mended : given;
    if (page.fileName == kSiteItemsFile) {
        return saveRecord(page);
    }
    if (!keepsVersions_) {
        return saveSplit(page);
    }
    // A page stored before versions were kept keeps the design this save replaces first.
    std::optional<PageRecord> before;
    try {
        if (!versions_.kept().holdsAny(page.directory, page.fileName)) {
            before.emplace();
        }
    } catch (const SqliteException&) {
        // Unreadable now: the save tells why.
    }
    if (before && !loadPage(*before, page.directory, page.fileName)) {
        before.reset();
    }
    if (!saveSplit(page)) {
        return false;
    }
    if (before) {
        before->directory = page.directory;
        before->fileName = page.fileName;
        versions_.keep(*before, std::string());
    }
    versions_.keep(page, picture);
    return true;
}

bool PageStore::saveSplit(const PageRecord& page) {
    PageRecord own = page;
    const PageRecord shared = SplitSiteItems(own);
    bool stored = saveRecord(own);
    // A page that showed the site's items hands back its version of the ones it knew, the
    // deleted ones gone; any other brings only the ones it holds (made shared there, or a
    // recovered design's).
    if (page.siteItemsShown) {
        stored = handBackSiteItems(shared, page.siteItemsKnown) && stored;
    } else if (HoldsItems(shared)) {
        stored = handBackSiteItems(shared, {}) && stored;
    }
    return stored;
}

bool PageStore::handBackSiteItems(const PageRecord& shared, const std::vector<std::string>& known) {
    // Merged by id against what is stored now: another program's shared item stays.
    PageRecord site;
    site.directory = shared.directory;
    site.fileName = kSiteItemsFile;
    loadPage(site, shared.directory, kSiteItemsFile);
    RemoveSiteItems(site, known);
    UpdateSiteItems(site, shared);
    return saveRecord(site);
}

bool PageStore::saveRecord(const PageRecord& page) {
    siteItems_.clear();
    access_.startSave();
    const bool stored = saveInTransaction(page);
    if (const std::optional<std::string> failure = access_.endSave()) {
        access_.prompts().messageBox(kNotStoredText + *failure, kDbErrorCaption, MessageButtons::Ok,
                                     MessageIcon::None);
        return false;
    }
    return stored;
}

bool PageStore::saveInTransaction(const PageRecord& page) {
    std::optional<SqliteTransaction> transaction;
    try {
        transaction.emplace(db_);
    } catch (const SqliteException& failure) {
        // Without a transaction the statements still store what they can.
        access_.report(failure);
    }
    access_.saveInTransaction(transaction.has_value());
    std::string id;
    bool stored = writeRow(page, id);
    if (access_.storeFailed()) {
        return false;
    }
    if (id.empty()) {
        access_.prompts().messageBox(kNoRowText, kDbErrorCaption, MessageButtons::Ok,
                                     MessageIcon::None);
        return false;
    }
    stored = writeChildRows(page, LeadingInt(id)) && stored;
    if (page.fileName != kSiteItemsFile) {
        stored = deleted_.forget(page.directory, page.fileName) && stored;
    }
    if (!transaction || access_.saveBrokenOff()) {
        return stored && !access_.saveBrokenOff();
    }
    try {
        transaction->commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return false;
    }
    return stored;
}

bool PageStore::writeRow(const PageRecord& page, std::string& id) {
    id = pageIdOf(page.directory, page.fileName);
    if (!id.empty()) {
        return access_.runReported(kUpdateRow, [&](SqliteStatement& statement) {
            BindRowValues(statement, page);
            statement.bindInt64(13, LeadingInt(id));
        });
    }
    const bool inserted = access_.runReported(
        kInsertRow, [&](SqliteStatement& statement) { BindRowValues(statement, page); });
    if (inserted) {
        id = pageIdOf(page.directory, page.fileName);
    }
    return inserted;
}

bool PageStore::writeChildRows(const PageRecord& page, long long id) {
    const auto bindId = [id](SqliteStatement& statement) { statement.bindInt64(1, id); };
    bool stored = true;
    // Each table is replaced only while the save's transaction stands.
    const auto replace = [&](const ChildTable& table, std::size_t count,
                             const std::function<void(SqliteStatement&, std::size_t)>& bind) {
        if (access_.saveBrokenOff()) {
            stored = false;
            return;
        }
        stored = access_.runReported(table.deleteRows, bindId) && stored;
        stored = access_.insertEach(table.insertRow, count, bind) && stored;
    };
    replace(kRichTexts, page.richTexts.size(), [&](SqliteStatement& statement, std::size_t i) {
        statement.bindText(1, std::to_string(id));
        statement.bindText(2, EncodeRichTextBlock(page.richTexts[i]));
    });
    replace(kImages, page.pictures.size(), [&](SqliteStatement& statement, std::size_t i) {
        statement.bindInt64(1, id);
        statement.bindText(2, page.pictures[i]);
        statement.bindText(3, EntryAt(page.links, i));
    });
    const auto eachEntry = [id](const std::vector<std::string>& list) {
        return [id, &list](SqliteStatement& statement, std::size_t i) {
            statement.bindInt64(1, id);
            statement.bindText(2, list[i]);
        };
    };
    replace(kTexts, page.texts.size(), eachEntry(page.texts));
    replace(kProperties, page.textProperties.size(), eachEntry(page.textProperties));
    // A page without rows for a later table leaves a store that never had it as it was.
    const auto replaceLater = [&](const LaterTable& table, std::size_t count,
                                  const std::function<void(SqliteStatement&, std::size_t)>& bind) {
        if (count > 0 || access_.tableExists(table.exists)) {
            stored = access_.runReported(table.create, [](SqliteStatement&) {}) && stored;
            replace(table.rows, count, bind);
        }
    };
    const std::vector<std::pair<std::string, std::string>> extras = PageExtras(page);
    replaceLater(kExtras, extras.size(), [&](SqliteStatement& statement, std::size_t i) {
        statement.bindInt64(1, id);
        statement.bindText(2, extras[i].first);
        statement.bindText(3, extras[i].second);
    });
    const std::vector<PhoneChoiceRow> phone = PhoneChoiceRows(page.phoneChoices);
    replaceLater(kPhoneChoices, phone.size(), [&](SqliteStatement& statement, std::size_t i) {
        statement.bindInt64(1, id);
        statement.bindText(2, phone[i].item);
        statement.bindText(3, phone[i].name);
        statement.bindText(4, phone[i].value);
    });
    struct TranslationRow {
        const std::string* language;
        const std::string* item;
        const std::string* text;
    };
    std::vector<TranslationRow> translations;
    for (const auto& [language, items] : page.translations) {
        for (const auto& [item, text] : items) {
            translations.push_back({&language, &item, &text});
        }
    }
    replaceLater(kTranslations, translations.size(),
                 [&](SqliteStatement& statement, std::size_t i) {
                     statement.bindInt64(1, id);
                     statement.bindText(2, *translations[i].item);
                     statement.bindText(3, *translations[i].language);
                     statement.bindText(4, *translations[i].text);
                 });
    return stored;
}

bool PageStore::loadPage(PageRecord& page, const std::string& folder, const std::string& fileName) {
    bool found = false;
    const bool read = access_.readRows(
        kReadRow,
        [&](SqliteStatement& statement) {
            statement.bindText(1, folder);
            statement.bindText(2, fileName);
        },
        [&](const SqliteCursor& row) {
            if (found) {
                return;
            }
            found = true;
            page.id = row.textValue(0);
            page.pageTitle = row.textValue(1);
            page.backImage = row.textValue(2);
            page.pageImage = row.textValue(3);
            page.backColor = row.textValue(4);
            page.pageColor = row.textValue(5);
            page.pageContainer = row.textValue(6);
            page.pageWidth = row.textValue(7);
            page.stylesData = row.textValue(8);
            page.pageLength = row.textValue(9);
            page.elementCount = row.intValue(10);
        });
    if (!found) {
        page.id.clear();
    }
    const bool listsRead = readChildRows(page, page.id);
    page.siteItemsShown = false;
    page.siteItemsKnown.clear();
    page.siteElementCount = 0;
    // A store that cannot be read has told so once already.
    if (read && listsRead && fileName != kSiteItemsFile) {
        if (const PageRecord* site = siteItems(folder)) {
            page.siteElementCount = site->elementCount;
            if (!page.noSiteItems) {
                MergeSiteItems(page, *site);
            }
        }
        page.sitePages.clear();
        if (HoldsSiteMenu(page)) {
            page.sitePages = sitePages(folder);
        }
    }
    return read && found && listsRead;
}

std::vector<std::pair<std::string, std::string>> PageStore::sitePages(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> pages;
    access_.readRows(
        "select FILENAME,PAGETITLE from quillprojects where DIRECTORY = ?1",
        [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            const std::string name = row.textValue(0);
            if (name != kSiteItemsFile && name != kQuickstartPage) {
                pages.emplace_back(name, row.textValue(1));
            }
        });
    return pages;
}

std::map<std::string, std::map<std::string, std::string>> PageStore::translatedTitles(
    const std::string& folder) {
    std::map<std::string, std::map<std::string, std::string>> titles;
    if (!access_.tableExists(kTranslations.exists)) {
        return titles;
    }
    access_.readRows(
        "select t.LANGUAGE,p.FILENAME,t.TEXTDATA from translations t join quillprojects p on "
        "t.PROJECTID = p.ID where p.DIRECTORY = ?1 and t.ITEM = ?2",
        [&](SqliteStatement& statement) {
            statement.bindText(1, folder);
            statement.bindText(2, kTranslatedTitle);
        },
        [&](const SqliteCursor& row) {
            titles[row.textValue(0)][row.textValue(1)] = row.textValue(2);
        });
    return titles;
}

std::vector<PageRecord> PageStore::folderSections(const std::string& folder) {
    std::vector<PageRecord> records;
    std::map<long long, std::size_t> byId;
    const auto bindFolder = [&](SqliteStatement& statement) {
        statement.bindText(1, folder);
        statement.bindText(2, kQuickstartPage);
    };
    access_.readRows(
        "select ID,FILENAME from quillprojects where DIRECTORY = ?1 and FILENAME <> ?2", bindFolder,
        [&](const SqliteCursor& row) {
            byId.emplace(std::stoll(row.textValue(0, "0")), records.size());
            records.emplace_back();
            records.back().directory = folder;
            records.back().fileName = row.textValue(1);
        });
    const auto recordOf = [&](const SqliteCursor& row) -> PageRecord* {
        const auto found = byId.find(std::stoll(row.textValue(0, "0")));
        return found == byId.end() ? nullptr : &records[found->second];
    };
    // Each table is read once in its order; earlier versions wrote the ID into rtftexts as text.
    constexpr const char* kFolderIds =
        " in (select ID from quillprojects where DIRECTORY = ?1 and FILENAME <> ?2) "
        "order by rowid";
    access_.readRows(
        std::string("select PROJECTID,TEXTDATA from pagetexts where PROJECTID") + kFolderIds,
        bindFolder, [&](const SqliteCursor& row) {
            if (PageRecord* record = recordOf(row)) {
                record->texts.push_back(row.textValue(1));
            }
        });
    access_.readRows(
        std::string("select PROJECTID,RTFDATA from rtftexts where CAST(PROJECTID AS INTEGER)") +
            kFolderIds,
        bindFolder, [&](const SqliteCursor& row) {
            if (PageRecord* record = recordOf(row)) {
                record->richTexts.push_back(DecodeRichTextBlock(row.textValue(1)));
            }
        });
    return records;
}

const PageRecord* PageStore::siteItems(const std::string& folder) {
    // Read once for all the pages opened after: another program's write to the store changes
    // its data version, this one's own writes forget what was read.
    long long version = -1;
    try {
        version = db_.runScalar("PRAGMA data_version");
    } catch (const SqliteException&) {
        siteItems_.erase(folder);
    }
    const auto cached = siteItems_.find(folder);
    if (cached == siteItems_.end() || cached->second.version != version || version < 0) {
        CachedSiteItems read;
        read.version = version;
        read.found = loadPage(read.record, folder, kSiteItemsFile);
        siteItems_[folder] = std::move(read);
    }
    const CachedSiteItems& site = siteItems_[folder];
    return site.found ? &site.record : nullptr;
}

bool PageStore::readChildRows(PageRecord& page, const std::string& id) {
    page.richTexts.clear();
    page.pictures.clear();
    page.links.clear();
    page.texts.clear();
    page.textProperties.clear();
    page.language.reset();
    page.noSiteItems = false;
    page.description.reset();
    page.pictureDescriptions.clear();
    page.phoneChoices.clear();
    page.translations.clear();
    if (id.empty()) {
        return true;
    }
    const auto bindId = [&id](SqliteStatement& statement) { statement.bindText(1, id); };
    bool read = access_.readRows(kReadRichTexts, bindId, [&](const SqliteCursor& row) {
        page.richTexts.push_back(DecodeRichTextBlock(row.textValue(0)));
    });
    read = access_.readRows(kReadImages, bindId, [&](const SqliteCursor& row) {
        page.pictures.push_back(row.textValue(0));
        page.links.push_back(row.textValue(1));
    }) && read;
    const auto appendTo = [](std::vector<std::string>& list) {
        return [&list](const SqliteCursor& row) { list.push_back(row.textValue(0)); };
    };
    read = access_.readRows(kReadTexts, bindId, appendTo(page.texts)) && read;
    read = access_.readRows(kReadProperties, bindId, appendTo(page.textProperties)) && read;
    const auto readLater = [&](const LaterTable& table,
                               const std::function<void(const SqliteCursor&)>& take) {
        if (access_.tableExists(table.exists)) {
            read = access_.readRows(table.read, bindId, take) && read;
        }
    };
    readLater(kExtras, [&](const SqliteCursor& row) {
        SetPageExtra(page, row.textValue(0), row.textValue(1));
    });
    readLater(kPhoneChoices, [&](const SqliteCursor& row) {
        SetPhoneChoice(page.phoneChoices, row.textValue(0), row.textValue(1), row.textValue(2));
    });
    readLater(kTranslations, [&](const SqliteCursor& row) {
        page.translations[row.textValue(1)][row.textValue(0)] = row.textValue(2);
    });
    return read;
}

std::vector<std::string> PageStore::folderNames() {
    std::vector<std::string> names;
    access_.readRows(
        kFolders, [](SqliteStatement&) {},
        [&](const SqliteCursor& row) { names.push_back(row.textValue(0)); });
    return names;
}

std::vector<std::string> PageStore::pageNames(const std::string& folder) {
    std::vector<std::string> names;
    access_.readRows(
        kPageNames, [&](SqliteStatement& statement) { statement.bindText(1, folder); },
        [&](const SqliteCursor& row) {
            // The folder's shared items are kept in a record that is no page.
            if (row.textValue(0) != kSiteItemsFile) {
                names.push_back(row.textValue(0));
            }
        });
    return names;
}

bool PageStore::renamePage(const std::string& folder, const std::string& oldName,
                           const std::string& newName) {
    // One transaction: a stored design of the new name (its file gone, so no list showed it)
    // goes among the deleted pages first; two rows of one name would hide the renamed design.
    try {
        SqliteTransaction transaction(db_);
        if (newName != oldName && !pageIdOf(folder, newName).empty()) {
            putAside(folder, newName, std::string());
        }
        versions_.kept().rename(folder, oldName, newName);
        SqliteStatement rename = db_.prepareExplained(kRename);
        rename.bindText(1, newName);
        rename.bindText(2, folder);
        rename.bindText(3, oldName);
        rename.runStatement();
        transaction.commit();
    } catch (const SqliteException& failure) {
        access_.report(failure);
        return false;
    }
    siteItems_.clear();
    return deleted_.forget(folder, newName) && renames_.remember(folder, oldName, newName);
}
