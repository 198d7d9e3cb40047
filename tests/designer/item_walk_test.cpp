#include "site/markup/item_walk.h"

#include <gtest/gtest.h>

#include <set>

#include "common/fields.h"
#include "common/paths.h"
#include "page_fixtures.h"

namespace {

const ItemWalkOptions kPlain{};
ItemWalkOptions LinkedScalable() {
    ItemWalkOptions options;
    options.links = true;
    options.scalablePictures = true;
    return options;
}
const ItemWalkOptions kLinkedScalable = LinkedScalable();

PageRecord PageWith(const std::string& styles) {
    PageRecord page;
    page.stylesData = styles;
    return page;
}

}  // namespace

TEST(RecordId, RunsFromTheDivIdToTheFirstTilde) {
    EXPECT_EQ(RecordId(kTextRecord1), "pagetextitem1~");
    EXPECT_EQ(RecordId(kPictureRecord417), "dpageimageitem417~");
    EXPECT_EQ(RecordId("<div id='nothing' style=''>"), "");
    EXPECT_EQ(RecordId("<div id='"), "");
    EXPECT_EQ(RecordId(""), "");
}

TEST(ItemWalk, ShortStylesDataWritesNothingWhateverTheListsHold) {
    for (const std::string styles : {"", "<div~", "123456"}) {
        PageRecord page = ItemPage();
        page.stylesData = styles;
        const ItemWalkResult walk = WalkItems(page, kPlain);
        EXPECT_EQ(walk.markup, "");
        EXPECT_EQ(walk.dragList, ",");
        EXPECT_EQ(walk.itemCount, 0);
    }
}

TEST(ItemWalk, TildeKeepsIdsWithACommonPrefixApart) {
    PageRecord page = PageWith("<div id='pagetextitem1~' style='x'>");
    page.texts = {"pagetextitem11~<P>eleven</P>", "pagetextitem1~<P>one</P>"};
    const ItemWalkResult walk = WalkItems(page, kPlain);
    EXPECT_EQ(walk.markup, "<div id='pagetextitem1~' style='x'><P>one</P></div>");
    EXPECT_EQ(walk.dragList, ",'pagetextitem1~',");
    EXPECT_EQ(walk.itemCount, 1);
}

TEST(ItemWalk, UnmatchedRecordsAndEntriesAreLeftOut) {
    PageRecord page = PageWith(kTextRecord1 + "|<div id='pagetextitem8~' style='y'>");
    page.texts = {kRemovedItem, "pagetextitem1~A", "pagetextitem5~not laid out"};
    const ItemWalkResult walk = WalkItems(page, kPlain);
    EXPECT_EQ(walk.markup, kTextRecord1 + "A</div>");
    EXPECT_EQ(walk.itemCount, 1);
    EXPECT_EQ(page.texts.size(), 3u);
}

TEST(ItemWalk, RecordWithoutTildeMatchesNoEntry) {
    PageRecord page = PageWith("<div id='target' style='x'>|<div id='~' style='y'>^1^2");
    page.texts = {"pagetextitem1~text"};
    page.pictures = {"pageimageitem2~/p.gif"};
    page.links = {""};
    const ItemWalkResult walk = WalkItems(page, kLinkedScalable);
    // The "~" record still finds the text entry by substring, but names no picture.
    EXPECT_EQ(walk.markup, "<div id='~' style='y'>^1^2agetextitem1~text</div>");
    EXPECT_EQ(walk.itemCount, 1);
}

TEST(ItemWalk, PictureRecordWithoutSizesGivesEmptyWidthAndHeight) {
    PageRecord page = PageWith("<div id='dpageimageitem3~' style='z'>");
    page.pictures = {"pageimageitem3~/a b/c.gif"};
    page.links = {""};
    EXPECT_EQ(WalkItems(page, kPlain).markup,
              "<div id='dpageimageitem3~' style='z'><IMG name='pageimageitem3~' "
              "SRC=\"/a b/c.gif\" BORDER=0 width= height=></div>");
}

