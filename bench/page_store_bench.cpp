// Saving and loading a page through the page store for pages of 10, 200 and 1000 items, beside
// the same save run statement by statement without a transaction (each statement then commits,
// and syncs, on its own). Prints the median of several runs in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench_pages.h"
#include "platform/console_prompts.h"
#include "store/db/sqlite_database.h"
#include "store/db/sqlite_statement.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"
#include "store/rich_text_block.h"

namespace {

double MedianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Run(SqliteDatabase& db, const std::string& sql,
         const std::function<void(SqliteStatement&)>& bind) {
    SqliteStatement statement = db.prepare(sql);
    bind(statement);
    statement.runStatement();
}

// The stored page's child rows replaced one autocommitted statement at a time.
void SaveStatementByStatement(SqliteDatabase& db, const PageRecord& page, long long id) {
    const auto bindId = [id](SqliteStatement& s) { s.bindInt64(1, id); };
    Run(db,
        "update quillprojects set PAGETITLE = ?1, STYLESDATA = ?2, ELEMENTCOUNT = ?3 WHERE "
        "ID = ?4",
        [&](SqliteStatement& s) {
            s.bindText(1, page.pageTitle);
            s.bindText(2, page.stylesData);
            s.bindText(3, std::to_string(page.elementCount));
            s.bindInt64(4, id);
        });
    Run(db, "delete from rtftexts where PROJECTID = ?1", bindId);
    for (const std::string& rich : page.richTexts) {
        Run(db, "insert into rtftexts values (?1, ?2);", [&](SqliteStatement& s) {
            s.bindText(1, std::to_string(id));
            s.bindText(2, EncodeRichTextBlock(rich));
        });
    }
    Run(db, "delete from pageimages where PROJECTID = ?1", bindId);
    for (std::size_t i = 0; i < page.pictures.size(); ++i) {
        Run(db, "insert into pageimages (PROJECTID,IMAGESOURCE,LINKINFO) VALUES(?1,?2,?3)",
            [&](SqliteStatement& s) {
                s.bindInt64(1, id);
                s.bindText(2, page.pictures[i]);
                s.bindText(3, page.links[i]);
            });
    }
    Run(db, "delete from pagetexts where PROJECTID = ?1", bindId);
    for (const std::string& text : page.texts) {
        Run(db, "insert into pagetexts (PROJECTID,TEXTDATA) VALUES(?1,?2)",
            [&](SqliteStatement& s) {
                s.bindInt64(1, id);
                s.bindText(2, text);
            });
    }
    Run(db, "delete from textproperties where PROJECTID = ?1", bindId);
    for (const std::string& properties : page.textProperties) {
        Run(db, "insert into textproperties (PROJECTID,PROPERTIESDATA) VALUES(?1,?2)",
            [&](SqliteStatement& s) {
                s.bindInt64(1, id);
                s.bindText(2, properties);
            });
    }
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quillora-page-store-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    SqliteDatabase db;
    db.open((folder / "quilldata.db").string());
    CreatePageStore(db);
    ConsolePrompts prompts(std::cerr);
    PageStore store(db, prompts);

    std::printf("%6s %12s %12s %22s %8s\n", "items", "save ms", "load ms", "statement by stmt ms",
                "ratio");
    for (const int items : {10, 200, 1000}) {
        PageRecord page = PageWithItems(items);
        page.directory = folder.string();
        page.fileName = "page" + std::to_string(items) + ".html";
        const double save = MedianMilliseconds(15, [&] { store.savePage(page); });
        PageRecord loaded;
        const double load =
            MedianMilliseconds(15, [&] { store.loadPage(loaded, page.directory, page.fileName); });
        const long long id = std::stoll(store.pageIdOf(page.directory, page.fileName));
        const double separate = MedianMilliseconds(items > 200 ? 3 : 5,
                                                   [&] { SaveStatementByStatement(db, page, id); });
        std::printf("%6d %12.2f %12.2f %22.2f %7.1fx\n", items, save, load, separate,
                    separate / save);
    }
    db.close();
    std::filesystem::remove_all(folder);
    return 0;
}
