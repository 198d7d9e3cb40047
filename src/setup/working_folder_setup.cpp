#include "setup/working_folder_setup.h"

#include <filesystem>

#include "common/paths.h"
#include "common/text_file.h"
#include "designer/published_page.h"
#include "page/working_files.h"
#include "setup/quickstart_tutorial.h"
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
    if (fs::exists(path, error)) {
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

// The tutorial is stored once; a user who changed or removed its published file keeps that.
void InstallQuickstart(const std::string& workingFolder, Prompts& prompts,
                       std::vector<std::string>& problems) {
    try {
        SqliteDatabase db;
        db.open(JoinPath(workingFolder, "quilldata.db"));
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
    InstallQuickstart(workingFolder, prompts, problems);
    return problems;
}