TEST(ItemWalk, LinksOfFiveCharactersOrMoreOpenAnAnchor) {
    PageRecord page = PageWith(
        "<div id='dpageimageitem3~' style='z'>^10^20|"
        "<div id='dpageimageitem4~' style='w'>^30^40");
    page.pictures = {"pageimageitem3~/a.gif", "pageimageitem4~/b.gif"};
    page.links = {"abcd", "a.htm"};
    const ItemWalkResult walk = WalkItems(page, kLinkedScalable);
    EXPECT_EQ(walk.markup,
              "<div id='dpageimageitem3~' style='z'><IMG name='pageimageitem3~' SRC=\"/a.gif\" "
              "BORDER=0 width=10 height=20></div>"
              "<div id='dpageimageitem4~' style='w'><A HREF='a.htm'><IMG name='pageimageitem4~' "
              "SRC=\"/b.gif\" BORDER=0 width=30 height=40></A></div>");
    EXPECT_EQ(walk.dragList, ",'pageimageitem3~'+SCALABLE,'pageimageitem4~'+SCALABLE,");
    // Without links, no anchor; a picture without a link entry has no link.
    EXPECT_EQ(WalkItems(page, kPlain).markup.find("<A HREF"), std::string::npos);
    page.links = {"b.htm"};
    const std::string markup = WalkItems(page, kLinkedScalable).markup;
    EXPECT_EQ(markup.find("<A HREF"), markup.rfind("<A HREF"));
    EXPECT_LT(markup.find("<A HREF='b.htm'><IMG name='pageimageitem3~'"), std::string::npos);
}

// A copy that kept its original's words holds the original's id in its own ids, and a layout
// may list an id twice: each id is written once, from the entry that starts with it.
TEST(ItemWalk, EachIdIsWrittenOnceFromItsOwnEntry) {
    PageRecord page = PageWith(
        "<div id='pagetextitem1~' style='a'>|<div id='pagetextitem2~' style='b'>|"
        "<div id='pagetextitem1~' style='c'>");
    page.texts = {"pagetextitem2~<SPAN id='pagetextitem1~4'>Copy</SPAN>",
                  "pagetextitem1~<SPAN id='pagetextitem1~4'>Original</SPAN>"};
    const ItemWalkResult walk = WalkItems(page, kPlain);
    EXPECT_EQ(walk.markup,
              "<div id='pagetextitem1~' style='a'><SPAN id='pagetextitem1~4'>Original</SPAN></div>"
              "<div id='pagetextitem2~' style='b'><SPAN id='pagetextitem1~4'>Copy</SPAN></div>");
    EXPECT_EQ(walk.itemCount, 2);
    EXPECT_EQ(walk.dragList, ",'pagetextitem1~','pagetextitem2~',");
}

TEST(ItemWalk, IdInsideAnEntryIsFoundAndItsLengthIsCutFromTheFront) {
    PageRecord page = PageWith("<div id='pagetextitem2~' style='a'>");
    page.texts = {"xxpagetextitem2~HTML"};
    EXPECT_EQ(WalkItems(page, kPlain).markup, "<div id='pagetextitem2~' style='a'>2~HTML</div>");
}

TEST(ItemWalk, PictureOptionsShapeTheDragList) {
    PageRecord page = ItemPage();
    EXPECT_EQ(WalkItems(page, kPlain).dragList,
              ",'pagetextitem1~','pageimageitem417~','pageimageitem9~','pagetextitem3~',"
              "'pageimageitem5~',");
    ItemWalkOptions everything;
    everything.links = true;
    everything.scalablePictures = true;
    everything.pictureDivsInDragList = true;
    everything.skipDeletedPictures = true;
    const ItemWalkResult all = WalkItems(page, everything);
    EXPECT_EQ(all.dragList,
              ",'pagetextitem1~','pageimageitem417~'+SCALABLE,'dpageimageitem417~',"
              "'pagetextitem3~','pageimageitem5~'+SCALABLE,'dpageimageitem5~',");
    EXPECT_EQ(all.itemCount, 4);
    EXPECT_EQ(all.markup.find("DELETETHISFILE"), std::string::npos);
}

