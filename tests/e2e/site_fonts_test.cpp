// Fonts that travel with the site in the real window: a section breaks its lines alike in the
// editor and for a visitor whose computer has none of the author's faces.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>

#include "common/text_file.h"
#include "store/page_store.h"
#include "window_fixture.h"

namespace {

class SiteFontsWindowTest : public WindowFixture {
  protected:
    // The section's height in Debian's chromium, for a visitor whose only fonts are DejaVu's,
    // once the page's own fonts have loaded.
    std::string visitorHeight(const std::string& pageText) {
        const std::string page = path("webpages/visitor.html");
        WriteFile(page, pageText +
                            "<script>document.fonts.ready.then(function(){document.title="
                            "document.getElementById('pagetextitem1~').offsetHeight;});"
                            "</script>");
        WriteFile(path("visitor-fonts.conf"),
                  "<?xml version='1.0'?><!DOCTYPE fontconfig SYSTEM 'fonts.dtd'><fontconfig>"
                  "<dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>" +
                      path("visitor-cache") + "</cachedir></fontconfig>");
        const std::string command =
            "FONTCONFIG_FILE='" + path("visitor-fonts.conf") +
            "' /usr/bin/chromium --headless=new --no-sandbox --disable-gpu --no-first-run "
            "--allow-file-access-from-files --user-data-dir='" +
            path("visitor-chromium") + "' --virtual-time-budget=5000 --dump-dom 'file://" + page +
            "' 2>/dev/null";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        std::string dom;
        char buffer[4096];
        while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
            dom += buffer;
        }
        std::smatch title;
        return std::regex_search(dom, title, std::regex("<title>([0-9]+)</title>"))
                   ? title[1].str()
                   : "no height in: " + dom.substr(0, 300);
    }
};

}  // namespace

TEST_F(SiteFontsWindowTest, ASectionBreaksItsLinesAlikeInTheEditorAndForEveryVisitor) {
    PageRecord page = sitePage("page.html", "Fonts");
    const std::string words =
        "Sections sit at fixed places with fixed widths, so where their lines break decides "
        "whether one section runs into the next one below it.";
    page.stylesData =
        "<div id='pagetextitem1~' style='position:absolute;top:100px;left:50px;width:230px;"
        "visibility:visible'>";
    page.texts = {
        "pagetextitem1~<font face='Arial' color='#000000'><SPAN style='font-size:14pt;'>" + words +
        "</SPAN></font>"};
    page.richTexts = {"{\\rtf1 x}"};
    page.textProperties = {"pagetextitem1~^#ffffff^^^^NOJUSTIFY"};
    page.elementCount = 1;
    {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        PageStore pages(db, prompts);
        SiteOptions options;
        options.siteFonts = true;
        ASSERT_TRUE(pages.siteOptions().save(page.directory, options));
    }
    store(page, true);
    startWindow();
    ASSERT_TRUE(resume());
    ASSERT_TRUE(editorShown());
    ASSERT_TRUE(WaitFor([&] {
        return js("window.frames['editor'].document.fonts.status").toString() == "loaded";
    }));
    const QString editorHeight =
        js("String(window.frames['editor'].document.getElementById('pagetextitem1~')"
           ".offsetHeight)")
            .toString();
    save("webpages/page.html");
    const std::string published = ReadFile(path("webpages/page.html"));
    ASSERT_NE(published.find("@font-face{font-family:'Arial'"), std::string::npos);

    EXPECT_EQ(visitorHeight(published), editorHeight.toStdString());
    // Without its fonts the same page breaks its lines elsewhere for that visitor.
    const std::size_t style = published.find("<style>@font-face");
    std::string bare = published;
    bare.erase(style, published.find("</style>", style) + 8 - style);
    EXPECT_NE(visitorHeight(bare), editorHeight.toStdString());
}
