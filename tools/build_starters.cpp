// Builds the starter sites from their text sources: for each SOURCE_FOLDER/ID.txt, the site file
// OUT_FOLDER/ID.qsite the program offers, the picture of its home page OUT_FOLDER/ID.png, and a
// line of OUT_FOLDER/index.txt; and the sections of the library, each SECTIONS/ID.txt (a
// starter of one page, section.html) into SECTIONS_OUT/ID.qsection.
// Usage: quillora-starters SOURCE_FOLDER OUT_FOLDER SECTIONS SECTIONS_OUT
#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "designer/editing/item_commands.h"
#include "designer/editing/section_library.h"
#include "platform/console_prompts.h"
#include "site/section_file.h"
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

// A working folder of its own under the out folder, emptied.
fs::path FreshWorkingFolder(const fs::path& out, const std::string& id) {
    const fs::path working = out / "work" / id;
    std::error_code removed;
    fs::remove_all(working, removed);
    fs::create_directories(working / "pictures");
    return working;
}

// The source read and laid out into a page store in memory, its pictures drawn into the
// working folder, then the work done on the store; false with the reason told.
bool LaidOut(const fs::path& source, const fs::path& working, StarterSource& starter,
             const std::function<bool(PageStore&, const std::string&)>& work) {
    std::string error;
    std::optional<StarterSource> read =
        ReadStarterSource(ReadTextFile(source.string()).value_or(std::string()), error);
    try {
        SqliteDatabase db;
        db.open(":memory:");
        CreatePageStore(db);
        ConsolePrompts prompts(std::cerr);
        PageStore store(db, prompts);
        store.keepVersions(false);
        const std::string siteFolder = (working / source.stem()).string();
        if (read) {
            starter = std::move(*read);
            if (LayOutStarter(starter, store, siteFolder, (working / "pictures").string(), error)) {
                return work(store, siteFolder);
            }
        }
    } catch (const SqliteException& failure) {
        error = failure.message();
    }
    std::cerr << source.string() << ": " << error << "\n";
    return false;
}

// One section built into the out folder: its one page's items from the corner of their box.
bool BuildSection(const fs::path& source, const fs::path& out) {
    const std::string id = source.stem().string();
    const fs::path working = FreshWorkingFolder(out, id);
    StarterSource starter;
    return LaidOut(source, working, starter, [&](PageStore& store, const std::string& folder) {
        PageRecord laid;
        if (!store.loadPage(laid, folder, "section.html")) {
            std::cerr << source.string() << ": a section is one page, section.html\n";
            return false;
        }
        const SiteArchiveResult written =
            WriteSectionFile(SectionOf(ClipEveryItem(laid), laid.pageTitle), working.string(),
                             (out / (id + kSectionFileExtension)).string());
        if (!written.done) {
            std::cerr << source.string() << ": " << written.message << "\n";
        }
        return written.done;
    });
}

std::vector<fs::path> Sources(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// One starter built into the out folder; its index line, or nothing with the reason told.
std::optional<std::string> Build(const fs::path& source, const fs::path& out) {
    const std::string id = source.stem().string();
    const fs::path working = FreshWorkingFolder(out, id);
    StarterSource starter;
    const bool exported =
        LaidOut(source, working, starter, [&](PageStore& store, const std::string& folder) {
            const SiteArchiveResult result =
                ExportSite(store, working.string(), folder, (out / (id + ".qsite")).string());
            if (!result.done) {
                std::cerr << source.string() << ": " << result.message << "\n";
            }
            return result.done;
        });
    std::string error;
    if (!exported) {
        return std::nullopt;
    }
    if (!DrawStarterThumbnail(starter, (working / "pictures").string(),
                              (out / (id + ".png")).string(), error)) {
        std::cerr << source.string() << ": " << error << "\n";
        return std::nullopt;
    }
    return id + "\t" + starter.name + "\t" + starter.kind + "\t" + starter.line + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: quillora-starters SOURCE_FOLDER OUT_FOLDER SECTIONS SECTIONS_OUT\n";
        return 2;
    }
    const fs::path out = argv[2];
    const fs::path sectionsOut = argv[4];
    fs::create_directories(out);
    fs::create_directories(sectionsOut);
    for (const fs::path& file : Sources(argv[3])) {
        if (!BuildSection(file, sectionsOut)) {
            return 1;
        }
    }
    std::error_code removed;
    fs::remove_all(sectionsOut / "work", removed);
    std::string index;
    for (const fs::path& file : Sources(argv[1])) {
        const std::optional<std::string> line = Build(file, out);
        if (!line) {
            return 1;
        }
        index += *line;
    }
    fs::remove_all(out / "work", removed);
    return WriteTextFile((out / kStarterIndexFile).string(), index) ? 0 : 1;
}