namespace {

// The entry the rule gives an id: the first usable one that starts with it, else the first
// usable one that holds it; the list's size when none does.
std::size_t EntryFor(const std::vector<std::string>& list, const std::string& id,
                     bool skipDeleted) {
    std::size_t holding = list.size();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].find(id) == std::string::npos ||
            (skipDeleted && list[i].find(kDeletedPicture) != std::string::npos)) {
            continue;
        }
        if (list[i].rfind(id, 0) == 0) {
            return i;
        }
        holding = std::min(holding, i);
    }
    return holding;
}

// The walk as the rule states it, an entry search per record, each id once: what the indexed
// walk must write, byte for byte.
ItemWalkResult SearchingWalk(const PageRecord& page, const ItemWalkOptions& options) {
    PageRecord one;
    ItemWalkResult result;
    if (page.stylesData.size() <= 6) {
        return result;
    }
    std::set<std::string> written;
    const auto append = [&](const ItemWalkResult& part) {
        result.markup += part.markup;
        result.dragList += part.dragList.substr(1);
        result.itemCount += part.itemCount;
    };
    for (const std::string& record : SplitFields(page.stylesData, "|")) {
        const std::string id = RecordId(record);
        if (id.empty() || !written.insert(id).second) {
            continue;
        }
        const std::size_t text = EntryFor(page.texts, id, false);
        if (text < page.texts.size()) {
            one = PageRecord();
            one.stylesData = record + "|<div id='none'>";
            one.texts = {page.texts[text]};
            append(WalkItems(one, options));
        }
        const std::size_t picture =
            id.size() > 1 ? EntryFor(page.pictures, id.substr(1), options.skipDeletedPictures)
                          : page.pictures.size();
        if (picture < page.pictures.size()) {
            one = PageRecord();
            one.stylesData = record + "|<div id='none'>";
            one.pictures = {page.pictures[picture]};
            one.links = {EntryAt(page.links, picture)};
            append(WalkItems(one, options));
        }
    }
    return result;
}

PageRecord ManyItems(int count) {
    PageRecord page;
    for (int i = 1; i <= count; ++i) {
        page.stylesData += (i > 1 ? "|" : "");
        if (i % 3 == 0) {
            const std::string name = PictureName(i);
            page.stylesData += "<div id='d" + name + "' style='top:" + std::to_string(i) + "px'>^" +
                               std::to_string(i) + "^20";
            page.pictures.push_back(name + "/pics/p" + std::to_string(i) + ".gif");
            page.links.push_back(i % 2 ? "http://example.com/" : "");
        } else {
            const std::string id = TextId(i);
            page.stylesData += "<div id='" + id + "' style='left:" + std::to_string(i) + "px'>";
            page.texts.push_back(id + "<P>Section " + std::to_string(i) + " ~ tilde</P>");
        }
    }
    // Entries that hold another item's id, a removed section, a deleted picture, a record
    // written twice and one of an id no entry has.
    page.texts.push_back("pagetextitem9999~<P>see pagetextitem1~ and pagetextitem2~</P>");
    page.texts.push_back(kRemovedItem);
    page.pictures.push_back(kDeletedPicture);
    page.links.push_back("");
    page.stylesData += "|<div id='pagetextitem1~' style='left:0'>|<div id='nothing~'>";
    return page;
}

}  // namespace

TEST(ItemWalk, TheIndexedWalkWritesWhatASearchPerRecordWrites) {
    ItemWalkOptions published;
    published.links = true;
    published.pictureAddress = [](const std::string& path) { return FileNameOf(path); };
    ItemWalkOptions editor;
    editor.scalablePictures = true;
    editor.pictureDivsInDragList = true;
    editor.skipDeletedPictures = true;
    for (const int count : {1, 200, 5000}) {
        const PageRecord page = ManyItems(count);
        for (const ItemWalkOptions& options : {published, editor, ItemWalkOptions{}}) {
            const ItemWalkResult indexed = WalkItems(page, options);
            const ItemWalkResult searched = SearchingWalk(page, options);
            EXPECT_EQ(indexed.markup, searched.markup) << count;
            EXPECT_EQ(indexed.dragList, searched.dragList) << count;
            EXPECT_EQ(indexed.itemCount, searched.itemCount) << count;
        }
    }
}
