#include "designer/editor_page/editor_page_update.h"

#include <gtest/gtest.h>

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

// A picture that only gains or loses its link keeps its content; anything more is a swap.
TEST(ItemEditsTest, AnItemThatOnlyGainsOrLosesItsLinkIsRelinkedInPlace) {
    const std::string open = "<div id='dpageimageitem1~' style='left:1px'>";
    const std::string picture = "<IMG name='pageimageitem1~' SRC=\"a.gif\">";
    const std::string plain = open + picture + "</div>";
    const std::string linked = open + "<A HREF='http://a/'>" + picture + "</A></div>";
    struct Case {
        const char* what;
        std::string before;
        std::string after;
        const char* anchor;
    };
    const Case cases[] = {
        {"gains its link", plain, linked, "<A HREF='http://a/'>"},
        {"loses its link", linked, plain, ""},
        {"a link with '>' in it", plain, open + "<A HREF='http://a/?b>c'>" + picture + "</A></div>",
         "<A HREF='http://a/?b>c'>"},
        {"moved as well", plain,
         "<div id='dpageimageitem1~' style='left:2px'><A HREF='http://a/'>" + picture +
             "</A></div>",
         nullptr},
        {"another link", linked, open + "<A HREF='http://b/'>" + picture + "</A></div>", nullptr},
        {"content with an anchor of its own", open + "<a name='x'></a>" + picture + "</div>",
         open + "<A HREF='http://a/'><a name='x'></a>" + picture + "</A></div>", nullptr},
        {"an unclosed anchor", plain, open + "<A HREF='http://a/'>" + picture + "</div>", nullptr},
    };
    for (const Case& test : cases) {
        const std::optional<Relink> relink = RelinkOf(test.before, test.after);
        ASSERT_EQ(relink.has_value(), test.anchor != nullptr) << test.what;
        if (relink) {
            EXPECT_EQ(relink->anchor, test.anchor) << test.what;
        }
    }
    // In the update the relinked item stays; the one beside it that changed more is swapped.
    EditorPageParts before;
    EditorPageParts after;
    const std::string other = "<div id='pagetextitem2~' style='left:1px'>x</div>";
    const std::string otherMoved = "<div id='pagetextitem2~' style='left:9px'>x</div>";
    before.items = {plain, other};
    after.items = {linked, otherMoved};
    const std::optional<std::string> update = EditorPageUpdate(before, after, {});
    ASSERT_TRUE(update);
    EXPECT_NE(update->find(R"(edits:[[1,1,1]],links:[[0,'\x3CA HREF=\'http://a/\'>']],)"
                           R"(items:'\x3Cdiv id=\'pagetextitem2~\')"),
              std::string::npos)
        << *update;
}
