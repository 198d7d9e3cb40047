#include "designer/editing/design_steps.h"

#include <gtest/gtest.h>

#include "designer/editing/element_operations.h"
#include "designer/pages/recovery.h"
#include "site/published_page.h"
#include "support/designer_fixture.h"

namespace {

class DesignStepsTest : public DesignerFixture {
  protected:
    DesignStepsTest() {
        std::filesystem::create_directories(working / "pics");
        WriteFile(working / "pics/sun.gif", "GIF 40 30");
        selectFolder(siteFolder());
        page().directory = siteFolder();
        page().fileName = "page.html";
        page().pageWidth = "800";
        page().pageContainer = PageContainerMarkup("800", "1000");
    }
    // The page as it would be published and stored: every byte the user could lose. The
    // counter is left out: it only ever grows, undo or not.
    std::string design() {
        PageRecord uncounted = page();
        uncounted.elementCount = 0;
        return PagePublisher(working.path(), prompts)
                   .pageText(page(), PublishVariant::Save, siteFolder()) +
               DesignText(uncounted);
    }
    void step(const std::function<void()>& action) { session.steps().perform(action); }

    ElementOperations operations{workspace(), session.writer(), clipboard,       prompts,
                                 pictures,    textEditor,       [] { return 5; }};
};

}  // namespace

TEST_F(DesignStepsTest, EveryChangeIsUndoneAndRedoneExactly) {
    std::vector<std::string> designs = {design()};
    std::vector<std::string> labels;
    const auto done = [&] {
        designs.push_back(design());
        labels.push_back(workspace().history.undoLabel());
    };
    // A drag handed over with the add command is a step of its own.
    page().stylesData = "<div id='pagetextitem9~' style='left:10px'>";
    designs = {design()};
    const std::string moved = "<div id='pagetextitem9~' style='left:40px'>";
    const PageRecord unmoved = page();
    page().stylesData = moved;
    designs.push_back(design());
    page() = unmoved;
    handOver(moved);
    prompts.openFileNames = {working / "pics/sun.gif"};
    step([&] { operations.addItem("addgraphic100~50"); });
    ASSERT_EQ(workspace().history.undoCount(), 2u);
    designs.push_back(design());
    labels = {"move", "add picture"};
    prompts.colours = {Rgb{1, 2, 3}};
    step([&] { operations.backgroundColour("body/"); });
    done();
    prompts.lengths = {std::string("1800")};
    step([&] { operations.pageLength(); });
    done();
    step([&] { operations.addItem("addtext10~20"); });
    textEditor.editorState.htmlText = "<P>new</P>";
    textEditor.editorState.rtfText = "{\\rtf1 new}";
    step([&] { operations.textDone(TextEditorState::kNewSection); });
    done();
    prompts.imagePropertyAnswers = {
        ImageProperties{working / "pics/sun.gif", "http://x.example/", std::nullopt}};
    step([&] { operations.editPicture("pageimageitem5~"); });
    done();
    step([&] { operations.deleteText("pagetextitem2~/"); });
    done();
    step([&] { page().pageTitle = "Retitled"; });
    done();
    EXPECT_EQ(labels, (std::vector<std::string>{"move", "add picture", "background", "page length",
                                                "add text section", "edit picture",
                                                "delete text section", "title"}));
    // The drag's own step sits between the page before and the picture added.
    ASSERT_EQ(designs.size(), labels.size() + 1);

    const int counted = page().elementCount;
    for (std::size_t i = labels.size(); i-- > 0;) {
        ASSERT_EQ(workspace().history.undoLabel(), labels[i]);
        session.steps().undo();
        EXPECT_EQ(design(), designs[i]) << "undo " << labels[i];
        EXPECT_EQ(page().elementCount, counted);
    }
    EXPECT_FALSE(workspace().history.canUndo());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        session.steps().redo();
        EXPECT_EQ(design(), designs[i + 1]) << "redo " << labels[i];
    }
    EXPECT_EQ(browser.addresses.back(), working / "quillscreen.html");
    EXPECT_EQ(workspace().caption, "Retitled");
}

