// Builds the starter sites from their text sources: for each SOURCE_FOLDER/ID.txt, the site file
// OUT_FOLDER/ID.qsite the program offers, the picture of its home page OUT_FOLDER/ID.png, and a
// line of OUT_FOLDER/index.txt. Usage: quillora-starters SOURCE_FOLDER OUT_FOLDER
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "platform/console_prompts.h"
#include "site/site_archive.h"
#include "site/starter_build.h"
#include "site/starter_source.h"
#include "site/starters.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_exception.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

// One starter built into the out folder; its index line, or nothing with the reason told.
std::optional<std::string> Build(const fs::path& source, const fs::path& out) {
    const std::string id = source.stem().string();
    const auto fail = [&](const std::string& reason) -> std::optional<std::string> {
        std::cerr << source.string() << ": " << reason << "\n";
        return std::nullopt;
    };
    std::string error;
    const std::optional<StarterSource> starter =
        ReadStarterSource(ReadTextFile(source.string()).value_or(std::string()), error);
    if (!starter) {
        return fail(error);
    }
    const fs::path working = out / "work" / id;
    std::error_code removed;
    fs::remove_all(working, removed);
    fs::create_directories(working / "pictures");
    const std::string siteFolder = (working / id).string();
    try {
        SqliteDatabase db;
        db.open((working / "quilldata.db").string());
        CreatePageStore(db);
        ConsolePrompts prompts(std::cerr);
        PageStore store(db, prompts);
        store.keepVersions(false);
        if (!LayOutStarter(*starter, store, siteFolder, (working / "pictures").string(), error)) {
            return fail(error);
        }
        const SiteArchiveResult exported =
            ExportSite(store, working.string(), siteFolder, (out / (id + ".qsite")).string());
        if (!exported.done) {
            return fail(exported.message);
        }
    } catch (const SqliteException& failure) {
        return fail(failure.message());
    }
    if (!DrawStarterThumbnail(*starter, (working / "pictures").string(),
                              (out / (id + ".png")).string(), error)) {
        return fail(error);
    }
    return id + "\t" + starter->name + "\t" + starter->kind + "\t" + starter->line + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quillora-starters SOURCE_FOLDER OUT_FOLDER\n";
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    fs::create_directories(out);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(sources)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::string index;
    for (const fs::path& file : files) {
        const std::optional<std::string> line = Build(file, out);
        if (!line) {
            return 1;
        }
        index += *line;
    }
    std::error_code removed;
    fs::remove_all(out / "work", removed);
    return WriteTextFile((out / kStarterIndexFile).string(), index) ? 0 : 1;
}
