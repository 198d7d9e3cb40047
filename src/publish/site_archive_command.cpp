#include "publish/site_archive_command.h"

#include <filesystem>
#include <optional>

#include "common/paths.h"
#include "files/folder_lock.h"
#include "page/working_files.h"
#include "platform/console_prompts.h"
#include "site/site_archive.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace {

constexpr int kDone = 0;
constexpr int kSomeNotWritten = 1;
constexpr int kRefused = 2;

}  // namespace

int ExportSiteCommand(const std::string& workingFolder, const std::string& siteFolder,
                      const std::string& file, std::ostream& out, std::ostream& err) {
    const std::string databasePath = JoinPath(workingFolder, kPageStoreFile);
    SqliteDatabase db;
    try {
        db.openReadOnly(databasePath);
    } catch (const SqliteException& failure) {
        err << "cannot open the page store " << databasePath << ": " << failure.message() << "\n";
        return kRefused;
    }
    ConsolePrompts prompts(err);
    PageStore store(db, prompts);
    const SiteArchiveResult result = ExportSite(store, workingFolder, siteFolder, file);
    (result.done ? out : err) << result.message << "\n";
    return result.done ? kDone : kRefused;
}

int ImportSiteCommand(const std::string& workingFolder, const std::string& file,
                      const std::string& siteFolder, bool force, std::ostream& out,
                      std::ostream& err, bool takeLock) {
    SiteArchive archive;
    std::string refusal;
    if (!archive.open(file, refusal)) {
        err << refusal << "\n";
        return kRefused;
    }
    const std::optional<FolderLock> lock =
        takeLock ? LockForWriting(workingFolder, err) : std::nullopt;
    if (takeLock && !lock) {
        return kRefused;
    }
    const std::string databasePath = JoinPath(workingFolder, kPageStoreFile);
    SqliteDatabase db;
    try {
        db.open(databasePath);
        CreatePageStore(db);
    } catch (const SqliteException& failure) {
        err << "cannot open the page store " << databasePath << ": " << failure.message() << "\n";
        return kRefused;
    }
    ConsolePrompts prompts(err);
    PageStore store(db, prompts);
    const std::optional<std::string> replaced =
        ImportReplaces(PagesHeld(store, siteFolder), archive.filesMet(siteFolder), siteFolder);
    if (replaced && !force) {
        err << *replaced << " Nothing was imported; --force imports all the same.\n";
        return kRefused;
    }
    const SiteArchiveResult result = archive.importInto(store, prompts, workingFolder, siteFolder);
    (result.done ? out : err) << result.message << "\n";
    if (result.done) {
        return kDone;
    }
    return result.pages > 0 ? kSomeNotWritten : kRefused;
}