TEST_F(DesignStepsTest, EachReportedDragIsAStepAndADeleteComesBackWhole) {
    const auto layout = [](int pictureLeft, bool withPicture) {
        return "<div id='pagetextitem1~' style='left:10px'>" +
               (withPicture ? "|<div id='dpageimageitem5~' style='position:absolute;top:5px;left:" +
                                  std::to_string(pictureLeft) + "px;Z-INDEX:2'>^40^30"
                            : std::string());
    };
    const auto drag = [&](const std::string& shown) {
        step([&] {
            handOver(shown);
            session.dispatcher().beforeNavigate("http://itemmoved/");
        });
    };
    page().texts = {"pagetextitem1~<P>a</P>"};
    page().textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
    page().richTexts = {"{\\rtf1 a}"};
    page().elementCount = 1;
    // A picture added is not in the record's layout yet: its first drag still counts.
    prompts.openFileNames = {working / "pics/sun.gif"};
    step([&] { operations.addItem("addgraphic100~50"); });
    drag(layout(60, true));
    drag(layout(80, true));
    drag(layout(80, true));
    EXPECT_EQ(workspace().history.undoCount(), 3u);
    const PageRecord beforeDelete = page();

    step([&] {
        handOver(layout(80, true));
        operations.deletePicture("pageimageitem5~");
    });
    EXPECT_TRUE(page().pictures.empty());
    // The page shown after the delete hands over a layout without the picture: no move.
    handOver(layout(0, false));
    session.steps().undo();
    EXPECT_EQ(workspace().history.redoLabel(), "delete picture");
    EXPECT_EQ(page().pictures, beforeDelete.pictures);
    EXPECT_EQ(page().links, beforeDelete.links);
    EXPECT_EQ(page().stylesData, layout(80, true));
    session.steps().redo();
    EXPECT_TRUE(page().pictures.empty());
    session.steps().undo();
    session.steps().undo();
    EXPECT_EQ(page().stylesData, layout(60, true));
    EXPECT_EQ(workspace().history.undoLabel(), "move");
}

TEST_F(DesignStepsTest, ASectionFinishedAfterAnUndoKeepsAnIdOfItsOwn) {
    const auto write = [&](const char* words, int mode = TextEditorState::kNewSection) {
        textEditor.editorState.htmlText = std::string("<P>") + words + "</P>";
        textEditor.editorState.rtfText = std::string("{\\rtf1 ") + words + "}";
        step([&] { operations.textDone(mode); });
    };
    prompts.lengths = {std::string("1500")};
    step([&] { operations.pageLength(); });
    step([&] { operations.addItem("addtext10~20"); });
    session.steps().undo();
    write("first");
    step([&] { operations.addItem("addtext10~90"); });
    write("second");
    ASSERT_EQ(page().texts.size(), 2u);
    const std::string first = ItemNameIn(page().texts[0]);
    const std::string second = ItemNameIn(page().texts[1]);
    EXPECT_NE(first, second);

    // Each is edited and deleted on its own.
    step([&] { operations.editText(first + "/"); });
    write("first, edited", TextEditorState::kExistingSection);
    EXPECT_EQ(page().texts,
              (std::vector<std::string>{first + "<P>first, edited</P>", second + "<P>second</P>"}));
    step([&] { operations.deleteText(second + "/"); });
    EXPECT_EQ(page().texts,
              (std::vector<std::string>{first + "<P>first, edited</P>", kRemovedItem}));
}

TEST_F(DesignStepsTest, TheHistoryIsBoundedAndStartsAfreshForAnotherPage) {
    for (int i = 0; i < 250; ++i) {
        step([&] { page().pageLength = std::to_string(1000 + i); });
    }
    EXPECT_EQ(workspace().history.undoCount(), PageHistory::kLimit);
    EXPECT_GE(PageHistory::kLimit, 100u);
    // A drag undone while its layout is handed over is undone first.
    page().stylesData = "<div id='x~' style='left:1px'>";
    handOver("<div id='x~' style='left:9px'>");
    session.steps().undo();
    EXPECT_EQ(workspace().history.redoLabel(), "move");
    EXPECT_EQ(page().pageLength, "1249");
    session.catalog().loadPage();
    EXPECT_FALSE(workspace().history.canUndo());
    EXPECT_FALSE(workspace().history.canRedo());
}

