// A site of 50 pages of 20 items each, with a header, a menu line and a footer picture shared
// by every page. Reports, in milliseconds: an edit of a shared item as the designer's save
// carries it out (the page and the shared record stored, then every page of the folder written
// again from its stored design; goal under 2000 ms), and the opening of a page (read from the
// store, shared items merged, the editor page written) with the shared items and without them
// (goal: at most 10% more). Then the whole site published with its fonts travelling and
// without (goal: at most 1.5 times as long), with the time the fonts' subsetting and encoding
// took when they were first made.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bench_pages.h"
#include "bench_ports.h"
#include "common/paths.h"
#include "designer/editor_page/controls_page.h"
#include "designer/editor_page/editor_page_writer.h"
#include "page/site_items.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/console_prompts.h"
#include "site/published_page.h"
#include "store/db/sqlite_database.h"
#include "store/page_store.h"
#include "store/page_store_schema.h"

namespace {

constexpr int kPages = 50;

double Milliseconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The site's pages stored, their pictures lying in the folder; with the shared record when
// asked.
void StoreSite(PageStore& store, const std::string& folder, const std::string& picture,
               bool shared) {
    for (int i = 0; i < kPages; ++i) {
        PageRecord page = PageWithItems(20);
        page.directory = folder;
        page.fileName = "page" + std::to_string(i) + ".html";
        // Three faces across the site.
        for (std::string& text : page.texts) {
            const std::size_t face = text.find("face=Arial");
            if (face != std::string::npos && i % 3 != 0) {
                text.replace(face, 10, i % 3 == 1 ? "face='Open Sans'" : "face='Lato'");
            }
        }
        for (std::string& entry : page.pictures) {
            entry = ItemNameIn(entry) + picture;
        }
        store.savePage(page);
    }
    if (!shared) {
        return;
    }
    PageRecord site;
    site.directory = folder;
    site.fileName = kSiteItemsFile;
    site.elementCount = 3;
    site.stylesData =
        "<div id='pagetextitemS1~' style='position: absolute; top: 0px; left: 0px; width: "
        "780px; visibility: visible;'>|<div id='pagetextitemS2~' style='position: absolute; "
        "top: 60px; left: 0px; width: 780px; visibility: visible;'>|<div "
        "id='dpageimageitemS3~' style='position:absolute;top:2900px;left:0px'>^780^60";
    site.texts = {"pagetextitemS1~<P>Our garden</P>",
                  "pagetextitemS2~<A HREF='page0.html'>Home</A> <A HREF='page1.html'>Spring</A>"};
    site.richTexts = {"{\\rtf1 Our garden}", "{\\rtf1 menu}"};
    site.textProperties = {"pagetextitemS1~^^^^^NOJUSTIFY", "pagetextitemS2~^^^^^NOJUSTIFY"};
    site.pictures = {"pageimageitemS3~" + picture};
    site.links = {""};
    store.savePage(site);
}

// Every page of the folder written again from its stored design.
void WriteEveryPage(PageStore& store, PagePublisher& publisher, const std::string& folder) {
    for (const std::string& name : store.pageNames(folder)) {
        PageRecord page;
        page.directory = folder;
        page.fileName = name;
        std::string text;
        store.loadPage(page, folder, name);
        publisher.publish(page, PublishVariant::Save, folder, name, text);
    }
}

}  // namespace

int main() {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / "quillora-site-items-bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "site");
    std::filesystem::create_directories(root / "plain");
    const std::string picture = (root / "photo.jpg").string();
    std::ofstream(picture, std::ios::binary) << std::string(20000, 'p');
    ConsolePrompts prompts(std::cerr);
    SqliteDatabase db;
    db.open((root / "quilldata.db").string());
    CreatePageStore(db);
    PageStore store(db, prompts);
    const std::string site = (root / "site").string();
    const std::string plain = (root / "plain").string();
    StoreSite(store, site, picture, true);
    StoreSite(store, plain, picture, false);

    std::vector<double> edits;
    PagePublisher publisher(root.string(), prompts);
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        PageRecord page;
        store.loadPage(page, site, "page0.html");
        page.fileName = "page0.html";
        page.directory = site;
        const std::string left = "left: " + std::to_string(run * 10) + "px";
        page.stylesData.replace(page.stylesData.find("left: ", page.stylesData.find("itemS1~")), 9,
                                left.substr(0, 9));
        store.savePage(page);
        WriteEveryPage(store, publisher, site);
        edits.push_back(Milliseconds(start));
    }
    std::printf("edit of a shared item, %d pages written again: median %.1f ms (min %.1f)\n",
                kPages, Median(edits), *std::min_element(edits.begin(), edits.end()));

    // The whole site published as quillora-publish does, without and with its fonts.
    const auto publishSite = [&] {
        const auto start = std::chrono::steady_clock::now();
        publisher.setUpFor(store, site);
        WriteEveryPage(store, publisher, site);
        return Milliseconds(start);
    };
    std::vector<double> withoutFonts;
    for (int run = 0; run < 5; ++run) {
        withoutFonts.push_back(publishSite());
    }
    SiteOptions options = store.siteOptions().load(site);
    options.siteFonts = true;
    store.siteOptions().save(site, options);
    const double first = publishSite();
    const FontWork work = publisher.siteFonts().work;
    std::vector<double> withFonts;
    for (int run = 0; run < 5; ++run) {
        withFonts.push_back(publishSite());
    }
    std::printf("publish %d pages without fonts: median %.1f ms\n", kPages, Median(withoutFonts));
    std::printf(
        "publish %d pages with %zu font files: median %.1f ms (%.2f times); first %.1f ms, "
        "of which subsetting %.1f ms and WOFF2 encoding %.1f ms\n",
        kPages, publisher.siteFonts().fonts.size(), Median(withFonts),
        Median(withFonts) / Median(withoutFonts), first,
        static_cast<double>(work.subsetting.count()) / 1000.0,
        static_cast<double>(work.encoding.count()) / 1000.0);

    NoBrowser browser;
    NoClipboard clipboard;
    ControlsPage controls(root.string());
    EditorPageWriter writer(root.string(), controls, browser, clipboard, prompts);
    EditorState editor;
    for (const auto& [folder, label] :
         {std::pair{plain, "without shared items"}, std::pair{site, "with 3 shared items"}}) {
        std::vector<double> opens;
        for (int run = 0; run < 200; ++run) {
            const auto start = std::chrono::steady_clock::now();
            PageRecord page;
            page.directory = folder;
            page.fileName = "page" + std::to_string(run % kPages) + ".html";
            store.loadPage(page, folder, page.fileName);
            writer.writeLoad(page, editor);
            opens.push_back(Milliseconds(start));
        }
        std::printf("open a page %s: median %.3f ms\n", label, Median(opens));
    }
    std::filesystem::remove_all(root);
    return 0;
}
