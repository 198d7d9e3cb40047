#include "site/section_file.h"

#include <sstream>

#include "common/paths.h"
#include "platform/console_prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace {

constexpr const char* kSectionPage = "section.html";

}  // namespace

SiteArchiveResult WriteSectionFile(const PageRecord& section, const std::string& workingFolder,
                                   const std::string& file) {
    SiteArchiveResult result;
    try {
        SqliteDatabase db;
        db.open(":memory:");
        CreatePageStore(db);
        std::ostringstream unheard;
        ConsolePrompts quiet(unheard);
        PageStore store(db, quiet);
        store.keepVersions(false);
        PageRecord page = section;
        page.directory = JoinPath(workingFolder, "sections");
        page.fileName = kSectionPage;
        page.id.clear();
        if (!store.savePage(page)) {
            result.message = "The section could not be kept: " + unheard.str();
            return result;
        }
        return ExportSite(store, workingFolder, page.directory, file);
    } catch (const SqliteException& failure) {
        result.message = "The section could not be kept: " + failure.message();
        return result;
    }
}

std::optional<PageRecord> ReadSectionFile(const std::string& file, const std::string& workingFolder,
                                          std::string& refusal) {
    SiteArchive archive;
    if (!archive.open(file, refusal)) {
        return std::nullopt;
    }
    if (archive.pages() != std::vector<std::string>{kSectionPage}) {
        refusal = FileNameOf(file) + " is a site file, not a section.";
        return std::nullopt;
    }
    return archive.takeDesign(workingFolder, refusal);
}