TEST(RecoveryFile, RoundTripsEveryByteAndRefusesWhatIsCutOrGarbage) {
    PageRecord page;
    page.directory = "/site/it's \"here\"";
    page.fileName = "page.html";
    page.stylesData = "a|b\nc\n\n";
    page.texts = {"one\n", "", "REMOVED_ITEM"};
    page.richTexts = {std::string("{\\rtf1 \0 x}", 11), "", ""};
    page.textProperties = {"p^^^^^NOJUSTIFY", "", ""};
    page.pictures = {"pageimageitem1~/a b.gif"};
    page.links = {""};
    page.elementCount = 42;
    const std::string text = DesignText(page);
    const std::optional<PageRecord> back = ParseDesignText(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(DesignText(*back), text);
    EXPECT_EQ(back->richTexts[0].size(), 11u);
    for (const std::string& spoilt :
         {text.substr(0, text.size() / 2), text.substr(0, text.size() - 1), std::string("junk"),
          std::string(""), text + "more"}) {
        EXPECT_FALSE(ParseDesignText(spoilt)) << spoilt.size();
    }
}

TEST_F(DesignStepsTest, ARecoveryFileIsOfferedRestoredDeclinedOrSetAside) {
    PageRecord crashed;
    crashed.directory = siteFolder();
    crashed.fileName = "lost.html";
    crashed.pageTitle = "Unsaved work";
    ASSERT_TRUE(WriteRecovery(working.path(), crashed));
    EXPECT_FALSE(std::filesystem::exists(working / ".recovery.qlr.part"));

    prompts.answers = {MessageAnswer::No};
    OfferRecovery(working.path(), session.store(), prompts);
    EXPECT_EQ(prompts.shown.back().text,
              "Quillora closed unexpectedly. Restore the unsaved changes to lost.html?");
    EXPECT_EQ(session.store().pageIdOf(siteFolder(), "lost.html"), "");
    EXPECT_FALSE(std::filesystem::exists(working / "recovery.qlr"));

    ASSERT_TRUE(WriteRecovery(working.path(), crashed));
    prompts.answers = {MessageAnswer::Yes};
    OfferRecovery(working.path(), session.store(), prompts);
    PageRecord restored;
    ASSERT_TRUE(session.store().loadPage(restored, siteFolder(), "lost.html"));
    EXPECT_EQ(restored.pageTitle, "Unsaved work");
    EXPECT_EQ(ReadFile(working / "lastsession.qlp"), siteFolder() + "|lost.html");
    EXPECT_FALSE(std::filesystem::exists(working / "recovery.qlr"));

    // A file that holds what the page's row holds has nothing to give; one that differs is
    // offered even when the store file was written after it (the uploader writes there too).
    prompts.shown.clear();
    restored.directory = siteFolder();
    restored.fileName = "lost.html";
    ASSERT_TRUE(WriteRecovery(working.path(), restored));
    OfferRecovery(working.path(), session.store(), prompts);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(working / "recovery.qlr"));
    crashed.pageTitle = "Later work";
    ASSERT_TRUE(WriteRecovery(working.path(), crashed));
    std::filesystem::last_write_time(
        working / "quilldata.db",
        std::filesystem::last_write_time(working / "recovery.qlr") + std::chrono::hours(1));
    prompts.answers = {MessageAnswer::No};
    OfferRecovery(working.path(), session.store(), prompts);
    EXPECT_EQ(prompts.shown.size(), 1u);

    // A restore the store cannot take keeps the file and says so.
    ASSERT_TRUE(WriteRecovery(working.path(), crashed));
    prompts.shown.clear();
    // The page's row cannot be read either: that "db error" comes first.
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    db.runStatement("drop table quillprojects");
    OfferRecovery(working.path(), session.store(), prompts);
    EXPECT_TRUE(std::filesystem::exists(working / "recovery.qlr"));
    EXPECT_EQ(prompts.shown.back().text,
              "The unsaved changes could not be stored. They stay in recovery.qlr in the working "
              "folder and are offered again at the next start.");

    // Damaged files are set aside one beside the other.
    for (const char* aside : {"recovery.damaged.qlr", "recovery.damaged-2.qlr"}) {
        WriteFile(working / "recovery.qlr",
                  std::string("QUILLORA RECOVERY 1\nDIRECTORY 99\n") + aside);
        prompts.shown.clear();
        OfferRecovery(working.path(), session.store(), prompts);
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::Ok);
        EXPECT_NE(prompts.shown[0].text.find(aside), std::string::npos);
    }
    EXPECT_EQ(ReadFile(working / "recovery.damaged.qlr"),
              "QUILLORA RECOVERY 1\nDIRECTORY 99\nrecovery.damaged.qlr");
}

