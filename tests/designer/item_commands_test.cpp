#include "designer/editing/item_commands.h"

#include <gtest/gtest.h>

#include <map>

#include "common/fields.h"
#include "page/item_ids.h"
#include "page/site_items.h"
#include "site/markup/item_walk.h"
#include "store/page_store.h"
#include "support/designer_fixture.h"

namespace {

// A section as the text editor writes it: its words carry its id in their own ids.
std::string Section(const std::string& id, const std::string& words) {
    return id + "<font face='Arial'><SPAN id='" + id + "4' style='font-size:12pt;'>" + words +
           "</SPAN></font>";
}

class ItemCommandsTest : public DesignerFixture {
  protected:
    ItemCommandsTest() {
        selectFolder(siteFolder());
        page().directory = siteFolder();
        page().fileName = "page.html";
        page().stylesData =
            "<div id='pagetextitem1~' style='position:absolute;left:10px;top:20px'>|"
            "<div id='dpageimageitem7~' style='position:absolute;top:40px;left:400px;"
            "background:transparent;Z-INDEX:3'>^160^60";
        page().texts = {Section("pagetextitem1~", "One")};
        page().richTexts = {"{\\rtf1 One}"};
        page().textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
        page().pictures = {"pageimageitem7~" + (working / "sun.gif")};
        page().links = {""};
        page().elementCount = 1;
    }

    // How often each id stands in the page as the editor page writes it.
    std::map<std::string, int> idsWritten() {
        std::map<std::string, int> ids;
        const std::string markup = WalkItems(page(), {}).markup;
        for (std::size_t at = markup.find("<div id='"); at != std::string::npos;
             at = markup.find("<div id='", at + 1)) {
            ++ids[std::string(RecordIdIn(std::string_view(markup).substr(at)))];
        }
        return ids;
    }
};

}  // namespace

// Duplicate, copy and paste of texts and pictures, shared and not, onto the same page and onto
// a page whose counter fell behind its sections: every item keeps one id of its own, and a
// copy's words, in every language, carry the copy's id.
TEST_F(ItemCommandsTest, CopiesTakeIdsOfTheirOwnWordsIncluded) {
    ASSERT_EQ(MakeSiteItem(page(), "pagetextitem1~"), "pagetextitemS1~");
    page().stylesData += "|<div id='pagetextitem2~' style='position:absolute;left:10px;top:90px'>";
    page().texts.push_back(Section("pagetextitem2~", "Two"));
    page().richTexts.push_back("{\\rtf1 Two}");
    page().translations["fr"]["pagetextitem2~"] = Section("pagetextitem2~", "Deux").substr(14);
    page().elementCount = 1;
    const std::string all = "pagetextitemS1~pagetextitem2~pageimageitem7~";

    ItemCommands& items = session.items();
    items.duplicate(all);
    items.copy("pagetextitem2~pageimageitem7~");
    items.paste();
    items.paste();
    for (const auto& [id, count] : idsWritten()) {
        EXPECT_EQ(count, 1) << id;
    }
    EXPECT_EQ(idsWritten().size(), 10u);
    for (const std::string& entry : page().texts) {
        const std::string id = ItemNameIn(entry);
        EXPECT_NE(entry.find("<SPAN id='" + id + "4'"), std::string::npos) << entry;
    }
    EXPECT_FALSE(HasRepeatedItems(page()));
    // The original and its three copies speak French, each under its own id.
    ASSERT_EQ(page().translations["fr"].size(), 4u);
    for (const auto& [id, words] : page().translations["fr"]) {
        EXPECT_EQ(id + words, Section(id, "Deux"));
    }
}

// What reaches the store never lists an id twice, whatever the page handed over.
TEST_F(ItemCommandsTest, ALayoutOrDesignWithARepeatedIdIsStoredOnce) {
    handOver(page().stylesData + "|<div id='pagetextitem1~' style='left:99px'>");
    session.items().duplicate("pagetextitem1~");
    EXPECT_EQ(SplitFields(page().stylesData, "|").size(), 3u) << page().stylesData;

    page().stylesData += "|<div id='pagetextitem2~' style='left:1px'>";
    page().texts.push_back(Section("pagetextitem2~", "Again"));
    page().richTexts.push_back("{\\rtf1 Again}");
    page().pictures.push_back(page().pictures.front());
    page().links.push_back("http://example.com/");
    ASSERT_TRUE(HasRepeatedItems(page()));
    PageStore store(db, prompts);
    ASSERT_TRUE(store.savePage(page()));
    PageRecord loaded;
    ASSERT_TRUE(store.loadPage(loaded, siteFolder(), "page.html"));
    EXPECT_FALSE(HasRepeatedItems(loaded));
    EXPECT_EQ(loaded.texts.size(), 2u);
    EXPECT_EQ(loaded.richTexts.size(), 2u);
    EXPECT_EQ(loaded.texts[1], page().texts[1]);
    EXPECT_EQ(loaded.pictures.size(), 1u);
    EXPECT_EQ(loaded.links, std::vector<std::string>{""});
}
