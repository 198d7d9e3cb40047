#include "designer/editor_page/editor_page_update.h"

#include <gtest/gtest.h>

#include "designer/editor_page/controls_page.h"
#include "designer/editor_page/editor_page_writer.h"
#include "page_fixtures.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::string_view> Views(const std::vector<std::string>& items) {
    return std::vector<std::string_view>(items.begin(), items.end());
}

std::string Item(const std::string& id, const std::string& content = "x") {
    return "<div id='" + id + "' style='left:1px'>" + content + "</div>";
}

// Each edit as "at-removed+added@firstNew".
std::string Described(const std::vector<ItemEdit>& edits) {
    std::string text;
    for (const ItemEdit& edit : edits) {
        text += (text.empty() ? "" : " ") + std::to_string(edit.at) + "-" +
                std::to_string(edit.removed) + "+" + std::to_string(edit.added) + "@" +
                std::to_string(edit.firstNew);
    }
    return text;
}

}  // namespace

TEST(ItemEditsTest, OnlyWhatChangedIsSwappedAndItemsAreFollowedByTheirIds) {
    const std::string a = Item("a");
    const std::string b = Item("b");
    const std::string c = Item("c");
    const std::string d = Item("d");
    const std::string bMoved = Item("b", "moved");
    const std::string dMoved = Item("d", "moved");
    struct Case {
        const char* what;
        std::vector<std::string> before;
        std::vector<std::string> after;
        const char* edits;
    };
    const Case cases[] = {
        {"nothing changed", {a, b, c}, {a, b, c}, ""},
        {"one item changed", {a, b, c}, {a, bMoved, c}, "1-1+1@1"},
        {"two apart", {a, b, c, d}, {a, bMoved, c, dMoved}, "1-1+1@1 3-1+1@3"},
        {"added at the end", {a, b}, {a, b, c}, "2-0+1@2"},
        {"deleted in the middle, a later one changed",
         {a, b, c, d},
         {a, c, dMoved},
         "1-1+0@1 3-1+1@2"},
        {"added before the others", {b, c}, {a, b, c}, "0-0+1@0"},
        {"a duplicate beside its original", {a, b}, {a, b, b}, "2-0+1@2"},
        {"all gone", {a, b}, {}, "0-2+0@0"},
        {"two swapped", {a, b}, {b, a}, "0-2+2@0"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Described(ItemEdits(Views(test.before), Views(test.after))), test.edits)
            << test.what;
    }
}

namespace {

class EditorPageUpdateTest : public ::testing::Test {
  protected:
    void write(const PageRecord& page) { writer.writePictureChange(page, editor); }

    TempFolder working;
    FakeBrowser browser;
    FakeClipboard clipboard;
    ControlsPage controls{working.path()};
    FakePrompts prompts;
    EditorPageWriter writer{working.path(), controls, browser, clipboard, prompts};
    EditorState editor;
};

}  // namespace

TEST_F(EditorPageUpdateTest, TheSamePageIsUpdatedInPlaceAndAnotherIsLoadedWhole) {
    PageRecord page = ItemPage();
    page.directory = "/site";
    page.fileName = "index.html";
    write(page);
    ASSERT_EQ(browser.addresses.size(), 1u);
    EXPECT_TRUE(browser.updates.empty()) << "the first page shown is loaded";

    const std::size_t top = page.stylesData.find("TOP: 30px");
    page.stylesData.replace(top, 9, "TOP: 99px");
    write(page);
    ASSERT_EQ(browser.updates.size(), 1u);
    const std::string& update = browser.updates[0];
    EXPECT_NE(update.find("base:1,version:2"), std::string::npos) << update;
    EXPECT_NE(update.find("TOP: 99px"), std::string::npos) << "the moved item is sent";
    EXPECT_EQ(update.find("sun.jpg"), std::string::npos) << "an unchanged item is not";
    EXPECT_NE(update.find("script:null,body:null,container:null"), std::string::npos)
        << "nor the head's values that did not change";
    EXPECT_NE(update.find("SET_DHTML("), std::string::npos) << "the items are registered again";

    page.pageImage = "other.jpg";
    write(page);
    ASSERT_EQ(browser.updates.size(), 2u);
    EXPECT_NE(browser.updates[1].find("other.jpg"), std::string::npos)
        << "the container takes its new background";

    PageRecord other = page;
    other.fileName = "about.html";
    write(other);
    EXPECT_EQ(browser.updates.size(), 2u) << "another page is loaded whole";
    EXPECT_EQ(browser.addresses.size(), 4u);
}

TEST_F(EditorPageUpdateTest, StructureChangesAndTextBeyondAsciiAreLoadedWhole) {
    PageRecord page = ItemPage();
    write(page);
    struct Change {
        const char* what;
        void (*apply)(PageRecord&);
    };
    const Change changes[] = {
        {"the container goes", [](PageRecord& p) { p.pageContainer.clear(); }},
        {"the container comes back",
         [](PageRecord& p) { p.pageContainer = PageContainerMarkup("800", "1200"); }},
        {"a picture's path beyond ASCII",
         [](PageRecord& p) { p.pictures[0] = "pageimageitem417~/pics/\xC3\xA9t\xC3\xA9.jpg"; }},
    };
    for (const Change& change : changes) {
        const std::size_t updates = browser.updates.size();
        change.apply(page);
        write(page);
        EXPECT_EQ(browser.updates.size(), updates) << change.what;
    }
    page.pictures[0] = "pageimageitem417~/pics/sun.jpg";
    write(page);
    EXPECT_FALSE(browser.updates.empty()) << "an ordinary change after them is updated again";
}

TEST_F(EditorPageUpdateTest, APageShownInThePhoneViewIsLoadedWholeWhenItComesBack) {
    PageRecord page = ItemPage();
    int phoneViews = 0;
    writer.showPhoneViewWith([&](const PageRecord&) { ++phoneViews; });
    write(page);
    editor.phoneView = true;
    write(page);
    editor.phoneView = false;
    write(page);
    EXPECT_EQ(phoneViews, 1);
    EXPECT_TRUE(browser.updates.empty());
}

TEST_F(EditorPageUpdateTest, AnItemTheUserMovedIsWrittenAgainWhenAnUndoPutsItBack) {
    PageRecord page = ItemPage();
    write(page);
    const std::string written = page.stylesData;
    // The user drags the first section; the page reports it and nothing is written.
    const std::size_t top = page.stylesData.find("TOP: 30px");
    page.stylesData.replace(top, 9, "TOP: 77px");
    editor.reportedLayout = page.stylesData;
    ++editor.layoutReports;
    // An undo puts it back: the markup is the one written before, the page shows otherwise.
    page.stylesData = written;
    write(page);
    ASSERT_EQ(browser.updates.size(), 1u);
    EXPECT_NE(browser.updates[0].find("edits:[[0,1,1]]"), std::string::npos) << browser.updates[0];
    EXPECT_NE(browser.updates[0].find("TOP: 30px"), std::string::npos);
    EXPECT_EQ(browser.updates[0].find("pagetextitem3~\\' style"), std::string::npos)
        << "an item the user left alone is not sent";
}
