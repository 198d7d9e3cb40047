// Versions and carrying a site away. Reports:
// - 100 saves of a 200-item page, each moving one item and rewording one section, with a
//   20 KB picture of the page: the page store's growth (goal well under 10 MB) and the time
//   per save, beside the same saves keeping no versions;
// - the export of a 50-page site of 20 items and a 100 KB photo per page, and its import into
//   a clean working folder (pages written): times and the file's size.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_pages.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "page/site_items.h"
#include "platform/console_prompts.h"
#include "site/site_archive.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace fs = std::filesystem;

namespace {

double Milliseconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

double Megabytes(const std::string& file) {
    std::error_code error;
    return static_cast<double>(fs::file_size(file, error)) / (1024.0 * 1024.0);
}

struct Saves {
    double growth = 0;
    double median = 0;
    double slowest = 0;
};

Saves HundredSaves(const std::string& folder, bool versions) {
    const std::string database = JoinPath(folder, versions ? "versions.db" : "plain.db");
    SqliteDatabase db;
    db.open(database);
    CreatePageStore(db);
    std::ostringstream told;
    ConsolePrompts prompts(told);
    PageStore store(db, prompts);
    store.keepVersions(versions);
    PageRecord page = PageWithItems(200);
    page.directory = JoinPath(folder, "site");
    page.fileName = "long.html";
    store.savePage(page, Noise(20 * 1024, 0));
    const double before = Megabytes(database);
    std::vector<double> times;
    for (int save = 1; save <= 100; ++save) {
        // One item moved a little, one section reworded.
        const std::string from = "top: " + std::to_string(10 + (save % 50) * 100) + "px";
        const std::size_t at = page.stylesData.find(from);
        if (at != std::string::npos) {
            page.stylesData.replace(at, from.size(), from + " ");
        }
        page.texts[static_cast<std::size_t>(save % 100)] +=
            "<P>edit " + std::to_string(save) + "</P>";
        const auto start = std::chrono::steady_clock::now();
        store.savePage(page, Noise(20 * 1024, static_cast<unsigned>(save)));
        times.push_back(Milliseconds(start));
    }
    if (versions) {
        std::printf("  kept: %d pieces of %d bytes; the versions' lists %d bytes, pictures %d\n",
                    db.runScalar("select count(*) from versionpieces"),
                    db.runScalar("select sum(length(DATA)) from versionpieces"),
                    db.runScalar("select sum(length(PIECES)) from pageversions"),
                    db.runScalar("select sum(length(PICTURE)) from pageversions"));
    }
    db.close();
    return {Megabytes(database) - before, Median(times),
            *std::max_element(times.begin(), times.end())};
}

}  // namespace

int main() {
    const fs::path folder =
        fs::temp_directory_path() / ("quillora-history-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::printf("100 saves of a 200-item page, a 20 KB picture each:\n");
    const Saves kept = HundredSaves(folder.string(), true);
    const Saves plain = HundredSaves(folder.string(), false);
    std::printf("  versions kept: store grew %.2f MB; save median %.1f ms, slowest %.1f ms\n",
                kept.growth, kept.median, kept.slowest);
    std::printf("  no versions:   store grew %.2f MB; save median %.1f ms, slowest %.1f ms\n",
                plain.growth, plain.median, plain.slowest);

    // A 50-page site, a photo per page, exported and brought into a clean working folder.
    const std::string working = (folder / "working").string();
    const std::string site = JoinPath(working, "site");
    fs::create_directories(JoinPath(working, "backgrounds"));
    fs::create_directories(JoinPath(working, "photos"));
    fs::create_directories(site);
    {
        SqliteDatabase db;
        db.open(JoinPath(working, "quilldata.db"));
        CreatePageStore(db);
        std::ostringstream told;
        ConsolePrompts prompts(told);
        PageStore store(db, prompts);
        for (int i = 0; i < 50; ++i) {
            PageRecord page = PageWithItems(20);
            page.directory = site;
            page.fileName = "page" + std::to_string(i) + ".html";
            const std::string photo =
                JoinPath(JoinPath(working, "photos"), "photo" + std::to_string(i) + ".jpg");
            WriteTextFile(photo, Noise(100 * 1024, 1000U + static_cast<unsigned>(i)));
            for (std::string& entry : page.pictures) {
                entry = ItemNameIn(entry) + photo;
            }
            store.savePage(page);
        }
        const std::string file = (folder / "site.qsite").string();
        auto start = std::chrono::steady_clock::now();
        const SiteArchiveResult exported = ExportSite(store, working, site, file);
        const double exportMs = Milliseconds(start);
        std::printf("50-page site: export %.0f ms (%s), file %.1f MB\n", exportMs,
                    exported.done ? "done" : exported.message.c_str(), Megabytes(file));

        const std::string other = (folder / "other").string();
        fs::create_directories(JoinPath(other, "backgrounds"));
        SqliteDatabase target;
        target.open(JoinPath(other, "quilldata.db"));
        CreatePageStore(target);
        PageStore into(target, prompts);
        start = std::chrono::steady_clock::now();
        SiteArchive archive;
        std::string refusal;
        const bool opened = archive.open(file, refusal);
        const double checkMs = Milliseconds(start);
        const SiteArchiveResult imported =
            opened ? archive.importInto(into, prompts, other, JoinPath(other, "site"))
                   : SiteArchiveResult{};
        std::printf(
            "  import %.0f ms (of which the file checked whole in %.0f ms), pages "
            "written: %s\n",
            Milliseconds(start), checkMs,
            imported.done ? "all" : (opened ? imported.message : refusal).c_str());
    }
    fs::remove_all(folder);
    return 0;
}