// An item added and then moved, or left where it landed while another moves, comes back where
// it was added with one undo: the state "added, not yet moved" is a step of its own.
TEST_F(DesignStepsTest, UndoOfAMoveAfterAnAddKeepsTheAddedItemWhereItLanded) {
    const std::string older = "<div id='pagetextitem1~' style='left:10px;top:300px'>";
    const auto picture = [](int left, int top, const char* size = "^40^30") {
        return "<div id='dpageimageitem5~' style='position:absolute;top:" + std::to_string(top) +
               "px;left:" + std::to_string(left) + "px;Z-INDEX:2'>" + size;
    };
    const auto text = [](int left, int top) {
        return "<div id='pagetextitem2~' style='position: absolute; top: " + std::to_string(top) +
               "px; left: " + std::to_string(left) + "px; padding: 10px;'>";
    };
    const auto drag = [&](const std::string& shown) {
        step([&] {
            handOver(shown);
            session.dispatcher().beforeNavigate("http://itemmoved/");
        });
    };
    struct Case {
        const char* what;
        bool pictureAdded;
        std::string dragged;
        std::string landed;
        const char* label = "move";
    };
    // The add menu opened at (100, 50) puts an item at (63, 13).
    const Case cases[] = {
        {"the new picture dragged", true, older + "|" + picture(200, 120),
         older + "|" + picture(63, 13)},
        {"an older item dragged", true,
         "<div id='pagetextitem1~' style='left:70px;top:300px'>|" + picture(63, 13),
         older + "|" + picture(63, 13)},
        {"the new section dragged", false, older + "|" + text(240, 90), older + "|" + text(63, 13)},
        // A resize of the new picture is a step of its own, not part of the add.
        {"the new picture resized", true, older + "|" + picture(63, 13, "^20^15"),
         older + "|" + picture(63, 13), "resize"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        page() = PageRecord();
        page().directory = siteFolder();
        page().fileName = "page.html";
        page().texts = {"pagetextitem1~<P>older</P>"};
        page().textProperties = {"pagetextitem1~^#ffffff^^#008000^1px^NOJUSTIFY"};
        page().richTexts = {"{\\rtf1 older}"};
        page().elementCount = 1;
        page().stylesData = older;
        workspace().editor = EditorState();
        if (test.pictureAdded) {
            prompts.openFileNames = {working / "pics/sun.gif"};
            step([&] { operations.addItem("addgraphic100~50"); });
        } else {
            step([&] { operations.addItem("addtext100~50"); });
            textEditor.editorState.htmlText = "<P>new</P>";
            step([&] { operations.textDone(TextEditorState::kNewSection); });
        }
        const std::size_t added = workspace().history.undoCount();
        drag(test.dragged);
        EXPECT_EQ(workspace().history.undoLabel(), test.label);
        session.steps().undo();
        EXPECT_EQ(workspace().history.undoCount(), added);
        EXPECT_EQ(page().stylesData, test.landed);
        EXPECT_EQ(page().pictures.size(), test.pictureAdded ? 1u : 0u);
        EXPECT_EQ(page().texts.size(), test.pictureAdded ? 1u : 2u);
        session.steps().redo();
        EXPECT_EQ(page().stylesData, test.dragged);
    }
}
