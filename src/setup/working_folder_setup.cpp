#include "setup/working_folder_setup.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "common/paths.h"
#include "common/text_file.h"
#include "page/working_files.h"
#include "setup/quickstart_tutorial.h"
#include "site/published_page.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

void InstallFile(const std::string& workingFolder, const InstalledFile& file,
                 std::vector<std::string>& problems) {
    const fs::path path = fs::path(workingFolder) / file.path;
    std::error_code error;
    if (fs::exists(path, error) &&
        (!file.programCode || ReadTextFile(path.string()) == file.content)) {
        return;
    }
    fs::create_directories(path.parent_path(), error);
    if (!WriteTextFile(path.string(), file.content)) {
        problems.push_back("Could not write " + path.string());
    }
}

void InstallDictionary(const std::string& workingFolder, const std::string& dictionaryFolder,
                       std::vector<std::string>& problems) {
    const fs::path target = fs::path(workingFolder) / "LDB";
    std::error_code error;
    fs::create_directories(target, error);
    for (const char* name : {"en_US.aff", "en_US.dic"}) {
        if (fs::exists(target / name, error)) {
            continue;
        }
        fs::copy_file(fs::path(dictionaryFolder) / name, target / name, error);
        if (error) {
            problems.push_back("Could not copy the spelling dictionary " +
                               (fs::path(dictionaryFolder) / name).string() + ": " +
                               error.message());
        }
    }
}

void CreateWordList(const std::string& workingFolder, std::vector<std::string>& problems) {
    try {
        SqliteDatabase words;
        words.open(JoinPath(workingFolder, "quillwords.db"));
        words.runStatement("CREATE TABLE IF NOT EXISTS searchwords (WORD TEXT)");
    } catch (const SqliteException& failure) {
        problems.push_back("Could not create the word list: " + failure.message());
    }
}

// Why SQLite cannot read the page store as a database; nothing when it can. The header is
// looked at first so that SQLite does not touch the journal of a file that is no database.
std::optional<std::string> UnreadableStoreReason(const fs::path& store) {
    static constexpr char kHeader[] = "SQLite format 3";
    std::ifstream file(store, std::ios::binary);
    char start[sizeof kHeader] = {};
    file.read(start, sizeof start);
    // SQLite takes an empty file for an empty database.
    if (file.gcount() == 0) {
        return std::nullopt;
    }
    if (file.gcount() < static_cast<std::streamsize>(sizeof start) ||
        std::memcmp(start, kHeader, sizeof start) != 0) {
        return "it is not an SQLite database";
    }
    SqliteDatabase db;
    try {
        db.open(store.string());
        db.runScalar("select count(*) from sqlite_master");
        return std::nullopt;
    } catch (const SqliteException& failure) {
        constexpr int kCorrupt = 11;
        constexpr int kNotADatabase = 26;
        const int code = failure.code() & 0xFF;
        if (code != kCorrupt && code != kNotADatabase) {
            return std::nullopt;
        }
        return SqliteException(failure.code(), db.errorMessage()).message();
    }
}

// A page store that SQLite cannot read as a database (damaged, or some other file) is moved
// aside under a name that says so, never over another file, so that a fresh one can be made.
// Its journal goes with it: left behind, it would be played into the fresh store.
void SetAsideDamagedStore(const std::string& workingFolder, std::vector<std::string>& problems) {
    const fs::path store = fs::path(workingFolder) / kPageStoreFile;
    std::error_code error;
    if (!fs::exists(store, error)) {
        return;
    }
    const std::optional<std::string> reason = UnreadableStoreReason(store);
    if (!reason) {
        return;
    }
    const fs::path aside = FreePath(JoinPath(workingFolder, "quilldata.damaged.db"));
    fs::rename(store, aside, error);
    if (error) {
        problems.push_back("The page store " + store.string() + " cannot be read (" + *reason +
                           ") and could not be moved aside: " + error.message());
        return;
    }
    for (const char* sidecar : {"-journal", "-wal", "-shm"}) {
        const fs::path from = store.string() + sidecar;
        if (fs::exists(from, error)) {
            fs::rename(from, aside.string() + sidecar, error);
        }
    }
    problems.push_back("The page store " + store.string() + " is damaged or is not a page store (" +
                       *reason + "). It was kept unchanged as " + aside.string() +
                       ", and a new page store was made. The page files in your site folders are "
                       "untouched.");
}

// The tutorial is stored once; a user who changed or removed its published file keeps that.
void InstallQuickstart(const std::string& workingFolder, Prompts& prompts,
                       std::vector<std::string>& problems) {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder, kPageStoreFile));
        CreatePageStore(db);
        PageStore store(db, prompts);
        const PageRecord tutorial = QuickstartTutorial(workingFolder);
        if (store.pageIdOf(tutorial.directory, tutorial.fileName).empty()) {
            store.savePage(tutorial);
        }
        if (!fs::exists(JoinPath(tutorial.directory, tutorial.fileName))) {
            PagePublisher publisher(workingFolder, prompts);
            std::string text;
            publisher.publish(tutorial, PublishVariant::Save, tutorial.directory, tutorial.fileName,
                              text);
        }
    } catch (const SqliteException& failure) {
        problems.push_back("Could not create the page store: " + failure.message());
    }
}

// The stores hold the FTP and hosting passwords: only their owner may read them, or look into
// the working folder.
void KeepPrivate(const std::string& workingFolder) {
    std::error_code error;
    fs::permissions(workingFolder, fs::perms::owner_all, error);
    for (const char* store : {kPageStoreFile, "quillwords.db"}) {
        fs::permissions(fs::path(workingFolder) / store,
                        fs::perms::owner_read | fs::perms::owner_write, error);
    }
}

}  // namespace

std::vector<std::string> SetUpWorkingFolder(const std::string& workingFolder,
                                            const std::vector<InstalledFile>& files,
                                            const std::string& dictionaryFolder, Prompts& prompts) {
    std::vector<std::string> problems;
    std::error_code error;
    for (const char* folder : {"", "backgrounds", kDefaultSiteFolder, "help"}) {
        fs::create_directories(fs::path(workingFolder) / folder, error);
    }
    for (const InstalledFile& file : files) {
        InstallFile(workingFolder, file, problems);
    }
    InstallDictionary(workingFolder, dictionaryFolder, problems);
    CreateWordList(workingFolder, problems);
    SetAsideDamagedStore(workingFolder, problems);
    InstallQuickstart(workingFolder, prompts, problems);
    KeepPrivate(workingFolder);
    return problems;
}
